// The wheelsoil program where the system gets in the way: too little memory,
// input that cannot be read, output that cannot be written, more threads
// than there is work or hardware for. Each ends with its documented status
// and a "wheelsoil: " message, never an abort.
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

#include "tool_io.h"
#include "tool_run.h"

// A tool built with a sanitizer reserves more address space than the
// memory limits below leave it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOOL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TOOL_SANITIZED 1
#endif
#endif

namespace {

using namespace tool_run;

void expect_message_not_abort(const ToolRun &r) {
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err.rfind("wheelsoil: ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.find("terminate"), std::string::npos) << r.err;
}

TEST(ToolMemory, AMillionPindrelRowsInTooLittleMemory) {
#ifdef TOOL_SANITIZED
  GTEST_SKIP() << "the sanitizer's runtime needs more address space than the limit leaves";
#endif
  const std::string rows = write_rows(repeat("0.25", 20), 1000000);
  const ToolRun r = run_shell("ulimit -v 150000; exec \"$T\" pindrel " + rows);
  expect_message_not_abort(r);
  EXPECT_EQ(r.out, "");
  std::remove(rows.c_str());
}

TEST(ToolMemory, OperatingPointsOnTwoThreadsInTooLittleMemory) {
#ifdef TOOL_SANITIZED
  GTEST_SKIP() << "the sanitizer's runtime needs more address space than the limit leaves";
#endif
  std::string table = wheel_header;
  for (int k = 0; k < 20000; ++k) table += wheel_row;
  const std::string path = stem() + "_wheels.csv";
  std::ofstream(path) << table;
  const ToolRun r =
      run_shell("ulimit -v 40000; exec \"$T\" equilibrium --load 50 --threads 2 < " + path);
  expect_message_not_abort(r);
  std::remove(path.c_str());
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

TEST(FittedThreads, NeverMoreThanTheHardwareOrTheWork) {
  using wheelsoil::detail::cli::fitted_threads;
  const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
  EXPECT_EQ(fitted_threads(0, 1000000), hardware);
  EXPECT_EQ(fitted_threads(1024, 1000000), hardware);
  EXPECT_EQ(fitted_threads(1, 1000000), 1u);
  EXPECT_EQ(fitted_threads(1024, 2), std::min(2u, hardware));
  EXPECT_EQ(fitted_threads(0, 1), 1u);
  EXPECT_EQ(fitted_threads(8, 0), 1u);  // no work: the calling thread alone
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

}  // namespace
