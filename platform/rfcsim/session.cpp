#include "session.h"

#include <optional>
#include <variant>

#include "answers.h"

namespace tw::rfcsim {

namespace {

inline constexpr const char* kRejectedLogon = "Name or password is incorrect (repeat logon)";

/*
 * The action that sends a message.
 */
Action send(const wire::Message& message) {
  std::string frame;
  std::string error;
  // Every message built here keeps within the limits; a breach is a fault of the scenario
  // reader, answered with a garbled frame rather than nothing.
  if (!wire::encode(message, frame, error)) frame = garbage_bytes();
  return {Action::Kind::kSend, std::move(frame)};
}

/*
 * The action that waits for the client to close.
 */
Action wait_for_close() { return {Action::Kind::kWaitForClose, {}}; }

}  // namespace

std::string garbage_bytes() { return "this is no frame of any kind\n"; }

std::vector<Action> fault_actions(const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::kFailure:
    case FaultKind::kException:
    case FaultKind::kSysException:
    case FaultKind::kCode:
      return {send(wire::Fault{fault.code, fault.exception, fault.text})};
    case FaultKind::kDrop:
      return {{Action::Kind::kClose, {}}};
    case FaultKind::kHang:
      return {wait_for_close()};
    case FaultKind::kAbort:
      return {send(wire::Abort{fault.text}), wait_for_close()};
    case FaultKind::kGarbage:
      return {{Action::Kind::kSend, garbage_bytes()}, wait_for_close()};
    case FaultKind::kReject:
      break;  // handled by the logon
  }
  return {send(wire::LogonRefused{wire::RefusalReason::kLogonRejected,
                                  fault.text.empty() ? kRejectedLogon : fault.text}),
          wait_for_close()};
}

std::vector<Action> Session::on_message(const wire::Message& message) {
  if (const auto* logon = std::get_if<wire::Logon>(&message)) {
    if (system_ == nullptr) return on_logon(*logon);
  } else if (const auto* call = std::get_if<wire::Call>(&message)) {
    if (system_ != nullptr) return on_call(*call);
  } else if (const auto* describe = std::get_if<wire::Describe>(&message)) {
    if (system_ != nullptr) return on_describe(*describe);
  }
  return {{Action::Kind::kClose, {}}};
}

std::vector<Action> Session::on_logon(const wire::Logon& logon) {
  if (log_ != nullptr)
    log_->line("LOGON client=[" + logon.client + "] user=[" + logon.user + "] lang=[" +
               logon.language + "] ashost=[" + logon.ashost + "] sysnr=[" + logon.sysnr + "]");
  system_ = find_system(scenario_, logon.ashost, logon.sysnr);
  if (system_ == nullptr)
    return {send(wire::LogonRefused{wire::RefusalReason::kUnknownSystem, {}}), wait_for_close()};
  const auto fault = system_->faults.find(Step::kLogon);
  if (fault != system_->faults.end() && fault->second.kind != FaultKind::kReject)
    return fault_actions(fault->second);
  if (fault != system_->faults.end() || !logon_accepted(*system_, logon)) {
    rejection_text_ = fault != system_->faults.end() && !fault->second.text.empty()
                          ? fault->second.text
                          : kRejectedLogon;
    if (logon.check_now)
      return {send(wire::LogonRefused{wire::RefusalReason::kLogonRejected, rejection_text_}),
              wait_for_close()};
    rejected_ = true;
  }
  return {send(wire::LogonAccepted{system_->sysid})};
}

std::vector<Action> Session::rejection() const {
  return {send(wire::LogonRefused{wire::RefusalReason::kLogonRejected, rejection_text_}),
          wait_for_close()};
}

std::vector<Action> Session::on_describe(const wire::Describe& describe) {
  if (rejected_) return rejection();
  if (std::optional<wire::Interface> found = function_interface(describe.function))
    return {send(*found)};
  return {send(wire::Fault{wire::kCodeException, "FU_NOT_FOUND", {}})};
}

std::vector<Action> Session::on_call(const wire::Call& call) {
  if (log_ != nullptr) log_->line("CALL " + call.function);
  if (rejected_) return rejection();
  Step step;
  if (call.function == "RFC_SYSTEM_INFO") {
    step = Step::kSystemInfo;
  } else if (call.function == "ADA_LOG_STATISTICS") {
    step = Step::kLogStatistics;
  } else {
    return {send(wire::Fault{2, "FUNCTION_NOT_FOUND", {}})};
  }
  const auto fault = system_->faults.find(step);
  if (fault != system_->faults.end()) return fault_actions(fault->second);
  return {send(step == Step::kSystemInfo ? system_info_reply(*system_)
                                         : log_statistics_reply(*system_))};
}

}  // namespace tw::rfcsim
