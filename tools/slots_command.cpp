// wheelsoil slots talvor|pindrel: a model's input slots as CSV, the names a
// header row may use with their defaults.
#include "command.h"
#include "csv_writer.h"
#include "slot_tables.h"
#include "tool_io.h"

namespace wheelsoil::detail::cli {
namespace {

class SlotsCommand : public Command {
 public:
  void define(CLI::App &app) override {
    app.add_option("MODEL", model_, "talvor or pindrel")->required();
  }
  bool takes_run_options() const override { return false; }

  int run(Context &context) override {
    const ModelTable *m = find_model(model_.c_str());
    if (!m) return usage_error(context, "unknown model '" + model_ + "' (talvor or pindrel)");
    std::string out = "slot,name,default\n";
    for (std::size_t k = 0; k < m->n_inputs; ++k) {
      const Slot &s = m->inputs[k];
      out += std::to_string(s.index) + ',' + s.name + ',';
      switch (s.kind) {
        case DefaultKind::required: out += "required"; break;
        case DefaultKind::constant: append_number(&out, s.value); break;
        case DefaultKind::copy: out += std::string("=") + m->inputs[s.source].name; break;
      }
      out += '\n';
    }
    return write_output(context, out);
  }
  std::string extra_argument(const CLI::App &, const std::string &) const override {
    return "slots needs one model: talvor or pindrel";
  }

 private:
  std::string model_;
};

const CommandRegistration registration{{"slots",
                                        "lists a model's input slots as CSV: slot,name,default", 40,
                                        [] { return std::make_unique<SlotsCommand>(); }}};

}  // namespace
}  // namespace wheelsoil::detail::cli
