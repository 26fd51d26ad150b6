// The wheelsoil tool's subcommands: each is one source file that registers
// itself (a Command and a static CommandRegistration); run_wheelsoil builds
// the command line of all of them with CLI11, parses it and runs the one
// named. Options, help and errors come from the parser; what every command
// shares (threads, progress, the exit statuses, reading and writing) from
// here and tool_io.h.
#ifndef WHEELSOIL_TOOLS_COMMAND_H
#define WHEELSOIL_TOOLS_COMMAND_H

#include <CLI/CLI.hpp>

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace wheelsoil::detail::cli {

// The exit statuses, the same for every command; a run stopped by SIGINT or
// SIGTERM exits with 128 + the signal's number (130, 143).
constexpr int exit_ok = 0;
constexpr int exit_bad_input = 1;   // refused input, a file not read, output not written, no memory
constexpr int exit_usage = 2;       // unknown command or option, a bad option value
constexpr int exit_incomplete = 3;  // results written, but some not found (equilibrium, fit)

// The exit statuses as --help lists them.
extern const char exit_status_help[];

// Where a command reads and writes. The tool gives its standard streams over
// their file descriptors (so that a failure has the system's reason); tests
// give string streams.
struct Io {
  std::istream &in;
  std::ostream &out;
  std::ostream &err;
  bool in_is_stdin = false;      // in reads file descriptor 0
  bool err_is_terminal = false;  // a progress line may be drawn on err
};

// The options every evaluating command takes, before or after its name.
struct RunOptions {
  unsigned threads = 0;  // 0: one per hardware thread
  bool threads_given = false;
  bool no_progress = false;  // --no-progress
  bool quiet = false;        // --quiet: no progress line and no notices
};

// What a command runs with.
struct Context {
  Io &io;
  RunOptions run;
  std::string name;   // "wheelsoil equilibrium", "wheelsoil fit wheel"
  std::string usage;  // the usage line of the command, with its newline

  // Whether a progress line is drawn.
  bool progress() const { return io.err_is_terminal && !run.no_progress && !run.quiet; }
};

// A subcommand of the tool.
class Command {
 public:
  virtual ~Command() = default;
  // Adds the command's options and positionals to app (already named).
  virtual void define(CLI::App &app) = 0;
  // Runs the parsed command; returns the exit status.
  virtual int run(Context &context) = 0;
  // Whether it takes --threads, --no-progress and --quiet.
  virtual bool takes_run_options() const { return true; }
  // Whether it stops at SIGINT and SIGTERM with the results finished so far
  // (false: a signal ends the tool at once).
  virtual bool stoppable() const { return true; }
  // The message for an argument left over after FILE.
  virtual std::string extra_argument(const CLI::App &app, const std::string &arg) const;
};

// A subcommand's place in the tool: its name, its one-line summary, its order
// in the help, and how to make it.
struct CommandInfo {
  const char *name;
  const char *summary;
  int order;
  std::function<std::unique_ptr<Command>()> make;
};

// Registers a command; one static instance in the command's source file.
struct CommandRegistration {
  explicit CommandRegistration(CommandInfo info);
};

// Adds a --NAME option whose value text goes through parse, which returns
// false for a value it refuses: the message is then "--NAME needs NEEDS, not
// 'VALUE'" (and "--NAME needs NEEDS" when the value is missing).
CLI::Option *add_value_option(CLI::App &app, const std::string &name, const std::string &value_name,
                              const std::string &needs, const std::string &help,
                              std::function<bool(const std::string &)> parse);

// A usage error of the command being run: "wheelsoil: MESSAGE", its usage
// line and where help is; returns exit_usage.
int usage_error(Context &context, const std::string &message);

// Runs the tool with args (those after the program's name).
int run_wheelsoil(const std::vector<std::string> &args, Io &io);

}  // namespace wheelsoil::detail::cli

#endif
