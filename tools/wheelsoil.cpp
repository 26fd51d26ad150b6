// wheelsoil: the talvor and pindrel models from the command line. Reads input
// vectors from a file or standard input and writes the results as CSV; each
// command is a file of its own (command.h).
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "command.h"
#include "tool_io.h"

int main(int argc, char **argv) {
  using namespace wheelsoil::detail::cli;
  try {
    install_stop_handlers();
    // The standard streams over their file descriptors, buffered, so that a
    // failure to read or write is reported with its reason.
    FdBuffer in_buffer(STDIN_FILENO), out_buffer(STDOUT_FILENO);
    std::istream in(&in_buffer);
    std::ostream out(&out_buffer);
    Io io{in, out, std::cerr, true, isatty(STDERR_FILENO) == 1};
    const int status = run_wheelsoil(std::vector<std::string>(argv + 1, argv + argc), io);
    out.flush();
    return status;
  } catch (const std::bad_alloc &) {
    std::fputs("wheelsoil: out of memory\n", stderr);
    return exit_bad_input;
  }
}
