// One client connection of the simulated system: what it answers to each message.
#pragma once

#include <string>
#include <vector>

#include "scenario.h"
#include "sim_log.h"
#include "wire.h"

namespace tw::rfcsim {

/// One thing the server does for a session.
struct Action {
  enum class Kind {
    kSend,          ///< send `bytes`
    kWaitForClose,  ///< answer nothing more; wait until the client closes
    kClose,         ///< close the connection at once
  };
  Kind kind = Kind::kSend;
  std::string bytes;
};

/*
 * The state of one connection: before the logon, logged on, or logged on with credentials
 * that the first call will reject.
 */
class Session {
 public:
  /*
   * `log` may be NULL.
   */
  Session(const Scenario& scenario, SimLog* log) : scenario_(scenario), log_(log) {}

  /*
   * The actions for one message from the client, in order. Logs "LOGON ..." for a logon
   * and "CALL NAME" for a call; a lookup of an interface is logged nowhere. Anything but a
   * logon first, or a second logon, closes the connection.
   */
  std::vector<Action> on_message(const wire::Message& message);

 private:
  /*
   * A logon: refused for an unknown system; a logon fault; else accepted, with rejected
   * credentials refused now (check_now) or remembered for the first call.
   */
  std::vector<Action> on_logon(const wire::Logon& logon);
  /*
   * A call: the remembered rejection, the step's fault, the function's reply, or the
   * exception FUNCTION_NOT_FOUND.
   */
  std::vector<Action> on_call(const wire::Call& call);
  /*
   * A lookup of an interface: the remembered rejection, the interface, or the exception
   * FU_NOT_FOUND. No fault of the scenario strikes here.
   */
  std::vector<Action> on_describe(const wire::Describe& describe);
  /*
   * The answer to anything after a logon whose credentials were rejected.
   */
  std::vector<Action> rejection() const;

  const Scenario& scenario_;
  SimLog* log_;
  const System* system_ = nullptr;
  bool rejected_ = false;  ///< credentials rejected, to be told at the first call
  std::string rejection_text_;
};

/*
 * The actions of a fault (a reject: the refused logon).
 */
std::vector<Action> fault_actions(const Fault& fault);

/*
 * Bytes that are no frame at all.
 */
std::string garbage_bytes();

}  // namespace tw::rfcsim
