// wheelsoil fit plate|shear|wheel [options] [FILE]: soil and wheel
// parameters from test data (wheelsoil/fit.hpp), as CSV and a short table.
#ifndef WHEELSOIL_TOOLS_FIT_COMMAND_H
#define WHEELSOIL_TOOLS_FIT_COMMAND_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace wheelsoil::detail::cli {

// Runs the subcommand with the arguments that follow "fit"; FILE or '-' (or
// none) reads from in. The results go to out as CSV, the table and messages
// to err. Returns the exit status: 0 fitted; 1 bad input, or output not
// written; 2 usage error; 3 no fit (ill-posed, not converged, failed).
int fit_command(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                std::ostream &err);

}  // namespace wheelsoil::detail::cli

#endif
