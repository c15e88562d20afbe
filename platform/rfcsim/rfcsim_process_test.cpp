// The rfcsim program itself: port file, log, the demo scenario, signals, exit statuses.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rfclib/test_support.h"
#include "saprfc.h"

extern char** environ;

namespace {

using tw::testing::LibraryReset;
using tw::testing::ScratchDirectory;
using tw::testing::read_file;

/// A running rfcsim with its standard error in "rfcsim.err".
class Process {
 public:
  explicit Process(std::vector<std::string> args) {
    args.insert(args.begin(), RFCSIM_PROGRAM);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "rfcsim.err", O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    EXPECT_EQ(posix_spawn(&pid_, RFCSIM_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Process() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  /* The exit status once the process ended within `seconds`; -1 when it did not. */
  int wait(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!status_ && std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_)
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_ ? *status_ : -1;
  }
  void signal(int number) { ::kill(pid_, number); }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

/* The content of the port file once it appears (within 10 s). */
std::string wait_for_port_file(const char* path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string text = read_file(path);
    if (!text.empty()) return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "";
}

TEST(RfcsimProgram, ServesTheDemoScenarioAndEndsCleanlyOnSigterm) {
  ScratchDirectory scratch;
  LibraryReset reset;
  Process sim({"--listen", "127.0.0.1:0", "--port-file", "port", "--log", "sim.log",
               RFCSIM_DEMO_SCENARIO});
  const std::string port_text = wait_for_port_file("port");
  ASSERT_FALSE(port_text.empty()) << read_file("rfcsim.err");
  ASSERT_EQ(port_text.back(), '\n');
  const std::string port = port_text.substr(0, port_text.size() - 1);
  EXPECT_EQ(port.find_first_not_of("0123456789"), std::string::npos);

  tw::testing::OpenOptions options("SAPQAS", 0, "127.0.0.1", port, "200", "monitor     ",
                                   "Qas2Mon   ");
  const RFC_HANDLE handle = RfcOpen(options.get());
  ASSERT_NE(handle, 0u);
  char function[] = "ADA_LOG_STATISTICS";
  char name[] = "SHOWMONILOG";
  ITAB_H rows = ItCreate(name, 66, 0, 0);
  RFC_TABLE tables[] = {{name, 11, TYPC, 66, rows, RFC_ITMODE_BYREFERENCE, 0},
                        {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
  ASSERT_EQ(RfcCall(handle, function, nullptr, tables), RFC_OK);
  ASSERT_EQ(RfcReceive(handle, nullptr, tables, nullptr), RFC_OK);
  ASSERT_EQ(ItFill(rows), 10u);
  EXPECT_EQ(std::string(static_cast<char*>(ItGetLine(rows, 6)), 66),
            "Log queue overflows" + std::string(21, ' ') + "317" + std::string(23, ' '));
  ItDelete(rows);
  RfcClose(handle);

  sim.signal(SIGTERM);
  EXPECT_EQ(sim.wait(10), 0);
  EXPECT_EQ(read_file("sim.log"),
            "LOGON client=[200] user=[monitor     ] lang=[E] ashost=[SAPQAS] sysnr=[00]\n"
            "CALL ADA_LOG_STATISTICS\n");
  EXPECT_EQ(read_file("rfcsim.err"), "");
}

TEST(RfcsimProgram, EndsOnSigintWithAConnectionStillOpen) {
  ScratchDirectory scratch;
  LibraryReset reset;
  Process sim({"--listen", "127.0.0.1:0", "--port-file", "port", RFCSIM_DEMO_SCENARIO});
  const std::string port_text = wait_for_port_file("port");
  ASSERT_FALSE(port_text.empty());
  tw::testing::OpenOptions options("sapdev", 0, "127.0.0.1", port_text.substr(0, port_text.size() - 1),
                                   "100", "MONITOR", "DevMon");
  const RFC_HANDLE handle = RfcOpen(options.get());
  ASSERT_NE(handle, 0u);
  sim.signal(SIGINT);
  EXPECT_EQ(sim.wait(10), 0);
}

TEST(RfcsimProgram, BadScenarioNamesFileAndLine) {
  ScratchDirectory scratch;
  tw::testing::write_file("bad.scenario", "[system A]\nashost = a\nsysnr = 00\nfault = logon boom\n");
  Process sim({"--port-file", "port", "bad.scenario"});
  EXPECT_EQ(sim.wait(10), 2);
  EXPECT_EQ(read_file("rfcsim.err"), "rfcsim: bad.scenario:4: unknown fault kind 'boom'\n");
  EXPECT_FALSE(std::filesystem::exists("port"));
}

TEST(RfcsimProgram, BadCommandLineAndMissingFileEndWithStatus2) {
  ScratchDirectory scratch;
  {
    Process sim({"--listen"});
    EXPECT_EQ(sim.wait(10), 2);
    EXPECT_NE(read_file("rfcsim.err").find("usage: rfcsim"), std::string::npos);
  }
  {
    Process sim({"missing.scenario"});
    EXPECT_EQ(sim.wait(10), 2);
    EXPECT_EQ(read_file("rfcsim.err"), "rfcsim: missing.scenario: cannot be read\n");
  }
}

}  // namespace
