#include "command.h"

#include <wheelsoil/wheelsoil.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <sstream>

#include "tool_io.h"

namespace wheelsoil::detail::cli {

const char exit_status_help[] =
    "Exit status:\n"
    "  0    done\n"
    "  1    bad input: a refused input, a FILE that cannot be read, output that\n"
    "       cannot be written, not enough memory\n"
    "  2    usage error: an unknown command or option, a bad option value\n"
    "  3    results written, but some not found (equilibrium: a vector without an\n"
    "       operating point; fit: no fit)\n"
    "  130  stopped by SIGINT (Ctrl-C), 143 by SIGTERM: the results finished by then\n"
    "       are written\n";

namespace {

const char format_help[] =
    "Input, from FILE or, without FILE or with FILE '-', standard input:\n"
    "  one input vector a line; values separated by commas and/or whitespace;\n"
    "  '#' starts a comment to the end of the line; blank lines are skipped; a\n"
    "  UTF-8 byte-order mark is skipped (UTF-16 is refused).\n"
    "  Values are decimal numbers or nan, inf, -inf (any case), used unchanged:\n"
    "  SI units, angles in radians. Hexadecimal and literals beyond the range of a\n"
    "  double (1e400, 1e-400) are refused; subnormal values are read as such.\n"
    "  Without a header every line holds all the model's inputs in slot order.\n"
    "  A first line whose first field is a slot name, or whose fields are all\n"
    "  names, is a header naming the slots of the columns below it, in any\n"
    "  order; every required slot must be named, each at most once, and slots\n"
    "  left out take their defaults (wheelsoil slots MODEL lists them).\n"
    "  The whole input is read and checked before anything is computed: a\n"
    "  refused input writes no results. The first fault stops the run with\n"
    "    wheelsoil: line N: reason\n"
    "\n"
    "Output, to standard output: CSV, a header row of the output names, then\n"
    "one row per input vector in input order, each value printed with %.17g\n"
    "(it reads back to the same double), nan, inf or -inf.\n"
    "A progress line is drawn on standard error during long runs when it is a\n"
    "terminal (not with --no-progress or --quiet). SIGINT (Ctrl-C) or SIGTERM\n"
    "stops a run: the results finished by then are written; a second one ends\n"
    "the tool at once.\n";

std::vector<CommandInfo> &registry() {
  static std::vector<CommandInfo> commands;
  return commands;
}

// What each value option needs, for the messages of a missing value.
std::map<std::string, std::string> &needs_of() {
  static std::map<std::string, std::string> needs;
  return needs;
}

// CLI11's help in the tool's order: usage, what the command does, its
// arguments, options and subcommands, then the details.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() {
    label("Usage", "usage");
    label("OPTIONS", "options");
    label("SUBCOMMAND", "command");
    label("Positionals", "Arguments");
    label("Subcommands", "Commands");
    label("TEXT", "");
    column_width(24);
  }
  std::string make_help(const CLI::App *app, std::string name,
                        CLI::AppFormatMode mode) const override {
    if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
    std::string help = make_usage(app, name) + make_description(app) + make_positionals(app) +
                       make_groups(app, mode) + make_subcommands(app, mode);
    const std::string footer = make_footer(app);
    return footer.empty() ? help : help + '\n' + footer;
  }
  std::string make_description(const CLI::App *app) const override {
    const std::string d = app->get_description();
    return d.empty() ? std::string() : '\n' + wrap(d, 79) + '\n';
  }
  std::string make_option_desc(const CLI::Option *o) const override {
    return wrap(CLI::Formatter::make_option_desc(o), 79 - column_width_);
  }
  std::string make_subcommand(const CLI::App *sub) const override {
    std::stringstream out;
    CLI::detail::format_help(out, sub->get_display_name(true),
                             wrap(sub->get_description(), 79 - column_width_), column_width_);
    return out.str();
  }

 private:
  // text in lines of at most width characters, broken at spaces.
  static std::string wrap(const std::string &text, std::size_t width) {
    std::string out, line;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      if (!line.empty() && line.size() + 1 + word.size() > width) {
        out += line + '\n';
        line.clear();
      }
      line += (line.empty() ? "" : " ") + word;
    }
    return out + line;
  }
};

