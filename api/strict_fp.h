// The models' results are fixed to the last bit by the grouping of every
// expression: no fused multiply-add may replace a multiply and an add,
// whatever flags the sources are built with (-march=native, -mfma). Include
// this FIRST in every source file of a model, before any other header, so
// that every function of the file is compiled alike (GCC inlines only between
// functions with the same optimisation options).
//
// - GCC 12 honours -ffp-contract=off in general, but its SLP vectoriser fuses
//   pairs such as (a b - c d, a d + b c) into vfmaddsub/vfmsubadd anyway when
//   FMA is enabled: it is switched off for these files. The build adds
//   -ffp-contract=off as well.
// - Clang contracts within an expression by default (-ffp-contract=on); the
//   standard pragma turns that off. (An explicit -ffp-contract=fast is not
//   overridden by it; the build appends -ffp-contract=off after user flags.)
// - MSVC: /fp:precise does not contract since Visual Studio 2022 unless
//   /fp:contract is given; the pragma refuses it in any case.
#ifndef WHEELSOIL_API_STRICT_FP_H
#define WHEELSOIL_API_STRICT_FP_H

#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off", "no-tree-slp-vectorize")
#elif defined(_MSC_VER)
#pragma fp_contract(off)
#pragma float_control(precise, on)
#endif

#endif
