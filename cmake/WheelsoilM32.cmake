# 32-bit x86 builds beside the 64-bit ones, with the same compiler.
#
# -msse2 -mfpmath=sse keeps every intermediate a double (no x87 extended
# precision), so the model's own arithmetic rounds as in the 64-bit build;
# -ffp-contract=off comes from the top-level options.

set(WHEELSOIL_M32_FLAGS -m32 -msse2 -mfpmath=sse)

# wheelsoil_check_m32(VAR): VAR is true when a trivial C++ program compiles and
# links with the 32-bit flags (g++-multilib present), with the sanitizers of the
# build if any.
function(wheelsoil_check_m32 var)
  if(DEFINED CACHE{${var}})
    return()
  endif()
  include(CheckCXXSourceCompiles)
  set(flags ${WHEELSOIL_M32_FLAGS})
  if(WHEELSOIL_SANITIZE)
    list(APPEND flags -fsanitize=${WHEELSOIL_SANITIZE})
  endif()
  list(JOIN flags " " CMAKE_REQUIRED_FLAGS)
  set(CMAKE_REQUIRED_LINK_OPTIONS ${flags})
  set(CMAKE_REQUIRED_QUIET ON)
  check_cxx_source_compiles(
    "#include <cstdio>\n#include <dlfcn.h>\nint main() { std::printf(\"%p\", dlopen(nullptr, RTLD_NOW)); return sizeof(void *) == 4 ? 0 : 1; }"
    ${var})
endfunction()

# wheelsoil_m32_target(TARGET): build TARGET for 32-bit x86.
function(wheelsoil_m32_target target)
  target_compile_options(${target} PRIVATE ${WHEELSOIL_M32_FLAGS})
  target_link_options(${target} PRIVATE ${WHEELSOIL_M32_FLAGS})
endfunction()

# wheelsoil_add_host_mex(TARGET DIR SOURCES...): a MEX shared module for our own
# host layer, ${CMAKE_BINARY_DIR}/DIR/<OUTPUT_NAME>.so. Like a real MEX it
# exports mexFunction alone and leaves the mx and mex functions undefined, for
# the program that loads it to provide.
function(wheelsoil_add_host_mex target dir)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES
                        PREFIX ""
                        SUFFIX ".so"
                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${dir}
                        LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/mex_exports.map)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/host)
  target_link_options(${target} PRIVATE
                      -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/mex_exports.map)
endfunction()
