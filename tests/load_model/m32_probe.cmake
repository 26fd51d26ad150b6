# wheelsoil_require_m32_kernel(PROBE): sets wheelsoil_m32_runs in the caller's
# scope to whether the 32-bit program PROBE runs; where it does not, prints
# the line that marks the test skipped (SKIP_REGULAR_EXPRESSION).
macro(wheelsoil_require_m32_kernel probe)
  execute_process(COMMAND ${probe} RESULT_VARIABLE wheelsoil_probe_rc OUTPUT_QUIET ERROR_QUIET)
  if(wheelsoil_probe_rc EQUAL 0)
    set(wheelsoil_m32_runs TRUE)
  else()
    set(wheelsoil_m32_runs FALSE)
    message("SKIPPED: this machine cannot run 32-bit x86 programs (its kernel lacks "
            "32-bit support); the 32-bit pindrel was built and its module checked, not run")
  endif()
endmacro()
