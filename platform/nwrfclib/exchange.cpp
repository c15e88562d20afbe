#include "exchange.h"

#include "partner_errors.h"
#include "timeouts.h"

namespace tw::nwrfclib {

bool exchange(Session& session, const wire::Message& request, const std::string& what,
              wire::Message& answer, rfclib::Trouble& trouble) {
  std::string frame;
  std::string error;
  if (!wire::encode(request, frame, error)) {
    trouble = {.kind = rfclib::Trouble::Kind::kBadRequest,
               .text = what + " cannot be sent: " + error};
    return false;
  }
  const rfclib::net::Deadline deadline = rfclib::deadline_after(rfclib::call_timeout());
  rfclib::Connection& link = *session.link;
  rfclib::Transfer transfer = link.send(frame, deadline);
  if (transfer.kind == rfclib::Transfer::Kind::kOk) transfer = link.receive(answer, deadline);
  if (transfer.kind == rfclib::Transfer::Kind::kOk) return true;
  trouble = rfclib::transfer_trouble(transfer, what, link.partner());
  return false;
}

RFC_RC fail_request(RFC_CONNECTION_HANDLE handle, const rfclib::Trouble& trouble,
                    RFC_ERROR_INFO* info) {
  bool closes = false;
  const Error error = call_error(trouble, closes);
  if (closes) end_session(handle);
  return report(info, error);
}

}  // namespace tw::nwrfclib