// The options that every evaluating command takes, on app into o.
void add_run_options(CLI::App &app, RunOptions *o) {
  add_value_option(
      app, "--threads", "N", "a whole number (0: one per hardware thread)",
      "evaluate on N threads (0: one per hardware thread; never more than the hardware has or "
      "the work needs); the results do not depend on it",
      [o](const std::string &v) {
        if (v.empty() || v.size() > 9 ||
            !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
          return false;
        o->threads = unsigned(std::stoul(v));
        o->threads_given = true;
        return true;
      });
  app.add_flag("--no-progress", o->no_progress, "no progress line on a terminal");
  app.add_flag("-q,--quiet", o->quiet, "no progress line and no notices");
}

// The usage line of app, called name.
std::string usage_of(const CLI::App &app, const std::string &name) {
  return HelpFormatter().make_usage(&app, name);
}

// The parsed command chain below root.
std::vector<CLI::App *> chain_of(CLI::App &root) {
  std::vector<CLI::App *> chain{&root};
  while (!chain.back()->get_subcommands().empty())
    chain.push_back(chain.back()->get_subcommands().front());
  return chain;
}

std::string name_of(const std::vector<CLI::App *> &chain) {
  std::string name;
  for (const CLI::App *a : chain) name += (name.empty() ? "" : " ") + a->get_name();
  return name;
}

std::string command_list() {
  std::string list;
  for (const CommandInfo &c : registry()) list += (list.empty() ? "" : ", ") + std::string(c.name);
  return list;
}

// Writes text to out; exit_bad_input (with the reason on err) if it could
// not be.
int write_and_flush(Io &io, const std::string &text) {
  io.out << text;
  io.out.flush();
  if (io.out) return exit_ok;
  io.err << "wheelsoil: cannot write to standard output" << system_reason(io.out.rdbuf()) << '\n';
  return exit_bad_input;
}

int report_usage_error(Io &io, const std::vector<CLI::App *> &chain, const std::string &message) {
  const std::string name = name_of(chain);
  io.err << "wheelsoil: " << message << '\n'
         << usage_of(*chain.back(), name) << '(' << name << " --help tells more)\n";
  return exit_usage;
}

}  // namespace

CommandRegistration::CommandRegistration(CommandInfo info) {
  auto &r = registry();
  r.insert(std::upper_bound(
               r.begin(), r.end(), info,
               [](const CommandInfo &a, const CommandInfo &b) { return a.order < b.order; }),
           std::move(info));
}

std::string Command::extra_argument(const CLI::App &, const std::string &) const {
  return "more than one FILE given";
}

CLI::Option *add_value_option(CLI::App &app, const std::string &name, const std::string &value_name,
                              const std::string &needs, const std::string &help,
                              std::function<bool(const std::string &)> parse) {
  needs_of()[name] = needs;
  CLI::Option *o = app.add_option_function<std::string>(
      name,
      [name, needs, parse](const std::string &v) {
        if (!parse(v)) throw CLI::ValidationError(name + " needs " + needs + ", not '" + v + "'");
      },
      help);
  // Given twice, the last one counts.
  o->type_name(value_name)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  return o;
}

int usage_error(Context &context, const std::string &message) {
  context.io.err << "wheelsoil: " << message << '\n'
                 << context.usage << '(' << context.name << " --help tells more)\n";
  return exit_usage;
}

