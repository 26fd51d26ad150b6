# wheelsoil_add_mex(NAME GATEWAY CORE): the MEX function NAME from the gateway
# source GATEWAY linked with the static core library CORE, for each host found.
#   Octave: ${CMAKE_BINARY_DIR}/octave/NAME.mex, built by mkoctfile --mex.
#   MATLAB: ${CMAKE_BINARY_DIR}/matlab/NAME.<mexext>, by matlab_add_mex, with the
#           compatible (32-bit index) array API, so the gateway imports
#           mxCreateDoubleMatrix_700.

set(WHEELSOIL_OCTAVE_DIR ${CMAKE_BINARY_DIR}/octave)

if(WHEELSOIL_OCTAVE)
  find_program(MKOCTFILE_EXECUTABLE mkoctfile)
  if(NOT MKOCTFILE_EXECUTABLE)
    message(WARNING "mkoctfile not found (Debian: apt-get install liboctave-dev); "
                    "the Octave MEX files are not built")
  endif()
endif()

if(WHEELSOIL_MATLAB)
  find_package(Matlab QUIET COMPONENTS MX_LIBRARY)
endif()

function(wheelsoil_add_mex name gateway core)
  set(gateway_path ${CMAKE_CURRENT_SOURCE_DIR}/${gateway})
  if(WHEELSOIL_OCTAVE AND MKOCTFILE_EXECUTABLE)
    set(out ${WHEELSOIL_OCTAVE_DIR}/${name}.mex)
    get_target_property(core_includes ${core} INCLUDE_DIRECTORIES)
    set(include_flags)
    foreach(dir IN LISTS core_includes)
      list(APPEND include_flags -I${dir})
    endforeach()
    # libraries the cores need beyond the C++ runtime (SLEEF for the vector maths)
    get_property(mex_libs GLOBAL PROPERTY WHEELSOIL_MEX_LIBS)
    set(sanitize_flags)
    if(WHEELSOIL_SANITIZE)
      set(sanitize_flags -fsanitize=${WHEELSOIL_SANITIZE})
    endif()
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${WHEELSOIL_OCTAVE_DIR}
      COMMAND ${CMAKE_COMMAND} -E env
              "CXXFLAGS=-O2 -std=c++17 -ffp-contract=off -fno-fast-math ${sanitize_flags}"
              ${MKOCTFILE_EXECUTABLE} --mex ${include_flags} -o ${out}
              ${gateway_path} $<TARGET_FILE:${core}> ${mex_libs} -lpthread
      DEPENDS ${gateway_path} ${core}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      COMMENT "mkoctfile --mex ${name}"
      VERBATIM)
    add_custom_target(${name}_octave ALL DEPENDS ${out})
  endif()
  if(Matlab_FOUND)
    matlab_add_mex(NAME ${name}_matlab SRC ${gateway_path} OUTPUT_NAME ${name}
                   LINK_TO ${core} R2017b)
    target_compile_definitions(${name}_matlab PRIVATE MX_COMPAT_32)
    set_target_properties(${name}_matlab PROPERTIES
                          LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/matlab)
  endif()
endfunction()
