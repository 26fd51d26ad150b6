#include "model_command.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "csv_writer.h"
#include "tool_io.h"
#include "vector_reader.h"

namespace wheelsoil::detail::cli {

namespace {

// Vectors of one plain-call block: between blocks the progress line moves
// and a stop is noticed (64 talvor vectors take about 10 ms).
constexpr std::size_t plain_block = 64;

// Rows of CSV formatted at a time.
constexpr std::size_t rows_per_write = 4096;

std::string megabytes(std::size_t doubles) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f MB", double(doubles) * sizeof(double) / 1e6);
  return text;
}

}  // namespace

int write_csv(Context &context, const ModelTable &model, const double *results, std::size_t count) {
  std::string text = header_line(model);
  for (std::size_t begin = 0; begin < count; begin += rows_per_write) {
    const std::size_t n = std::min(rows_per_write, count - begin);
    append_rows(&text, model, results + begin * model.n_outputs, n);
    if (const int status = write_output(context, text)) return status;
    text.clear();
  }
  return count == 0 ? write_output(context, text) : exit_ok;
}

void add_file_argument(CLI::App &app, std::string *file) {
  app.add_option("FILE", *file, "input; none or '-': standard input");
}

int run_model(Context &context, const std::string &file, const ModelTable &model) {
  InputVectors in;
  if (const int status = read_input(context, file, model, &in)) return status;

  // The results' room before any work, so that a run that cannot hold them
  // fails at once.
  std::vector<double> results;
  try {
    results.resize(in.count * model.n_outputs);
  } catch (const std::bad_alloc &) {
    context.io.err << "wheelsoil: out of memory: the results of " << in.count << " vectors need "
                   << megabytes(in.count * model.n_outputs) << '\n';
    return exit_bad_input;
  }

  std::size_t done = 0;
  {
    Progress progress(context, in.count, "vectors");
    if (context.run.threads_given) {
      const int code = model.evaluate_batch(in.values.data(), results.data(), in.count,
                                            fitted_threads(context.run.threads, in.count),
                                            Progress::hook, &progress, &done);
      if (code != WHEELSOIL_OK && code != WHEELSOIL_STOPPED) return library_failure(context, code);
    } else {
      while (done < in.count && !stop_signal()) {
        const std::size_t n = std::min(plain_block, in.count - done);
        for (std::size_t k = done; k < done + n; ++k)
          model.evaluate(&results[k * model.n_outputs], &in.values[k * model.n_inputs]);
        done += n;
        progress.update(done);
      }
    }
  }
  std::vector<double>().swap(in.values);

  // The finished results, all of them unless stopped.
  if (const int status = write_csv(context, model, results.data(), done)) return status;
  if (done < in.count) {
    context.io.err << "wheelsoil: stopped by signal " << stop_signal() << " after " << done
                   << " of " << in.count << " vectors; their results are written\n";
    return stop_status();
  }
  return exit_ok;
}

std::string slots_help(const ModelTable &m) {
  char line[256];
  std::string help = std::string(m.name) + " inputs (" + std::to_string(m.n_inputs) +
                     " slots, in this order without a header):\n";
  for (std::size_t k = 0; k < m.n_inputs; ++k) {
    const Slot &s = m.inputs[k];
    std::string deflt;
    switch (s.kind) {
      case DefaultKind::required: deflt = "required"; break;
      case DefaultKind::constant: append_number(&deflt, s.value), deflt = "= " + deflt; break;
      case DefaultKind::copy: deflt = std::string("= ") + m.inputs[s.source].name; break;
    }
    std::snprintf(line, sizeof line, "  %2zu %-19s %-16s %-10s %s\n", s.index, s.name,
                  deflt.c_str(), s.unit, s.meaning);
    help += line;
  }
  help += std::string(m.name) + " outputs (CSV columns):\n";
  for (std::size_t k = 0; k < m.n_outputs; ++k) {
    const OutputSlot &o = m.outputs[k];
    std::snprintf(line, sizeof line, "  %2zu %-19s %-4s %s\n", o.index, o.name, o.unit, o.meaning);
    help += line;
  }
  return help;
}

}  // namespace wheelsoil::detail::cli
