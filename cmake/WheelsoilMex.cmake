# wheelsoil_add_mex(NAME GATEWAY [CORE] [LINK items...]): the MEX function
# NAME from the gateway source GATEWAY, linked with the static core library
# CORE if given, and with the LINK items (library files or -l flags for
# mkoctfile; targets or files for MATLAB), for each host found.
#   Octave: ${CMAKE_BINARY_DIR}/octave/NAME.mex, built by mkoctfile --mex.
#   MATLAB: ${CMAKE_BINARY_DIR}/matlab/NAME.<mexext>, by matlab_add_mex, with the
#           compatible (32-bit index) array API, so the gateway imports
#           mxCreateDoubleMatrix_700. On Windows the MEX file is a DLL, a
#           runtime output: both output folders are set.
# Every MEX file gets the project's floating-point and warning flags.

set(WHEELSOIL_OCTAVE_DIR ${CMAKE_BINARY_DIR}/octave)
set(WHEELSOIL_MATLAB_DIR ${CMAKE_BINARY_DIR}/matlab)

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

# The MEX files built, for installing.
set_property(GLOBAL PROPERTY WHEELSOIL_MATLAB_TARGETS "")

# NAME may name a subfolder, as in private/NAME for a function only the
# helpers beside it can call.
function(wheelsoil_add_mex path gateway)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  set(core ${ARG_UNPARSED_ARGUMENTS})
  set(gateway_path ${CMAKE_CURRENT_SOURCE_DIR}/${gateway})
  get_filename_component(name ${path} NAME)
  get_filename_component(subdir ${path} DIRECTORY)
  if(WHEELSOIL_OCTAVE AND MKOCTFILE_EXECUTABLE)
    set(out ${WHEELSOIL_OCTAVE_DIR}/${path}.mex)
    set(include_flags -I${PROJECT_SOURCE_DIR}/include)
    set(core_file)
    if(core)
      get_target_property(core_includes ${core} INTERFACE_INCLUDE_DIRECTORIES)
      foreach(dir IN LISTS core_includes)
        list(APPEND include_flags -I${dir})
      endforeach()
      set(core_file $<TARGET_FILE:${core}>)
    endif()
    # libraries the cores need beyond the C++ runtime (SLEEF for the vector maths)
    get_property(mex_libs GLOBAL PROPERTY WHEELSOIL_MEX_LIBS)
    set(flags -O2 -std=c++17 ${WHEELSOIL_FP_FLAGS} ${WHEELSOIL_WARNINGS})
    if(WHEELSOIL_SANITIZE)
      list(APPEND flags -fsanitize=${WHEELSOIL_SANITIZE})
    endif()
    list(JOIN flags " " flags)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${WHEELSOIL_OCTAVE_DIR}/${subdir}
      COMMAND ${CMAKE_COMMAND} -E env "CXXFLAGS=${flags}"
              ${MKOCTFILE_EXECUTABLE} --mex ${include_flags} -o ${out}
              ${gateway_path} ${core_file} ${ARG_LINK} ${mex_libs} -lpthread
      DEPENDS ${gateway_path} ${core}
      IMPLICIT_DEPENDS CXX ${gateway_path}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      COMMENT "mkoctfile --mex ${name}"
      VERBATIM)
    add_custom_target(${name}_octave ALL DEPENDS ${out})
  endif()
  if(Matlab_FOUND)
    set(link)
    if(core OR ARG_LINK)
      set(link LINK_TO ${core} ${ARG_LINK})
    endif()
    matlab_add_mex(NAME ${name}_matlab SRC ${gateway_path} OUTPUT_NAME ${name} ${link} R2017b)
    target_include_directories(${name}_matlab PRIVATE ${PROJECT_SOURCE_DIR}/include)
    target_compile_definitions(${name}_matlab PRIVATE MX_COMPAT_32)
    set_target_properties(${name}_matlab PROPERTIES
                          LIBRARY_OUTPUT_DIRECTORY ${WHEELSOIL_MATLAB_DIR}/${subdir}
                          RUNTIME_OUTPUT_DIRECTORY ${WHEELSOIL_MATLAB_DIR}/${subdir})
    set_property(GLOBAL APPEND PROPERTY WHEELSOIL_MATLAB_TARGETS ${name}_matlab)
  endif()
endfunction()
