// What the fuzz targets share: reading input vectors from arbitrary bytes,
// realistic vectors to lay them over, and failing loudly.
#ifndef WHEELSOIL_FUZZ_FUZZ_INPUT_H
#define WHEELSOIL_FUZZ_FUZZ_INPUT_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/golden.h"

namespace fuzz {

// A rover wheel on dry sand, driving at slip 0.2 with 20 mm of sinkage.
inline const double talvor_base[29] = {0.1,
                                       0,
                                       0,
                                       0,
                                       0.125 / 0.13,
                                       0,  // vx vy vz wx wy wz
                                       0.13,
                                       0.16,
                                       1,
                                       0,  // radius width band_ratio band_height
                                       1600,
                                       1040,
                                       0.4886921905584123,  // soil_density cohesion friction_angle
                                       1.1,
                                       990,
                                       1528430,
                                       0.025,
                                       0.025,
                                       1,  // n k_c k_phi kx ky kr
                                       0,
                                       0.11,
                                       0,
                                       0.4,
                                       0.3,
                                       0.1,
                                       0.1,
                                       0,
                                       0,      // tilt h_c slot21 c1-c4 spares
                                       9.81};  // gravity

// The dry-sand case of the pindrel reference vectors.
inline const double pindrel_base[20] = {0.19661301957450084,
                                        0.28486493957456388,
                                        0.60305736375766217,
                                        0.22510206646493386,
                                        -1.2444124073758136,
                                        1040,
                                        0.48869219055841229,
                                        1.1000000000000001,
                                        990,
                                        1528430,
                                        0.024656891582543944,
                                        0.82803895170517983,
                                        0.68515660226135144,
                                        0.82803895170517983,
                                        0.3696520984280855,
                                        -0.25034845611819867,
                                        0.037557365967131995,
                                        0.10919428780167334,
                                        -3.673336257593526,
                                        1.2171165356303062};

// Bytes consumed front to back; what runs out reads as zero.
struct Bytes {
  const std::uint8_t *data;
  std::size_t size;
  std::uint8_t byte() {
    if (!size) return 0;
    --size;
    return *data++;
  }
  // Up to n doubles, any bit pattern, laid over out[0 .. n-1] from its start.
  void overlay(double *out, std::size_t n) {
    const std::size_t bytes = std::min(size, n * sizeof(double));
    std::memcpy(out, data, bytes);
    data += bytes;
    size -= bytes;
  }
};

// n-slot vectors read from the bytes, each the base with as many of its
// leading slots replaced as the bytes hold; at least one, at most max_count.
inline std::vector<double> vectors(Bytes &in, const double *base, std::size_t n,
                                   std::size_t max_count) {
  std::vector<double> out;
  do {
    out.insert(out.end(), base, base + n);
    in.overlay(&out[out.size() - n], n);
  } while (in.size && out.size() / n < max_count);
  return out;
}

// Bit-identical arrays.
inline bool same_bits(const double *a, const double *b, std::size_t n) {
  return std::memcmp(a, b, n * sizeof(double)) == 0;
}

// The same values slot for slot, any NaN matching any NaN.
inline bool same_values(const double *a, const double *b, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k)
    if (!golden::same_value(a[k], b[k])) return false;
  return true;
}

// Ends the run with a finding when the property does not hold.
inline void require(bool holds, const char *property) {
  if (holds) return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

}  // namespace fuzz

#endif
