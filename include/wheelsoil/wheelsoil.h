/* wheelsoil: loads of deformable soil on a rigid wheel, the C interface.

   talvor, the full model: 29 input doubles (slots WHEELSOIL_TALVOR_IN_*) give
   18 loads (WHEELSOIL_TALVOR_OUT_*) that the soil exerts on the wheel.
   pindrel, the simplified model: 20 input doubles (WHEELSOIL_PINDREL_IN_*) give
   one vertical load. SI units, angles in radians; nothing is converted.

   Every function is reentrant: any number of threads may call any of them at
   once, on any data. The results are the bits of talvor(p) and pindrel(p) in
   Octave/MATLAB, on every thread count. Functions return 0 or a nonzero
   wheelsoil_status; wheelsoil_error_message(code) says what it means. The
   models themselves never fail: degenerate inputs give their documented
   sentinels, infinities or NaN.

   Options: the _ex forms take `flags`, a set of WHEELSOIL_* option bits; 0
   asks for the defaults (the documented evaluation) and unknown bits are
   refused with WHEELSOIL_ERROR_FLAGS, so a caller never silently gets an
   evaluation it did not ask for. Later versions only add bits. */
#ifndef WHEELSOIL_WHEELSOIL_H
#define WHEELSOIL_WHEELSOIL_H

#include <stddef.h>

#include "export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Slot indices: input[WHEELSOIL_TALVOR_IN_radius] = 0.13, and the counts
   WHEELSOIL_TALVOR_INPUTS (29), WHEELSOIL_TALVOR_OUTPUTS (18),
   WHEELSOIL_PINDREL_INPUTS (20). */
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) \
  WHEELSOIL_TALVOR_IN_##name,
enum wheelsoil_talvor_input_slot {
#include "talvor_input.def"
  WHEELSOIL_TALVOR_INPUTS
};
#undef WHEELSOIL_SLOT
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) \
  WHEELSOIL_TALVOR_OUT_##name,
enum wheelsoil_talvor_output_slot {
#include "talvor_output.def"
  WHEELSOIL_TALVOR_OUTPUTS
};
#undef WHEELSOIL_SLOT
#define WHEELSOIL_SLOT(name, symbol, unit, kind, value, copy_of, meaning, range) \
  WHEELSOIL_PINDREL_IN_##name,
enum wheelsoil_pindrel_input_slot {
#include "pindrel_input.def"
  WHEELSOIL_PINDREL_INPUTS
};
#undef WHEELSOIL_SLOT

/* What a call returns. The numbers are stable. */
enum wheelsoil_status {
  WHEELSOIL_OK = 0,
  WHEELSOIL_ERROR_NULL_POINTER = 1,  /* a pointer the call needs is NULL */
  WHEELSOIL_ERROR_SHORT_INPUT = 2,   /* fewer input values than the model reads */
  WHEELSOIL_ERROR_FLAGS = 3,         /* flags holds a bit this library does not know */
  WHEELSOIL_ERROR_THREADS = 4,       /* a thread count above WHEELSOIL_MAX_THREADS */
  WHEELSOIL_ERROR_VIEW = 5,          /* an input view larger than the address space */
  WHEELSOIL_ERROR_OPTIONS = 6,       /* an operating-point option out of its range */
  WHEELSOIL_ERROR_OUT_OF_MEMORY = 7, /* memory ran out; outputs are incomplete */
  WHEELSOIL_ERROR_UNAVAILABLE = 8,   /* the operating point or the vector maths is not built in */
  WHEELSOIL_ERROR_INTERNAL = 9,      /* anything else went wrong; outputs are incomplete */
  WHEELSOIL_STOPPED = 10             /* the progress function stopped a batch early */
};

/* The known option bits of `flags`.
   WHEELSOIL_MATH_VECTOR (talvor and its batches only; refused elsewhere with
   WHEELSOIL_ERROR_FLAGS): every elementary function from SLEEF's
   deterministic vector functions instead of the C library's, on the widest
   vector unit of the CPU. Several times faster; the same bits on every x86-64
   machine and vector unit; within 1e-11 of the default relative to the
   case's largest load (not the bits of talvor(p)). WHEELSOIL_ERROR_UNAVAILABLE
   where the library is built without it.
   WHEELSOIL_DIRECTION_AWARE (talvor, its batches and wheelsoil_talvor_contact):
   a wheel travelling in -x (vx < 0, or vx = +-0 and wy < 0: spinning in
   place backwards) is evaluated in the frame mirrored about its y-z plane
   (vx, wy, wz negated) and the loads mapped back (the x forces and the y and
   z moments negated), so that it gets the loads of the mirror image of the
   same wheel travelling forward, bit for bit. A wheel with vx >= 0 (vx = +-0
   with wy >= 0, at rest included) is evaluated as without the bit.
   WHEELSOIL_SPLIT_RULE (talvor and its batches): each rim strip is split at
   the maximum-stress angles (and the band's entry and exit angles) inside it
   and the 30-point rule applied on each piece, which removes the fixed rule's
   error of up to about 1e-3 of the load at the stress peak's kink and the
   slope breaks it leaves in slip curves; the sidewalls as by default. About
   3 times the cost of the default (1.4 to 9.4 over bench/talvor_bench's cases). Not with
   WHEELSOIL_MATH_VECTOR (refused with WHEELSOIL_ERROR_FLAGS): the split rule takes the C library's
   functions. */
