# cmake -DPROBE=... -DPROGRAM=... -DARGS="a;b" -P run_m32.cmake
# Runs a 32-bit program where the machine can run one (PROBE, a trivial 32-bit
# program, exits 0) and fails with its output when it fails. On a kernel
# without 32-bit support it says so and the test is counted as skipped: the
# 32-bit build was still compiled and linked.
cmake_minimum_required(VERSION 3.21)
include(${CMAKE_CURRENT_LIST_DIR}/m32_probe.cmake)
wheelsoil_require_m32_kernel(${PROBE})
if(NOT wheelsoil_m32_runs)
  return()
endif()
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${rc})")
endif()