int run_wheelsoil(const std::vector<std::string> &args, Io &io) {
  try {
    CLI::App root("Evaluates the wheel-soil models for many input vectors at once.", "wheelsoil");
    root.formatter(std::make_shared<HelpFormatter>());
    root.set_help_flag("-h,--help", "this text");
    root.set_version_flag("--version", std::string("wheelsoil ") + wheelsoil_version(),
                          "the version");
    root.allow_extras();
    root.require_subcommand(0, 1);
    root.footer(std::string(format_help) + '\n' + exit_status_help +
                "\nwheelsoil COMMAND --help tells more of each command, and lists its slots.\n"
                "\nExamples:\n"
                "  wheelsoil talvor vectors.txt > loads.csv     29 numbers a line, slot order\n"
                "  wheelsoil --threads 0 talvor < sweep.csv     a CSV table with a header row\n"
                "  wheelsoil slots pindrel                      names and defaults for a header\n");
    RunOptions root_options;
    add_run_options(root, &root_options);

    // Every command, with its own copy of the shared options.
    struct Entry {
      std::unique_ptr<Command> command;
      CLI::App *app;
      RunOptions options;
    };
    std::vector<Entry> entries;
    entries.reserve(registry().size());
    for (const CommandInfo &info : registry()) {
      entries.push_back({info.make(), root.add_subcommand(info.name, info.summary), {}});
      Entry &e = entries.back();
      e.app->allow_extras();
      e.app->group("Commands");
      e.app->set_help_flag("-h,--help", "this text");
      e.command->define(*e.app);
      if (e.command->takes_run_options()) add_run_options(*e.app, &e.options);
      e.app->footer(e.app->get_footer() + (e.app->get_footer().empty() ? "" : "\n") +
                    exit_status_help);
    }

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
      root.parse(reversed);
    } catch (const CLI::CallForHelp &) {
      return write_and_flush(io, root.help());
    } catch (const CLI::CallForVersion &) {
      return write_and_flush(io, root.version() + '\n');
    } catch (const CLI::ArgumentMismatch &e) {
      // A value option at the end of the line.
      const std::string what = e.what();
      const std::string name = what.substr(0, what.find(':'));
      const auto needs = needs_of().find(name);
      return report_usage_error(
          io, chain_of(root), needs == needs_of().end() ? what : name + " needs " + needs->second);
    } catch (const CLI::ParseError &e) {
      return report_usage_error(io, chain_of(root), e.what());
    }

    const std::vector<CLI::App *> chain = chain_of(root);
    if (chain.size() == 1) {
      for (const std::string &a : root.remaining())
        if (a.size() < 2 || a[0] != '-')
          return report_usage_error(io, chain,
                                    "unknown command '" + a + "' (" + command_list() + ")");
      return report_usage_error(io, chain,
                                root.remaining().empty()
                                    ? "no command given"
                                    : "unknown option '" + root.remaining().front() + "'");
    }
    Entry &entry = *std::find_if(entries.begin(), entries.end(),
                                 [&](const Entry &e) { return e.app == chain[1]; });
    // Arguments left over: options before the command that it does not take,
    // unknown options, a second FILE.
    for (CLI::App *app : chain) {
      for (const std::string &a : app->remaining()) {
        if (a == "--") continue;  // the parser keeps the end of the options here
        if (a.size() > 1 && a[0] == '-') {
          const bool elsewhere =
              app == &root && entry.app->get_option_no_throw(a.substr(0, a.find('=')));
          return report_usage_error(
              io, chain,
              elsewhere ? "option '" + a + "' goes after '" + entry.app->get_name() + "'"
                        : "unknown option '" + a + "'");
        }
        return report_usage_error(
            io, chain,
            app == &root ? "unknown command '" + a + "' before '" + entry.app->get_name() + "'"
                         : entry.command->extra_argument(*app, a));
      }
    }
    const bool root_run_options =
        root_options.threads_given || root_options.no_progress || root_options.quiet;
    if (!entry.command->takes_run_options() && root_run_options)
      return report_usage_error(
          io, chain,
          "'" + entry.app->get_name() + "' takes no --threads, --no-progress or --quiet");

    Context context{io, root_options, name_of(chain), usage_of(*chain.back(), name_of(chain))};
    const RunOptions &own = entry.options;
    if (own.threads_given) context.run.threads = own.threads, context.run.threads_given = true;
    context.run.no_progress = context.run.no_progress || own.no_progress;
    context.run.quiet = context.run.quiet || own.quiet;
    listen_for_stop(entry.command->stoppable());
    return entry.command->run(context);
  } catch (const std::bad_alloc &) {
    io.err << "wheelsoil: out of memory\n";
    return exit_bad_input;
  }
}

}  // namespace wheelsoil::detail::cli
