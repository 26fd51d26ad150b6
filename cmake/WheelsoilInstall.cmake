# What `cmake --install` puts under the prefix:
#   include/wheelsoil/          the public headers and slot/soil definitions
#   lib/libwheelsoil.so.X.Y.Z   shared library (SONAME libwheelsoil.so.X.Y), and
#   lib/libwheelsoil.a          the same as an archive
#   lib/cmake/wheelsoil/        the CMake package: wheelsoil::wheelsoil,
#                               wheelsoil::wheelsoil_static, with its version file
#   lib/pkgconfig/wheelsoil.pc  for pkg-config
#   bin/wheelsoil               the command-line tool
#   share/wheelsoil/octave/     the Octave MEX files and their .m helpers
#   share/wheelsoil/matlab/     the MATLAB MEX files and helpers, when MATLAB was found
#   share/doc/wheelsoil/        the library's documentation
include(CMakePackageConfigHelpers)

set(WHEELSOIL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/wheelsoil)
set(WHEELSOIL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/wheelsoil)

install(TARGETS wheelsoil wheelsoil_static
        EXPORT wheelsoilTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The fits: a static library that needs Ceres Solver where it is linked.
if(TARGET wheelsoil_fit)
  install(TARGETS wheelsoil_fit EXPORT wheelsoilTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/wheelsoil
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp" PATTERN "*.def")
install(FILES ${PROJECT_BINARY_DIR}/include/wheelsoil/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/wheelsoil)

install(EXPORT wheelsoilTargets NAMESPACE wheelsoil:: DESTINATION ${WHEELSOIL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/wheelsoilConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/wheelsoilConfig.cmake
                              INSTALL_DESTINATION ${WHEELSOIL_CMAKE_DIR})
# 0.x: a minor release may change the C++ records, so only the same minor
# version is compatible until 1.0.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/wheelsoilConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/wheelsoilConfig.cmake
              ${PROJECT_BINARY_DIR}/wheelsoilConfigVersion.cmake
        DESTINATION ${WHEELSOIL_CMAKE_DIR})

# pkg-config: paths relative to the .pc file, so that the package may be
# installed under any prefix (cmake --install --prefix) and moved.
file(RELATIVE_PATH WHEELSOIL_PC_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
set(WHEELSOIL_PC_PREFIX "\${pcfiledir}/${WHEELSOIL_PC_PREFIX}")
# the static library's users link SLEEF as well, where the vector maths is built
set(WHEELSOIL_PC_PRIVATE_LIBS)
if(WHEELSOIL_VECTOR_LIBRARIES)
  set(WHEELSOIL_PC_PRIVATE_LIBS -lsleef)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wheelsoil.pc.in ${PROJECT_BINARY_DIR}/wheelsoil.pc
               @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/wheelsoil.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET wheelsoil_tool)
  install(TARGETS wheelsoil_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The MEX files and their helpers: each host's whole folder (addpath it).
if(WHEELSOIL_OCTAVE AND MKOCTFILE_EXECUTABLE)
  install(DIRECTORY ${WHEELSOIL_OCTAVE_DIR}/ DESTINATION ${WHEELSOIL_SHARE_DIR}/octave
          FILES_MATCHING PATTERN "*.mex" PATTERN "*.m")
endif()
get_property(wheelsoil_matlab_targets GLOBAL PROPERTY WHEELSOIL_MATLAB_TARGETS)
if(wheelsoil_matlab_targets)
  foreach(target IN LISTS wheelsoil_matlab_targets)
    get_target_property(dir ${target} LIBRARY_OUTPUT_DIRECTORY)
    file(RELATIVE_PATH sub ${WHEELSOIL_MATLAB_DIR} ${dir})
    # A DLL on Windows is a runtime output, a shared object elsewhere a library one.
    install(TARGETS ${target}
            LIBRARY DESTINATION ${WHEELSOIL_SHARE_DIR}/matlab/${sub}
            RUNTIME DESTINATION ${WHEELSOIL_SHARE_DIR}/matlab/${sub})
  endforeach()
  install(DIRECTORY ${WHEELSOIL_MATLAB_DIR}/ DESTINATION ${WHEELSOIL_SHARE_DIR}/matlab
          FILES_MATCHING PATTERN "*.m")
endif()

install(FILES ${PROJECT_SOURCE_DIR}/docs/library.md ${PROJECT_SOURCE_DIR}/docs/fitting.md
              ${PROJECT_SOURCE_DIR}/docs/talvor_slots.md
              ${PROJECT_SOURCE_DIR}/docs/pindrel_slots.md ${PROJECT_SOURCE_DIR}/docs/soils.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
