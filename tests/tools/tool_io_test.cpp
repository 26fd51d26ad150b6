// The wheelsoil program where the system gets in the way: too little memory,
// a signal during a long run, input that cannot be read, output that cannot
// be written, more threads than there is work or hardware for. Each ends
// with its documented status and a "wheelsoil: " message, never an abort.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

std::string stem() {
  static int runs = 0;
  return testing::TempDir() + "wheelsoil_io_" + std::to_string(getpid()) + "_" +
         std::to_string(++runs);
}

std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs `shell` (which names the tool as $T) under bash; standard output and
// error are captured unless shell redirects them.
ToolRun run_shell(const std::string &shell) {
  const std::string base = stem(), out = base + "_out.txt", err = base + "_err.txt";
  const std::string command = "T='" + std::string(WHEELSOIL_TOOL) + "' bash -c '" + shell +
                              "' > '" + out + "' 2> '" + err + "'";
  const int raw = std::system(command.c_str());
  ToolRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  std::remove(out.c_str());
  std::remove(err.c_str());
  return r;
}

// A file of `rows` identical lines.
std::string write_rows(const std::string &line, std::size_t rows) {
  const std::string path = stem() + "_rows.txt";
  std::ofstream f(path, std::ios::binary);
  std::string block;
  for (int k = 0; k < 1000; ++k) block += line;
  for (std::size_t k = 0; k < rows / 1000; ++k) f << block;
  for (std::size_t k = 0; k < rows % 1000; ++k) f << line;
  return path;
}

std::string repeat(const char *value, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += std::string(k ? " " : "") + value;
  return s + "\n";
}

// A rover wheel in dry sand: an operating point exists at 50 N.
const std::string wheel_header =
    "radius,width,centre_height,soil_density,cohesion,friction_angle,sinkage_exponent,k_c,k_phi,"
    "kx,ky,c1,c2,c3,c4,gravity,vx,wy\n";
const std::string wheel_row =
    "0.13,0.16,0.12,1600,1040,0.48869219055841229,1.1,990,1528430,0.025,0.025,0.4,0.15,0.1,0,"
    "9.81,0.08,0.76923076923076927\n";

void expect_message_not_abort(const ToolRun &r) {
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err.rfind("wheelsoil: ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.find("terminate"), std::string::npos) << r.err;
}

TEST(ToolMemory, AMillionPindrelRowsInTooLittleMemory) {
  const std::string rows = write_rows(repeat("0.25", 20), 1000000);
  const ToolRun r = run_shell("ulimit -v 150000; exec \"$T\" pindrel " + rows);
  expect_message_not_abort(r);
  EXPECT_EQ(r.out, "");
  std::remove(rows.c_str());
}

TEST(ToolMemory, OperatingPointsOnTwoThreadsInTooLittleMemory) {
  std::string table = wheel_header;
  for (int k = 0; k < 20000; ++k) table += wheel_row;
  const std::string path = stem() + "_wheels.csv";
  std::ofstream(path) << table;
  const ToolRun r =
      run_shell("ulimit -v 40000; exec \"$T\" equilibrium --load 50 --threads 2 < " + path);
  expect_message_not_abort(r);
  std::remove(path.c_str());
}

TEST(ToolMemory, ResultsThatDoNotFitFailBeforeTheWork) {
  // 20 doubles of input a row, 18 of results: the input fits, the results not.
  const std::string rows = write_rows(repeat("0", 29), 400000);
  const ToolRun r = run_shell("ulimit -v 160000; exec \"$T\" talvor " + rows);
  expect_message_not_abort(r);
  EXPECT_NE(r.err.find("out of memory"), std::string::npos) << r.err;
  std::remove(rows.c_str());
}

// Every way the input cannot be read has its reason, the same for each model.
TEST(ToolInput, EveryFailureToReadSaysWhy) {
  for (const char *command : {"talvor", "pindrel", "equilibrium --load 5"}) {
    const ToolRun folder = run_shell(std::string("exec \"$T\" ") + command + " /");
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "wheelsoil: /: cannot read: Is a directory\n") << command;
    const ToolRun closed = run_shell(std::string("exec \"$T\" ") + command + " <&-");
    EXPECT_EQ(closed.status, 1);
    EXPECT_EQ(closed.err,
              "wheelsoil: standard input: cannot read: Bad file descriptor (standard input is "
              "closed)\n")
        << command;
    const ToolRun missing = run_shell(std::string("exec \"$T\" ") + command + " /no/such/file");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "wheelsoil: /no/such/file: cannot open: No such file or directory\n");
  }
}

TEST(ToolInput, AByteOrderMarkIsSkippedAndUtf16Refused) {
  const std::string path = stem() + "_bom.csv";
  std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" + wheel_header + wheel_row;
  const ToolRun marked = run_shell("exec \"$T\" talvor " + path);
  std::ofstream(path, std::ios::binary) << wheel_header + wheel_row;
  const ToolRun plain = run_shell("exec \"$T\" talvor " + path);
  ASSERT_EQ(marked.status, 0) << marked.err;
  EXPECT_EQ(marked.out, plain.out);
  std::ofstream(path, std::ios::binary) << std::string("\xFF\xFEr\0a\0d\0", 8);
  const ToolRun utf16 = run_shell("exec \"$T\" talvor " + path);
  EXPECT_EQ(utf16.status, 1);
  EXPECT_EQ(utf16.err,
            "wheelsoil: line 1: the input is UTF-16 text; save it as UTF-8 or plain "
            "ASCII\n");
  std::remove(path.c_str());
}

// A full device refuses every kind of output, and the tool says so.
TEST(ToolOutput, AFullDeviceFailsEveryWrite) {
  const std::string path = stem() + "_row.txt";
  std::ofstream(path) << repeat("0.25", 20);
  for (const std::string &args :
       {std::string("--version"), std::string("--help"), std::string("talvor --help"),
        std::string("slots talvor"), "pindrel " + path, "--threads 2 pindrel " + path}) {
    const ToolRun r = run_shell("exec \"$T\" " + args + " > /dev/full");
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << args << ": " << r.err;
  }
  std::remove(path.c_str());
}

// More threads than the work or the machine are not started: the run is as
// quick as on one, and the bits are the same.
TEST(ToolThreads, MoreThreadsThanWorkAreClamped) {
  const std::string path = stem() + "_two.txt";
  std::ofstream(path) << repeat("0.25", 20) << repeat("0.5", 20);
  const ToolRun one = run_shell("exec \"$T\" pindrel --threads 1 " + path);
  const ToolRun many = run_shell("exec \"$T\" --threads 1024 pindrel " + path);
  const ToolRun huge = run_shell("exec \"$T\" pindrel --threads 99999 " + path);
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(many.status, 0) << many.err;
  EXPECT_EQ(many.out, one.out);
  EXPECT_EQ(huge.out, one.out);
  std::remove(path.c_str());
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
  const int fifo = open(in.c_str(), O_WRONLY);
  ASSERT_GE(fifo, 0);
  for (std::size_t written = 0; written < table.size();) {
    const ssize_t n = write(fifo, table.data() + written, table.size() - written);
    ASSERT_GT(n, 0);
    written += std::size_t(n);
  }
  close(fifo);
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
