// An outside program on the installed C++ API: the reference vectors of
// DATA_DIR through wheelsoil::talvor and wheelsoil::pindrel, each result's
// bits printed as model_bits prints them (a NaN as "nan"), and every batch checked against the
// single calls.
#include <wheelsoil/wheelsoil.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Case {
  std::string name;
  std::vector<double> inputs;
};

// The cases of a reference file: a name, then the inputs (then the outputs).
std::vector<Case> read_cases(const std::string &path, std::size_t n_inputs) {
  std::vector<Case> cases;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    Case c;
    words >> c.name;
    std::string w;
    while (c.inputs.size() < n_inputs && words >> w)
      c.inputs.push_back(std::strtod(w.c_str(), nullptr));
    cases.push_back(c);
  }
  return cases;
}

void print(const char *model, const std::string &name, const double *v, std::size_t n) {
  std::printf("%s %s", model, name.c_str());
  for (std::size_t k = 0; k < n; ++k) {
    if (std::isnan(v[k])) {  // a NaN's sign and payload are not the model's
      std::printf(" nan");
      continue;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &v[k], sizeof bits);
    std::printf(" %016llx", static_cast<unsigned long long>(bits));
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  if (std::string(wheelsoil::version()) != WHEELSOIL_VERSION_STRING) return 3;

  const std::vector<Case> talvor = read_cases(dir + "/talvor.txt", 29);
  std::vector<wheelsoil::WheelSoilInput> records(talvor.size());
  for (std::size_t k = 0; k < talvor.size(); ++k) {
    std::memcpy(&records[k], talvor[k].inputs.data(), sizeof records[k]);
    const wheelsoil::WheelSoilOutput out = wheelsoil::talvor(records[k]);
    print("talvor", talvor[k].name, &out.rim_fx, 18);
  }
  const std::vector<wheelsoil::WheelSoilOutput> batch = wheelsoil::talvor_batch(records, {2});
  for (std::size_t k = 0; k < talvor.size(); ++k) {
    const wheelsoil::WheelSoilOutput one = wheelsoil::talvor(records[k]);
    if (std::memcmp(&one, &batch[k], sizeof one) != 0) return 4;
  }

  const std::vector<Case> pindrel = read_cases(dir + "/pindrel.txt", 20);
  for (const Case &c : pindrel) {
    wheelsoil::LoadModelInput in;
    std::memcpy(&in, c.inputs.data(), sizeof in);
    const double load = wheelsoil::pindrel(in);
    print("pindrel", c.name, &load, 1);
  }
  return 0;
}
