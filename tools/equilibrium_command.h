// wheelsoil equilibrium --load W [--threads N] [FILE]: the operating point of
// each talvor input vector, the centre height at which the soil carries W.
#ifndef WHEELSOIL_TOOLS_EQUILIBRIUM_COMMAND_H
#define WHEELSOIL_TOOLS_EQUILIBRIUM_COMMAND_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace wheelsoil::detail::cli {

// Runs wheelsoil equilibrium with the arguments that follow its name; FILE or
// '-' (or none) reads from in. Results go to out, messages to err. Returns the
// exit status: 0 all solved, 1 bad input or output, 2 usage error, 3 results
// written but some operating points not found.
int equilibrium_command(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                        std::ostream &err);

}  // namespace wheelsoil::detail::cli

#endif
