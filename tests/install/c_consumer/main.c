/* An outside C program on the installed C interface: the reference vectors of
   DATA_DIR through wheelsoil_talvor and wheelsoil_pindrel, each result's bits
   printed as model_bits prints them (a NaN as "nan"), and the batch forms checked against the
   single calls. */
#include <wheelsoil/wheelsoil.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_CASES 64

struct reference_case {
  char name[64];
  double inputs[29];
};

/* The cases of a reference file: a name, then n_inputs inputs, then outputs. */
static int read_cases(const char *dir, const char *file, int n_inputs,
                      struct reference_case *cases) {
  char path[1024], line[8192];
  int count = 0;
  FILE *in;
  snprintf(path, sizeof path, "%s/%s", dir, file);
  in = fopen(path, "r");
  if (!in) return -1;
  while (count < MAX_CASES && fgets(line, sizeof line, in)) {
    char *word, *rest = line;
    int k;
    if (line[0] == '#' || line[0] == '\n') continue;
    word = strtok(rest, " \t\r\n");
    if (!word) continue;
    snprintf(cases[count].name, sizeof cases[count].name, "%s", word);
    for (k = 0; k < n_inputs; ++k) {
      word = strtok(NULL, " \t\r\n");
      if (!word) return -1;
      cases[count].inputs[k] = strtod(word, NULL);
    }
    ++count;
  }
  fclose(in);
  return count;
}

static void print(const char *model, const char *name, const double *v, int n) {
  int k;
  printf("%s %s", model, name);
  for (k = 0; k < n; ++k) {
    uint64_t bits;
    if (v[k] != v[k]) { /* a NaN's sign and payload are not the model's */
      printf(" nan");
      continue;
    }
    memcpy(&bits, &v[k], sizeof bits);
    printf(" %016llx", (unsigned long long)bits);
  }
  printf("\n");
}

int main(int argc, char **argv) {
  static struct reference_case cases[MAX_CASES];
  static double packed[MAX_CASES * 29], single[MAX_CASES * 18], batch[MAX_CASES * 18];
  int n, k;
  if (argc != 2) return 2;

  n = read_cases(argv[1], "talvor.txt", WHEELSOIL_TALVOR_INPUTS, cases);
  if (n <= 0) return 3;
  for (k = 0; k < n; ++k) {
    if (wheelsoil_talvor(cases[k].inputs, WHEELSOIL_TALVOR_INPUTS, &single[18 * k]) != 0) return 4;
    print("talvor", cases[k].name, &single[18 * k], WHEELSOIL_TALVOR_OUTPUTS);
    memcpy(&packed[29 * k], cases[k].inputs, sizeof cases[k].inputs);
  }
  if (wheelsoil_talvor_batch(packed, (size_t)n, batch, 2) != 0) return 5;
  if (memcmp(single, batch, sizeof(double) * 18 * (size_t)n) != 0) return 6;

  n = read_cases(argv[1], "pindrel.txt", WHEELSOIL_PINDREL_INPUTS, cases);
  if (n <= 0) return 3;
  for (k = 0; k < n; ++k) {
    double load;
    if (wheelsoil_pindrel(cases[k].inputs, WHEELSOIL_PINDREL_INPUTS, &load) != 0) return 4;
    print("pindrel", cases[k].name, &load, 1);
  }
  if (wheelsoil_talvor(NULL, 29, single) != WHEELSOIL_ERROR_NULL_POINTER) return 7;
  return 0;
}
