// MEX gateway behind wheelsoil_slots and soil_parameters (a private function
// of the helpers' folder): the library's slot tables and soil library, so that
// the Octave/MATLAB helpers read the one definition of each.
//   T = wheelsoil_tables(LAYOUT), LAYOUT 'talvor_input', 'talvor_output',
//       'pindrel_input' or 'pindrel_output': a struct of 1xN rows, slot k-1
//       in column k: names, symbols, units, kinds ('required', 'fixed',
//       'copy', 'result'), defaults (NaN unless fixed), copy_of, meanings,
//       ranges.
//   S = wheelsoil_tables('soils'): a struct of 1xN rows, one soil a column:
//       names, descriptions, sinkage_exponent, k_c, k_phi, cohesion,
//       friction_angle (SI), k_c_kn, k_phi_kn, cohesion_kpa,
//       friction_angle_deg (as published), shear_modulus, density,
//       shear_modulus_typical, density_typical (logical), sources, notes.
// Header-only: needs the public headers, not the library.
#include <wheelsoil/tables.hpp>

#include <cstring>
#include <string>

#include "mex.h"

namespace {

using wheelsoil::DefaultKind;
using wheelsoil::Slot;
using wheelsoil::SlotTable;
using wheelsoil::Soil;

const char *kind_name(DefaultKind kind) {
  switch (kind) {
    case DefaultKind::required: return "required";
    case DefaultKind::fixed: return "fixed";
    case DefaultKind::copy: return "copy";
    case DefaultKind::result: return "result";
  }
  return "";
}

// A 1 x n cell of strings, text(k) for column k.
template <class Text>
mxArray *text_row(std::size_t n, Text text) {
  mxArray *cell = mxCreateCellMatrix(1, static_cast<int>(n));
  for (std::size_t k = 0; k < n; ++k) mxSetCell(cell, k, mxCreateString(text(k)));
  return cell;
}

// A 1 x n double row, value(k) in column k.
template <class Value>
mxArray *number_row(std::size_t n, Value value) {
  mxArray *row = mxCreateDoubleMatrix(1, static_cast<int>(n), mxREAL);
  double *data = mxGetPr(row);
  for (std::size_t k = 0; k < n; ++k) data[k] = value(k);
  return row;
}

mxArray *slot_struct(const SlotTable &t) {
  const char *fields[] = {"names",    "symbols", "units",    "kinds",
                          "defaults", "copy_of", "meanings", "ranges"};
  mxArray *s = mxCreateStructMatrix(1, 1, 8, fields);
  const std::size_t n = t.size();
  mxSetField(s, 0, "names", text_row(n, [&](std::size_t k) { return t[k].name; }));
  mxSetField(s, 0, "symbols", text_row(n, [&](std::size_t k) { return t[k].symbol; }));
  mxSetField(s, 0, "units", text_row(n, [&](std::size_t k) { return t[k].unit; }));
  mxSetField(s, 0, "kinds", text_row(n, [&](std::size_t k) { return kind_name(t[k].kind); }));
  mxSetField(s, 0, "defaults", number_row(n, [&](std::size_t k) {
               return t[k].kind == DefaultKind::fixed ? t[k].value : mxGetNaN();
             }));
  mxSetField(s, 0, "copy_of", text_row(n, [&](std::size_t k) { return t[k].copy_of; }));
  mxSetField(s, 0, "meanings", text_row(n, [&](std::size_t k) { return t[k].meaning; }));
  mxSetField(s, 0, "ranges", text_row(n, [&](std::size_t k) { return t[k].range; }));
  return s;
}

mxArray *soil_struct() {
  const char *fields[] = {"names",
                          "descriptions",
                          "sinkage_exponent",
                          "k_c",
                          "k_phi",
                          "cohesion",
                          "friction_angle",
                          "k_c_kn",
                          "k_phi_kn",
                          "cohesion_kpa",
                          "friction_angle_deg",
                          "shear_modulus",
                          "density",
                          "shear_modulus_typical",
                          "density_typical",
                          "sources",
                          "notes"};
  constexpr int n_fields = sizeof fields / sizeof fields[0];
  mxArray *s = mxCreateStructMatrix(1, 1, n_fields, fields);
  const Soil *soils = wheelsoil::soils;
  const std::size_t n = sizeof wheelsoil::soils / sizeof wheelsoil::soils[0];
  mxSetField(s, 0, "names", text_row(n, [&](std::size_t k) { return soils[k].name; }));
  mxSetField(s, 0, "descriptions",
             text_row(n, [&](std::size_t k) { return soils[k].description; }));
  mxSetField(s, 0, "sinkage_exponent",
             number_row(n, [&](std::size_t k) { return soils[k].sinkage_exponent; }));
  mxSetField(s, 0, "k_c", number_row(n, [&](std::size_t k) { return soils[k].k_c(); }));
  mxSetField(s, 0, "k_phi", number_row(n, [&](std::size_t k) { return soils[k].k_phi(); }));
  mxSetField(s, 0, "cohesion", number_row(n, [&](std::size_t k) { return soils[k].cohesion(); }));
  mxSetField(s, 0, "friction_angle",
             number_row(n, [&](std::size_t k) { return soils[k].friction_angle(); }));
  mxSetField(s, 0, "k_c_kn", number_row(n, [&](std::size_t k) { return soils[k].k_c_kn; }));
  mxSetField(s, 0, "k_phi_kn", number_row(n, [&](std::size_t k) { return soils[k].k_phi_kn; }));
  mxSetField(s, 0, "cohesion_kpa",
             number_row(n, [&](std::size_t k) { return soils[k].cohesion_kpa; }));
  mxSetField(s, 0, "friction_angle_deg",
             number_row(n, [&](std::size_t k) { return soils[k].friction_angle_deg; }));
  mxSetField(s, 0, "shear_modulus",
             number_row(n, [&](std::size_t k) { return soils[k].shear_modulus; }));
  mxSetField(s, 0, "density", number_row(n, [&](std::size_t k) { return soils[k].density; }));
  mxSetField(s, 0, "shear_modulus_typical", number_row(n, [&](std::size_t k) {
               return soils[k].shear_modulus_typical ? 1.0 : 0.0;
             }));
  mxSetField(s, 0, "density_typical",
             number_row(n, [&](std::size_t k) { return soils[k].density_typical ? 1.0 : 0.0; }));
  mxSetField(s, 0, "sources", text_row(n, [&](std::size_t k) { return soils[k].source; }));
  mxSetField(s, 0, "notes", text_row(n, [&](std::size_t k) { return soils[k].notes; }));
  return s;
}

}  // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 1 || !mxIsChar(prhs[0])) mexErrMsgTxt("One table name required.");
  if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
  char name[32];
  if (mxGetString(prhs[0], name, sizeof name) != 0) mexErrMsgTxt("Unknown table.");
  if (std::strcmp(name, "talvor_input") == 0) {
    plhs[0] = slot_struct(wheelsoil::talvor_input_slots);
  } else if (std::strcmp(name, "talvor_output") == 0) {
    plhs[0] = slot_struct(wheelsoil::talvor_output_slots);
  } else if (std::strcmp(name, "pindrel_input") == 0) {
    plhs[0] = slot_struct(wheelsoil::pindrel_input_slots);
  } else if (std::strcmp(name, "pindrel_output") == 0) {
    plhs[0] = slot_struct(wheelsoil::pindrel_output_slots);
  } else if (std::strcmp(name, "soils") == 0) {
    plhs[0] = soil_struct();
  } else {
    mexErrMsgTxt("Unknown table.");
  }
}
