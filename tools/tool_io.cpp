#include "tool_io.h"

#include <fcntl.h>
#include <unistd.h>
#include <wheelsoil/wheelsoil.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <istream>
#include <iterator>
#include <new>
#include <thread>

namespace wheelsoil::detail::cli {

namespace {

volatile std::sig_atomic_t stop_requested = 0;
volatile std::sig_atomic_t listening = 0;

// The first SIGINT or SIGTERM of a run that listens asks it to stop; the
// next one, or one when nothing listens, ends the tool the usual way.
extern "C" void on_stop_signal(int signal_number) {
  if (!listening || stop_requested) {
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
    return;
  }
  stop_requested = signal_number;
}

constexpr std::size_t buffer_size = 1 << 16;

// "standard input" or the FILE's name, for messages.
std::string input_name(const std::string &file) {
  return file.empty() || file == "-" ? "standard input" : file;
}

// A run stopped while it read its input: nothing was computed.
int stopped_reading(Context &context) {
  context.io.err << "wheelsoil: stopped by signal " << stop_signal()
                 << " while reading the input; no results\n";
  return stop_status();
}

// A failed read: its reason, or the stop a signal asked for.
int read_failure(Context &context, const std::string &file, int error) {
  if (stop_signal()) return stopped_reading(context);
  context.io.err << "wheelsoil: " << input_name(file) << ": cannot read";
  if (error) context.io.err << ": " << std::strerror(error);
  if (error == EBADF && input_name(file) == "standard input")
    context.io.err << " (standard input is closed)";
  context.io.err << '\n';
  return exit_bad_input;
}

// Calls read(in) with the stream of file: the command's own, or one over the
// file descriptor of standard input or of the opened FILE. Returns the exit
// status of what went wrong, or exit_ok.
// *failed tells whether the system failed the read (the message is written).
template <class Read>
int with_input(Context &context, const std::string &file, Read read, bool *failed) {
  *failed = true;
  const bool standard = file.empty() || file == "-";
  if (standard && !context.io.in_is_stdin) {
    std::istream &in = context.io.in;
    if (!read(in) && !in.bad()) return *failed = false, exit_bad_input;
    return in.bad() ? read_failure(context, file, 0) : exit_ok;
  }
  int fd = 0;
  if (!standard) {
    do fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR && !stop_signal());
    if (fd < 0) {
      if (stop_signal()) return stopped_reading(context);
      context.io.err << "wheelsoil: " << file << ": cannot open: " << std::strerror(errno) << '\n';
      return exit_bad_input;
    }
  } else if (isatty(STDIN_FILENO) == 1 && !context.run.quiet) {
    context.io.err << "wheelsoil: reading input vectors from the terminal; end with Ctrl-D\n";
  }
  FdBuffer buffer(fd, !standard);
  std::istream in(&buffer);
  const bool ok = read(in);
  if (buffer.error() || in.bad()) return read_failure(context, file, buffer.error());
  if (stop_signal()) return stopped_reading(context);
  *failed = false;
  return ok ? exit_ok : exit_bad_input;
}

}  // namespace

FdBuffer::FdBuffer(int fd, bool owned) : fd_(fd), owned_(owned) {}

FdBuffer::~FdBuffer() {
  if (!out_.empty()) drain();
  if (owned_) ::close(fd_);
}

FdBuffer::int_type FdBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (error_) return traits_type::eof();
  if (in_.empty()) in_.resize(buffer_size);
  for (;;) {
    const ssize_t n = ::read(fd_, in_.data(), in_.size());
    if (n > 0) {
      setg(in_.data(), in_.data(), in_.data() + n);
      return traits_type::to_int_type(in_[0]);
    }
    if (n == 0) return traits_type::eof();
    if (errno == EINTR && !stop_signal()) continue;
    error_ = errno;
    return traits_type::eof();
  }
}

bool FdBuffer::drain() {
  const char *p = out_.data();
  std::size_t left = out_.size();
  while (left > 0 && !error_) {
    const ssize_t n = ::write(fd_, p, left);
    if (n >= 0) {
      p += n;
      left -= std::size_t(n);
    } else if (errno != EINTR) {
      error_ = errno;
    }
  }
  out_.clear();
  return !error_;
}

