// The wheelsoil program during long runs: the progress line on a terminal,
// and SIGINT and SIGTERM, which stop a run with the results finished so far.
// Each case runs for seconds, so these are hardening tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "tool_run.h"

namespace {

using namespace tool_run;

// On a terminal's standard error a run of a second or more shows its progress
// and erases it at the end, unless asked not to; the results are the same.
TEST(ToolProgress, OnATerminalUnlessAskedNot) {
  if (std::system("command -v script > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "no script(1) to give the tool a terminal";
  // A tilted wheel, whose strips all differ: 40,000 plain calls take seconds
  // even where the untilted wheel's reuse makes them a few microseconds each.
  std::string table = wheel_header.substr(0, wheel_header.size() - 1) + ",tilt_sine\n";
  const std::string row = wheel_row.substr(0, wheel_row.size() - 1) + ",0.1\n";
  for (int k = 0; k < 40000; ++k) table += row;
  const std::string base = stem(), in = base + "_in.csv", out = base + "_out.csv";
  std::ofstream(in) << table;
  // script(1) runs the tool on a terminal and copies what it shows, for as
  // long as its own input stays open.
  auto on_terminal = [&](const std::string &options) {
    return run_shell("exec 3< <(exec sleep 60); s=$!; script -qec \"\\\"$T\\\" talvor " + options +
                     " " + in + " > " + out + "\" /dev/null <&3; r=$?; kill $s; exit $r");
  };
  const ToolRun shown = on_terminal("");
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out.rfind("\rwheelsoil: ", 0), 0u) << shown.out;
  EXPECT_NE(shown.out.find(" of 40000 vectors"), std::string::npos) << shown.out;
  EXPECT_EQ(shown.out.substr(shown.out.size() - 4), "\r\033[K");
  const std::string results = slurp(out);
  EXPECT_EQ(std::count(results.begin(), results.end(), '\n'), 40001);
  for (const char *option : {"--threads 2 --no-progress", "--quiet --threads 2"}) {
    const ToolRun hidden = on_terminal(option);
    EXPECT_EQ(hidden.status, 0);
    EXPECT_EQ(hidden.out, "") << option;
    EXPECT_EQ(slurp(out), results) << option;
  }
  for (const std::string &f : {in, out}) std::remove(f.c_str());
}

// Starts the tool with args, input from in_path, output to out_path.
pid_t start_tool(const std::vector<std::string> &args, const std::string &in_path,
                 const std::string &out_path, const std::string &err_path) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0), dup2(out, 1), dup2(err, 2);
    std::vector<char *> argv{const_cast<char *>(WHEELSOIL_TOOL)};
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(WHEELSOIL_TOOL, argv.data());
    _exit(127);
  }
  return pid;
}

// The exit status of pid within `limit`, or -1 (the process is then killed).
int wait_for(pid_t pid, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int raw = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, &raw, WNOHANG) == pid) return WIFEXITED(raw) ? WEXITSTATUS(raw) : -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &raw, 0);
  return -1;
}

struct Stop {
  int signal_number;
  std::vector<std::string> args;
  int rows;  // seconds of work at least
};

class ToolStops : public testing::TestWithParam<Stop> {};

// A run of seconds or minutes stops within seconds of the signal, with 128 + its number,
// and the results finished by then are written: a prefix of whole rows.
TEST_P(ToolStops, PromptlyWithTheFinishedResults) {
  const Stop &s = GetParam();
  std::string table = wheel_header;
  for (int k = 0; k < s.rows; ++k) table += wheel_row;
  const std::string base = stem(), in = base + "_in.fifo", out = base + "_out.csv",
                    err = base + "_err.txt";
  // The input through a pipe: once it is written, the work has begun.
  ASSERT_EQ(mkfifo(in.c_str(), 0600), 0);
  const pid_t pid = start_tool(s.args, in, out, err);
  ASSERT_GT(pid, 0);
  // A tool that ends early closes the pipe: a failed write, not SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  const int fifo = open(in.c_str(), O_WRONLY);
  EXPECT_GE(fifo, 0);
  for (std::size_t written = 0; fifo >= 0 && written < table.size();) {
    const ssize_t n = write(fifo, table.data() + written, table.size() - written);
    if (n <= 0) {
      ADD_FAILURE() << "the tool stopped reading its input";
      break;
    }
    written += std::size_t(n);
  }
  if (fifo >= 0) close(fifo);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, s.signal_number);
  EXPECT_EQ(wait_for(pid, std::chrono::seconds(20)), 128 + s.signal_number);
  const std::string text = slurp(out), message = slurp(err);
  EXPECT_NE(message.find("wheelsoil: stopped by signal " + std::to_string(s.signal_number)),
            std::string::npos)
      << message;
  if (!text.empty()) {
    EXPECT_EQ(text.back(), '\n');
    EXPECT_LT(std::count(text.begin(), text.end(), '\n'), s.rows + 1);
  }
  for (const std::string &f : {in, out, err}) std::remove(f.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Signals, ToolStops,
    testing::Values(Stop{SIGINT, {"talvor"}, 200000},
                    Stop{SIGTERM, {"talvor", "--threads", "2"}, 200000},
                    Stop{SIGTERM, {"equilibrium", "--load", "50", "--threads", "2"}, 20000},
                    Stop{SIGINT, {"--threads=1", "equilibrium", "--load", "50"}, 20000}),
    [](const testing::TestParamInfo<Stop> &param_info) {
      const Stop &s = param_info.param;
      return std::string(s.signal_number == SIGINT ? "sigint_" : "sigterm_") +
             std::to_string(param_info.index);
    });

}  // namespace