#define WHEELSOIL_DEFAULTS 0u
#define WHEELSOIL_MATH_VECTOR 1u
#define WHEELSOIL_DIRECTION_AWARE 2u
#define WHEELSOIL_SPLIT_RULE 4u
#define WHEELSOIL_KNOWN_FLAGS \
  (WHEELSOIL_MATH_VECTOR | WHEELSOIL_DIRECTION_AWARE | WHEELSOIL_SPLIT_RULE)

/* The most threads a batch starts. */
#define WHEELSOIL_MAX_THREADS 1024u

/* The library's version, "MAJOR.MINOR.PATCH". */
WHEELSOIL_API const char *wheelsoil_version(void);

/* What a status means, in a sentence; a message for unknown codes too. */
WHEELSOIL_API const char *wheelsoil_error_message(int code);

/* talvor: output[0..17] from input[0..28]; n_input is the length of input (at
   least 29; values past the 29th are not read). */
WHEELSOIL_API int wheelsoil_talvor(const double *input, size_t n_input, double *output);
WHEELSOIL_API int wheelsoil_talvor_ex(const double *input, size_t n_input, double *output,
                                      unsigned flags);

/* Contact diagnostics of talvor for one input (n_input at least 29): the
   geometry at the 30 lateral positions of the rim rule, y[k] from +b/2 towards
   -b/2 in the rule's order. Angles in rad, theta from the downward vertical,
   positive forward; sinkages in m. */
#define WHEELSOIL_CONTACT_STRIPS 30
typedef struct wheelsoil_contact {
  double slip_ratio;                                      /* s, 2 where undefined */
  double y[WHEELSOIL_CONTACT_STRIPS];                     /* lateral position (m) */
  double sinkage[WHEELSOIL_CONTACT_STRIPS];               /* z(y) (m) */
  double entry_angle[WHEELSOIL_CONTACT_STRIPS];           /* theta_1, outer surface */
  double max_stress_angle[WHEELSOIL_CONTACT_STRIPS];      /* theta_m */
  double exit_angle[WHEELSOIL_CONTACT_STRIPS];            /* theta_2 */
  double band_entry_angle[WHEELSOIL_CONTACT_STRIPS];      /* theta_b1, band surface */
  double band_max_stress_angle[WHEELSOIL_CONTACT_STRIPS]; /* theta_bm */
  double band_exit_angle[WHEELSOIL_CONTACT_STRIPS];       /* theta_b2 */
  double side_sinkage_plus;                               /* z at y = +b/2 (m) */
  double side_sinkage_minus;                              /* z at y = -b/2 (m) */
} wheelsoil_contact;

/* The rim stresses along theta: five caller buffers of n_y * n_theta doubles
   each (any may be NULL when not wanted), the value at (y[i], theta[j]) at
   index i * n_theta + j. */
typedef struct wheelsoil_stress_profile {
  double *normal_stress;        /* sigma (Pa) */
  double *shear_stress_x;       /* tau_x, along increasing theta (Pa) */
  double *shear_stress_y;       /* tau_y, with the point's lateral slip (Pa) */
  double *shear_displacement_x; /* j_x (m) */
  double *shear_displacement_y; /* j_y (m) */
} wheelsoil_stress_profile;

/* contact (if not NULL) receives the geometry; profile (if not NULL) the
   stresses at the n_y lateral positions y (m) and n_theta angles theta (rad);
   y and theta may be NULL when their count is 0. flags: 0 or
   WHEELSOIL_DIRECTION_AWARE (a wheel travelling in -x evaluated mirrored and
   mapped back: angles negated, so its entry angle lies at -x, and tau_x and j_x
   negated); WHEELSOIL_SPLIT_RULE is accepted and changes nothing here;
   WHEELSOIL_MATH_VECTOR is refused (the diagnostics take the C library's
   functions, the bits of the default evaluation). WHEELSOIL_ERROR_VIEW when
   n_y * n_theta overflows. */