FdBuffer::int_type FdBuffer::overflow(int_type c) {
  if (error_) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    out_.push_back(traits_type::to_char_type(c));
    if (out_.size() >= buffer_size && !drain()) return traits_type::eof();
  }
  return traits_type::not_eof(c);
}

std::streamsize FdBuffer::xsputn(const char *s, std::streamsize n) {
  if (error_) return 0;
  out_.insert(out_.end(), s, s + n);
  if (out_.size() >= buffer_size && !drain()) return 0;
  return n;
}

int FdBuffer::sync() { return drain() ? 0 : -1; }

std::string system_reason(const std::streambuf *buffer) {
  const auto *own = dynamic_cast<const FdBuffer *>(buffer);
  return own && own->error() ? std::string(": ") + std::strerror(own->error()) : std::string();
}

int read_input(Context &context, const std::string &file, const ModelTable &model,
               InputVectors *vectors) {
  InputError error;
  bool failed;
  const int status = with_input(
      context, file,
      [&](std::istream &in) {
        try {
          return read_vectors(in, model, vectors, &error);
        } catch (const std::bad_alloc &) {
          // Let go of what was read before saying so.
          std::vector<double>().swap(vectors->values);
          error.reason = "out of memory: " + std::to_string(vectors->count) +
                         " input vectors were read, and there is no room for more";
          return false;
        }
      },
      &failed);
  if (status == exit_bad_input && !failed)
    context.io.err << "wheelsoil: "
                   << (error.line ? "line " + std::to_string(error.line) + ": " : "")
                   << error.reason << '\n';
  return status;
}

int read_text(Context &context, const std::string &file, std::string *text) {
  bool failed;
  return with_input(
      context, file,
      [&](std::istream &in) {
        text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return true;
      },
      &failed);
}

int write_output(Context &context, const std::string &text) {
  std::ostream &out = context.io.out;
  out << text;
  out.flush();
  if (out) return exit_ok;
  context.io.err << "wheelsoil: cannot write the results" << system_reason(out.rdbuf()) << '\n';
  return exit_bad_input;
}

int library_failure(Context &context, int code) {
  if (code == WHEELSOIL_ERROR_OUT_OF_MEMORY) {
    context.io.err << "wheelsoil: out of memory during the evaluation; no results\n";
  } else {
    context.io.err << "wheelsoil: " << wheelsoil_error_message(code) << '\n';
  }
  return exit_bad_input;
}

int stop_signal() { return stop_requested; }

int stop_status() { return 128 + stop_requested; }

void install_stop_handlers() {
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocked read returns, and is asked why
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

void listen_for_stop(bool on) { listening = on; }

void request_stop(int signal_number) { stop_requested = signal_number; }

unsigned fitted_threads(unsigned requested, std::size_t work) {
  const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
  unsigned n = requested == 0 ? hardware : std::min(requested, hardware);
  if (work < n) n = unsigned(std::max<std::size_t>(work, 1));
  return n;
}

Progress::Progress(Context &context, std::size_t total, const char *things)
    : context_(context),
      total_(total),
      things_(things),
      enabled_(context.progress()),
      start_(std::chrono::steady_clock::now()),
      last_(start_) {}

Progress::~Progress() {
  if (drawn_) context_.io.err << "\r\033[K" << std::flush;
}

void Progress::update(std::size_t done) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < std::chrono::milliseconds(500) ||
      (drawn_ && now - last_ < std::chrono::milliseconds(200)))
    return;
  context_.io.err << "\rwheelsoil: " << done << " of " << total_ << ' ' << things_ << std::flush;
  drawn_ = true;
  last_ = now;
}

int Progress::hook(void *context, std::size_t done, std::size_t) {
  auto *p = static_cast<Progress *>(context);
  p->update(p->offset + done);
  return stop_signal() != 0;
}

}  // namespace wheelsoil::detail::cli
