// wheelsoil contact [--y LIST] [--theta LIST|FROM:TO:N] [--direction-aware]
// [FILE]: the contact of each talvor input vector, as CSV.
#ifndef WHEELSOIL_TOOLS_CONTACT_COMMAND_H
#define WHEELSOIL_TOOLS_CONTACT_COMMAND_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace wheelsoil::detail::cli {

// The subcommand's options, parsed.
struct ContactOptions {
  std::string file;              // FILE; empty or "-" reads the input stream
  std::vector<double> y;         // the profile's lateral positions (m); empty: 0 alone
  std::vector<double> theta;     // the profile's rim angles (rad); empty: the geometry
  bool direction_aware = false;  // a wheel travelling in -x evaluated mirrored
};

// *values from "V1,V2,..." (--y, --theta) or, with grid, also "FROM:TO:N",
// N >= 2 evenly spaced values from FROM to TO; false (and *why) if text is
// neither.
bool parse_value_list(const std::string &text, bool grid, std::vector<double> *values,
                      std::string *why);

// What the subcommand's help says after its options.
extern const char contact_help_text[];

struct Context;

// Runs the subcommand with its parsed options: reads the talvor input
// vectors, writes the geometry (without theta) or the stress profiles (with
// theta) as CSV. Returns the exit status: 0 done, 1 bad input or output.
int run_contact(Context &context, const ContactOptions &options);

// run_contact over the streams given: options.file, or in for "" and "-";
// results to out, messages to err.
int contact_command(const ContactOptions &options, std::istream &in, std::ostream &out,
                    std::ostream &err);

}  // namespace wheelsoil::detail::cli

#endif
