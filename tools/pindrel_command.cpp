// wheelsoil pindrel [FILE]: the simplified model, 20 inputs and the vertical
// load a vector.
#include "command.h"
#include "model_command.h"
#include "slot_tables.h"

namespace wheelsoil::detail::cli {
namespace {

class PindrelCommand : public Command {
 public:
  void define(CLI::App &app) override {
    add_file_argument(app, &file_);
    app.footer(slots_help(pindrel_table));
  }
  int run(Context &context) override { return run_model(context, file_, pindrel_table); }

 private:
  std::string file_;
};

const CommandRegistration registration{{"pindrel",
                                        "the simplified model: 20 inputs, the vertical load (N)",
                                        20, [] { return std::make_unique<PindrelCommand>(); }}};

}  // namespace
}  // namespace wheelsoil::detail::cli
