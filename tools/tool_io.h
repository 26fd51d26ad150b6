// What the tool's commands share beyond the parser: input read from a FILE or
// standard input with a reason for every failure, output written with the
// system's reason when it is refused, SIGINT and SIGTERM turned into a
// request to stop, the progress line, and thread counts fitted to the machine.
#ifndef WHEELSOIL_TOOLS_TOOL_IO_H
#define WHEELSOIL_TOOLS_TOOL_IO_H

#include <chrono>
#include <cstddef>
#include <streambuf>
#include <string>
#include <vector>

#include "command.h"
#include "slot_tables.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

// A stream buffer over a file descriptor that keeps the errno of a failed
// read or write. A read interrupted by a signal that asks the tool to stop
// fails with EINTR; other interrupted calls are repeated.
class FdBuffer : public std::streambuf {
 public:
  explicit FdBuffer(int fd, bool owned = false);
  ~FdBuffer() override;
  FdBuffer(const FdBuffer &) = delete;
  FdBuffer &operator=(const FdBuffer &) = delete;
  int error() const { return error_; }

 protected:
  int_type underflow() override;
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char *s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain();
  int fd_;
  bool owned_;
  int error_ = 0;
  std::vector<char> in_, out_;
};

// ": reason" for the error that a buffer of the tool keeps, or "" when
// buffer is another kind or kept none.
std::string system_reason(const std::streambuf *buffer);

// Reads the input vectors of model from file ("" or "-": the command's
// standard input). On a refusal writes "wheelsoil: ..." to err and returns
// exit_bad_input (exit status of a stop: stop_status()).
int read_input(Context &context, const std::string &file, const ModelTable &model,
               InputVectors *vectors);

// The whole text of file ("" or "-": standard input), as read_input reads.
int read_text(Context &context, const std::string &file, std::string *text);

// Writes text to the command's standard output and flushes it; on a failure
// says why and returns exit_bad_input.
int write_output(Context &context, const std::string &text);

// A failure of the library's batch (a wheelsoil_status other than OK and
// STOPPED) in the tool's words; returns exit_bad_input.
int library_failure(Context &context, int code);

// The signal that asked the tool to stop, 0 if none.
int stop_signal();
// 128 + stop_signal(): the exit status of a stopped run.
int stop_status();
// Turns SIGINT and SIGTERM into a request to stop while listening is true;
// otherwise (and at a second signal) they end the tool as usual.
void install_stop_handlers();
void listen_for_stop(bool listening);

// Makes the request to stop that a signal makes (for tests), or clears it.
void request_stop(int signal_number);

// The threads to start for `work` items when `requested` were asked for (0:
// one per hardware thread): never more than the hardware threads or the work.
unsigned fitted_threads(unsigned requested, std::size_t work);

// The progress line on a terminal's standard error: "wheelsoil: K of N
// things", drawn once a run has lasted half a second, at most five times a
// second, erased at the end.
class Progress {
 public:
  Progress(Context &context, std::size_t total, const char *things);
  ~Progress();
  void update(std::size_t done);
  // The C interface's progress function: context is a Progress whose offset
  // is added to done; asks the batch to stop when a signal asked the tool to.
  static int hook(void *context, std::size_t done, std::size_t total);
  std::size_t offset = 0;

 private:
  Context &context_;
  std::size_t total_;
  const char *things_;
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace wheelsoil::detail::cli

#endif
