// What wheelsoil talvor and wheelsoil pindrel share: a model over every input
// vector of a FILE, the results as CSV, and the help on the model's slots.
#ifndef WHEELSOIL_TOOLS_MODEL_COMMAND_H
#define WHEELSOIL_TOOLS_MODEL_COMMAND_H

#include <cstddef>
#include <string>

#include "command.h"
#include "slot_tables.h"

namespace wheelsoil::detail::cli {

// Reads the input vectors of model from file, evaluates them (through the
// batch path on the fitted thread count when --threads was given, one plain
// call a vector otherwise) and writes the CSV; returns the exit status. A
// stop asked for by a signal writes the results finished by then.
int run_model(Context &context, const std::string &file, const ModelTable &model);

// Writes the CSV of count results of model (n_outputs values each), in
// pieces; returns the exit status.
int write_csv(Context &context, const ModelTable &model, const double *results, std::size_t count);

// The model's input and output slots as the help lists them.
std::string slots_help(const ModelTable &model);

// Adds the FILE positional to app.
void add_file_argument(CLI::App &app, std::string *file);

}  // namespace wheelsoil::detail::cli

#endif
