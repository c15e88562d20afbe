// The simulated SAP side served in-process, for the tests of both libraries.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <string_view>

#include "scenario.h"
#include "server.h"
#include "sim_log.h"

namespace tw::rfcsim {

/// The simulator serving a scenario on a free port of 127.0.0.1, logging to "sim.log" in the
/// working directory.
class InProcessSimulator {
 public:
  explicit InProcessSimulator(std::string_view scenario_text) {
    std::string error;
    EXPECT_TRUE(parse_scenario(scenario_text, "test.scenario", scenario_, error)) << error;
    EXPECT_TRUE(log_.open("sim.log"));
    EXPECT_TRUE(server_.listen("127.0.0.1:0", error)) << error;
    done_ = std::async(std::launch::async, [this] { server_.run(); });
  }
  ~InProcessSimulator() { EXPECT_TRUE(stop()); }

  /* Stops the server; false when it did not end within 5 s. */
  bool stop() {
    server_.stop();
    return done_.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  }
  std::string service() const { return std::to_string(server_.port()); }

 private:
  Scenario scenario_;
  SimLog log_;
  Server server_{scenario_, &log_};
  std::future<void> done_;
};

}  // namespace tw::rfcsim
