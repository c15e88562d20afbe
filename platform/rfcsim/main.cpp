// Process entry of rfcsim, the simulated SAP side: reads the scenario, listens, announces
// the port and serves until SIGTERM or SIGINT (Ctrl+C on Windows).
#include <cstdio>
#include <string>

#include "command_line.h"
#include "net.h"
#include "scenario.h"
#include "server.h"
#include "sim_log.h"
#include "sim_os.h"

namespace {

tw::rfcsim::Server* running_server = nullptr;

/*
 * A request to stop (a signal, or Ctrl+C): ends the server's run.
 */
void stop_running_server() {
  if (running_server != nullptr) running_server->stop();
}

/*
 * Writes the port and a line feed to `path` through a temporary name and a rename, so
 * that a reader never sees a partial file.
 */
bool write_port_file(const std::string& path, unsigned port) {
  const std::string temporary = path + ".tmp." + std::to_string(tw::rfclib::net::process_id());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fprintf(file, "%u\n", port) > 0;
  if (std::fclose(file) != 0 || !written) {
    std::remove(temporary.c_str());
    return false;
  }
  // Windows renames onto no existing file.
  if (std::rename(temporary.c_str(), path.c_str()) != 0 &&
      (std::remove(path.c_str()) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

/*
 * Prints "rfcsim: MESSAGE" on standard error and returns `status`.
 */
int fail(const std::string& message, int status) {
  std::fprintf(stderr, "rfcsim: %s\n", message.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tw::rfcsim;
  Options options;
  std::string error;
  if (!parse_command_line(argc, argv, options, error)) {
    std::fprintf(stderr, "rfcsim: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Scenario scenario;
  if (!load_scenario(options.scenario, scenario, error)) return fail(error, 2);
  SimLog log;
  if (!options.log_file.empty() && !log.open(options.log_file))
    return fail("cannot open the log file '" + options.log_file + "'", 2);

  Server server(scenario, options.log_file.empty() ? nullptr : &log);
  running_server = &server;
  tw::rfcsim::os::on_stop_request(stop_running_server);
  if (!server.listen(options.listen, error))
    return fail("cannot listen on " + options.listen + ": " + error, 1);
  if (!options.port_file.empty() && !write_port_file(options.port_file, server.port()))
    return fail("cannot write the port file '" + options.port_file + "'", 1);
  server.run();
  running_server = nullptr;
  return 0;
}
