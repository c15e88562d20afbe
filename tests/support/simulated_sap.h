// The simulated SAP side served in-process on a free port of 127.0.0.1, for tests of the
// sensor's RFC steps and runs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "saprfc.h"
#include "scenario.h"
#include "server.h"
#include "sim_log.h"

namespace tw::testing {

class SimulatedSap {
 public:
  /// Serves `scenario_text`, logging to `log_path`. A scenario that does not parse fails
  /// the test.
  SimulatedSap(std::string_view scenario_text, std::filesystem::path log_path)
      : log_path_(std::move(log_path)) {
    std::string error;
    EXPECT_TRUE(rfcsim::parse_scenario(scenario_text, "test.scenario", scenario_, error))
        << error;
    EXPECT_TRUE(log_.open(log_path_.string()));
    EXPECT_TRUE(server_.listen("127.0.0.1:0", error)) << error;
    thread_ = std::thread([this] { server_.run(); });
  }
  ~SimulatedSap() {
    RfcClose(0);
    server_.stop();
    thread_.join();
  }
  SimulatedSap(const SimulatedSap&) = delete;
  SimulatedSap& operator=(const SimulatedSap&) = delete;

  std::string port() const { return std::to_string(server_.port()); }

  /// What the simulator logged so far.
  std::string log() const {
    std::ifstream in(log_path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path log_path_;
  rfcsim::Scenario scenario_;
  rfcsim::SimLog log_;
  rfcsim::Server server_{scenario_, &log_};
  std::thread thread_;
};

}  // namespace tw::testing
