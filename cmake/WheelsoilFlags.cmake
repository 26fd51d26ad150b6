# Compiler flags, per compiler. Directory options of this project only: they
# reach our targets, never a consumer's.
#
# WHEELSOIL_FP_FLAGS: results are fixed to the last bit by the grouping of
# every expression: no contraction into fused multiply-adds, no
# value-changing optimisation. add_compile_options puts them after the user's
# CMAKE_CXX_FLAGS, so they win over -ffast-math or -ffp-contract=fast there;
# the model sources also carry the guarantee themselves (api/strict_fp.h).
# WHEELSOIL_WARNINGS: the warning set every target is built with.
if(MSVC)
  # /fp:precise: no value-changing optimisation, and (VS 2022) no contraction
  # unless /fp:contract is given; /utf-8 for the sources' text.
  set(WHEELSOIL_FP_FLAGS /fp:precise)
  set(WHEELSOIL_WARNINGS /W4 /permissive- /utf-8)
  if(WHEELSOIL_WERROR)
    list(APPEND WHEELSOIL_WARNINGS /WX)
  endif()
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(WHEELSOIL_FP_FLAGS -ffp-contract=off -fno-fast-math)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC's SLP vectoriser forms fused multiply-add pairs (vfmaddsub) even
    # under -ffp-contract=off once FMA is enabled (-mfma, -march=native).
    list(APPEND WHEELSOIL_FP_FLAGS -fno-tree-slp-vectorize)
  endif()
  set(WHEELSOIL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(WHEELSOIL_WERROR)
    list(APPEND WHEELSOIL_WARNINGS -Werror)
  endif()
else()
  message(WARNING "${CMAKE_CXX_COMPILER_ID} is not a compiler this project knows: make sure "
                  "it neither contracts a * b + c into a fused multiply-add nor reassociates")
  set(WHEELSOIL_FP_FLAGS)
  set(WHEELSOIL_WARNINGS)
endif()
add_compile_options(${WHEELSOIL_FP_FLAGS} ${WHEELSOIL_WARNINGS})

if(WHEELSOIL_SANITIZE)
  add_compile_options(-fsanitize=${WHEELSOIL_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${WHEELSOIL_SANITIZE})
endif()
if(WHEELSOIL_FUZZ)
  # Coverage feedback from every library the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# wheelsoil_hide(TARGET...): only what WHEELSOIL_API marks leaves a shared
# object built from these targets.
function(wheelsoil_hide)
  set_target_properties(${ARGN} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                           C_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
endfunction()