WHEELSOIL_API int wheelsoil_talvor_contact(const double *input, size_t n_input, unsigned flags,
                                           wheelsoil_contact *contact, const double *y, size_t n_y,
                                           const double *theta, size_t n_theta,
                                           const wheelsoil_stress_profile *profile);

/* pindrel: *load from input[0..19]; n_input at least 20. */
WHEELSOIL_API int wheelsoil_pindrel(const double *input, size_t n_input, double *load);
WHEELSOIL_API int wheelsoil_pindrel_ex(const double *input, size_t n_input, double *load,
                                       unsigned flags);

/* Called between blocks of a batch, on the thread that called the batch, with
   the number of items finished so far and the total. Return 0 to go on,
   nonzero to stop: the batch then finishes the blocks in progress and returns
   WHEELSOIL_STOPPED. */
typedef int (*wheelsoil_progress)(void *context, size_t done, size_t total);

/* Batches over count vectors stored one after another: talvor reads
   input[29k .. 29k+28] and writes output[18k .. 18k+17], pindrel reads
   input[20k .. 20k+19] and writes output[k], for k < count. threads: 0 one per
   hardware thread, else at most that many (never more than there is work
   for; at most WHEELSOIL_MAX_THREADS). The bits do not depend on it. With
   count 0 the pointers may be NULL. */
WHEELSOIL_API int wheelsoil_talvor_batch(const double *input, size_t count, double *output,
                                         unsigned threads);
WHEELSOIL_API int wheelsoil_pindrel_batch(const double *input, size_t count, double *output,
                                          unsigned threads);

/* The general batch: input vector k, slot j is
   input[k * vector_stride + j * slot_stride] (strides in doubles, either sign,
   0 repeats), so a row-major count x 29 array is (29, 1) and a column-major
   one (1, count). Outputs as above. progress may be NULL. *done (if done is
   not NULL) is set to the number of items finished: all of them on success;
   on WHEELSOIL_STOPPED those of a prefix, items [0, *done), the rest
   unwritten. */
WHEELSOIL_API int wheelsoil_talvor_batch_ex(const double *input, size_t count,
                                            ptrdiff_t vector_stride, ptrdiff_t slot_stride,
                                            double *output, unsigned threads, unsigned flags,
                                            wheelsoil_progress progress, void *context,
                                            size_t *done);
WHEELSOIL_API int wheelsoil_pindrel_batch_ex(const double *input, size_t count,
                                             ptrdiff_t vector_stride, ptrdiff_t slot_stride,
                                             double *output, unsigned threads, unsigned flags,
                                             wheelsoil_progress progress, void *context,
                                             size_t *done);

/* The operating point: the centre height (slot centre_height) at which the
   soil carries a vertical load W, rim_fz + side_fz = W, every other slot used
   as given. */

/* How a solve ended (wheelsoil_equilibrium_result.status). */
enum wheelsoil_equilibrium_status {
  WHEELSOIL_EQ_CONVERGED = 0,        /* rim_fz + side_fz = W within the tolerance */
  WHEELSOIL_EQ_INVALID_LOAD = 1,     /* W not finite or not positive */
  WHEELSOIL_EQ_INVALID_WHEEL = 2,    /* radius or width not finite and positive, |tilt_sine| >= 1 */
  WHEELSOIL_EQ_LOAD_NOT_CARRIED = 3, /* even one radius of sinkage carries less than W */
  WHEELSOIL_EQ_NON_FINITE_LOADS = 4, /* the model gave a non-finite load during the search */
  WHEELSOIL_EQ_NOT_CONVERGED = 5     /* no height within the tolerance */
};

typedef struct wheelsoil_equilibrium_options {
  double tolerance;   /* accepted |F - W| / W, finite and >= 0; default 1e-10 */
  int max_iterations; /* model evaluations allowed, >= 1; default 100 */
  int check_monotone; /* nonzero: probe the force a little above and below the root */
  /* The most |F - W| / W still reported as converged, with the residual in the
     message, where the tolerance cannot be met (the force changes by more than
     that between adjacent centre heights, or the evaluations run out); finite
     and >= tolerance; default 1e-6. */
  double accepted_tolerance;
} wheelsoil_equilibrium_options;

/* The defaults: 1e-10, 100, 1, 1e-6. */
WHEELSOIL_API wheelsoil_equilibrium_options wheelsoil_equilibrium_defaults(void);

