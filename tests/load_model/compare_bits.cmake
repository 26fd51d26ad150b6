# cmake -DPROGRAM_32=... -DMODULE_32=... -DPROGRAM_64=... -DMODULE_64=... -DNM=...
#       -DOUT_DIR=... -DPROBE=... -P compare_bits.cmake
# Runs the 32-bit and the 64-bit pindrel_bits on their modules and requires the
# same output byte for byte. The modules must carry their own elementary
# functions (none imported from the C library), so that only the model's own
# arithmetic is compared.
cmake_minimum_required(VERSION 3.21)
foreach(var PROGRAM_32 MODULE_32 PROGRAM_64 MODULE_64 NM OUT_DIR PROBE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

foreach(module ${MODULE_32} ${MODULE_64})
  execute_process(COMMAND ${NM} -D --undefined-only ${module}
                  OUTPUT_VARIABLE undefined RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${module}")
  endif()
  foreach(fn sin cos tan sincos exp pow)
    if(undefined MATCHES "[ \n]U ${fn}(@|\n)")
      message(FATAL_ERROR "${module} imports ${fn}: its results would depend on the C library")
    endif()
  endforeach()
endforeach()

# Where the kernel cannot run 32-bit programs, the comparison is skipped.
include(${CMAKE_CURRENT_LIST_DIR}/m32_probe.cmake)
wheelsoil_require_m32_kernel(${PROBE})
if(NOT wheelsoil_m32_runs)
  return()
endif()

foreach(arch 32 64)
  execute_process(COMMAND ${PROGRAM_${arch}} ${MODULE_${arch}}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out_${arch} ERROR_VARIABLE err)
  file(WRITE ${OUT_DIR}/pindrel_bits_${arch}.txt "${out_${arch}}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM_${arch}} failed (${rc}): ${err}")
  endif()
  if(out_${arch} STREQUAL "")
    message(FATAL_ERROR "${PROGRAM_${arch}} printed nothing")
  endif()
endforeach()

string(REGEX MATCHALL "[^\n]*\n" lines_32 "${out_32}")
string(REGEX MATCHALL "[^\n]*\n" lines_64 "${out_64}")
list(LENGTH lines_32 n_32)
list(LENGTH lines_64 n_64)
if(NOT out_32 STREQUAL out_64)
  set(shown 0)
  math(EXPR last "${n_32} - 1")
  foreach(i RANGE ${last})
    list(GET lines_32 ${i} a)
    if(i LESS n_64)
      list(GET lines_64 ${i} b)
    else()
      set(b "(missing)\n")
    endif()
    if(NOT a STREQUAL b AND shown LESS 10)
      message("32-bit: ${a}64-bit: ${b}")
      math(EXPR shown "${shown} + 1")
    endif()
  endforeach()
  message(FATAL_ERROR "32-bit and 64-bit outputs differ (${n_32} and ${n_64} lines); "
                      "see ${OUT_DIR}/pindrel_bits_32.txt and _64.txt")
endif()
message(STATUS "${n_32} lines, identical byte for byte")