typedef struct wheelsoil_equilibrium_result {
  int status;           /* a wheelsoil_equilibrium_status */
  int converged;        /* 1 when status is WHEELSOIL_EQ_CONVERGED */
  int monotone;         /* 0: the force does not fall steadily through W at the root */
  int iterations;       /* model evaluations used */
  double centre_height; /* the solved height (m); the best one found otherwise, NaN if none */
  double sinkage;       /* at the wheel's mid-plane (m) */
  double max_sinkage;   /* at its lowest edge (m) */
  double vertical_load; /* rim_fz + side_fz at centre_height (N) */
  double residual;      /* vertical_load - W (N) */
  double loads[18];     /* the talvor loads at centre_height */
  char message[512];    /* what happened, in words, NUL-terminated */
} wheelsoil_equilibrium_result;

/* One solve; options NULL for the defaults. Returns nonzero only for bad
   arguments: an operating point that is not found is a result with its
   status and message. */
WHEELSOIL_API int wheelsoil_equilibrium(const double *input, size_t n_input, double load,
                                        wheelsoil_equilibrium_result *result);
WHEELSOIL_API int wheelsoil_equilibrium_ex(const double *input, size_t n_input, double load,
                                           const wheelsoil_equilibrium_options *options,
                                           unsigned flags, wheelsoil_equilibrium_result *result);

/* count solves: input vector k as in wheelsoil_talvor_batch_ex, load
   loads[k * load_stride] (load_stride 0: one load for all), results[k]. */
WHEELSOIL_API int wheelsoil_equilibrium_batch(const double *input, size_t count,
                                              ptrdiff_t vector_stride, ptrdiff_t slot_stride,
                                              const double *loads, ptrdiff_t load_stride,
                                              const wheelsoil_equilibrium_options *options,
                                              unsigned threads, unsigned flags,
                                              wheelsoil_progress progress, void *context,
                                              wheelsoil_equilibrium_result *results, size_t *done);

/* The slot tables. */
enum wheelsoil_layout {
  WHEELSOIL_LAYOUT_TALVOR_INPUT = 0,
  WHEELSOIL_LAYOUT_TALVOR_OUTPUT = 1,
  WHEELSOIL_LAYOUT_PINDREL_INPUT = 2,
  WHEELSOIL_LAYOUT_PINDREL_OUTPUT = 3
};

/* How an input slot that a caller leaves out is filled. */
enum wheelsoil_default_kind {
  WHEELSOIL_REQUIRED = 0, /* no default */
  WHEELSOIL_FIXED = 1,    /* default_value */
  WHEELSOIL_COPY = 2,     /* the value of the slot named copy_of */
  WHEELSOIL_RESULT = 3    /* an output slot */
};

typedef struct wheelsoil_slot_info {
  const char *name;
  const char *symbol;   /* "" where the formulas have none */
  const char *unit;     /* "-" for a pure number */
  int kind;             /* a wheelsoil_default_kind */
  double default_value; /* for WHEELSOIL_FIXED */
  const char *copy_of;  /* for WHEELSOIL_COPY, else "" */
  const char *meaning;
  const char *typical_range; /* "" where none is typical */
} wheelsoil_slot_info;

/* The number of slots of a layout (0 for an unknown one), and slot index of
   it (NULL when out of range). Read entries through the pointer: later
   versions may add members at the end. */
WHEELSOIL_API size_t wheelsoil_slot_count(int layout);
WHEELSOIL_API const wheelsoil_slot_info *wheelsoil_slot(int layout, size_t index);

/* A soil of the library: published values and, converted, the SI ones the
   models take. */
typedef struct wheelsoil_soil_info {
  const char *name;
  const char *description;
  double sinkage_exponent;   /* n (-) */
  double k_c;                /* N/m^(n+1) (published kN/m^(n+1) x 1000) */
  double k_phi;              /* N/m^(n+2) (published kN/m^(n+2) x 1000) */
  double cohesion;           /* Pa (published kPa x 1000) */
  double friction_angle;     /* rad (published degrees x pi / 180) */
  double shear_modulus;      /* K (m), kx = ky = K for talvor */
  double density;            /* kg/m^3 */
  int shear_modulus_typical; /* 1: not published with the soil, the typical value of its class */
  int density_typical;       /* the same for the density */
  const char *source;
  const char *notes;
} wheelsoil_soil_info;

WHEELSOIL_API size_t wheelsoil_soil_count(void);
/* Soil index (NULL when out of range), or the soil called name (NULL if none). */
WHEELSOIL_API const wheelsoil_soil_info *wheelsoil_soil(size_t index);
WHEELSOIL_API const wheelsoil_soil_info *wheelsoil_find_soil(const char *name);

#ifdef __cplusplus
}
#endif

#endif
