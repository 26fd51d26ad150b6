# cmake -DBUILD=dir -DCONFIG=cfg -DWORK=dir -DSOURCE=dir -DGENERATOR=g -DC_COMPILER=cc
#       -DCXX_COMPILER=c++ -DPKG_CONFIG=pkg-config -DREFERENCE=model_bits -DDATA=dir
#       -DVERSION=x.y.z -DOCTAVE=ON|OFF -P install_consumers.cmake
# Installs BUILD into WORK/prefix, checks the layout, then builds and runs the
# outside consumers in SOURCE against it and compares their output with
# REFERENCE --reference-only, byte for byte.
cmake_minimum_required(VERSION 3.21)
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed (${rc}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(config_args)
if(CONFIG)
  set(config_args --config ${CONFIG})
endif()
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} ${config_args})

# The documented layout, and no internal header.
set(expected include/wheelsoil/wheelsoil.h include/wheelsoil/wheelsoil.hpp
             include/wheelsoil/version.h include/wheelsoil/talvor_input.def
             lib/libwheelsoil.a lib/libwheelsoil.so lib/libwheelsoil.so.${VERSION}
             lib/cmake/wheelsoil/wheelsoilConfig.cmake
             lib/cmake/wheelsoil/wheelsoilConfigVersion.cmake lib/pkgconfig/wheelsoil.pc
             bin/wheelsoil)
if(OCTAVE)
  list(APPEND expected share/wheelsoil/octave/talvor.mex share/wheelsoil/octave/talvor_input.m
                       share/wheelsoil/octave/private/wheelsoil_tables.mex)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "${f} is not installed")
  endif()
endforeach()
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
foreach(h IN LISTS headers)
  if(NOT h MATCHES "^wheelsoil/")
    message(FATAL_ERROR "include/${h} is installed outside include/wheelsoil/")
  endif()
endforeach()
run(${prefix}/bin/wheelsoil --version)
if(NOT out STREQUAL "wheelsoil ${VERSION}\n")
  message(FATAL_ERROR "the installed tool says '${out}'")
endif()

run(${REFERENCE} --reference-only)
set(reference "${out}")
function(compare name text)
  file(WRITE ${WORK}/${name}.txt "${text}")
  if(NOT text STREQUAL reference)
    file(WRITE ${WORK}/reference.txt "${reference}")
    message(FATAL_ERROR "${name} does not give the in-tree bits: see ${WORK}/${name}.txt and "
                        "${WORK}/reference.txt")
  endif()
endfunction()

# C++: find_package(wheelsoil 0.2 REQUIRED), the shared and the static library.
run(${CMAKE_COMMAND} -S ${SOURCE}/cpp_consumer -B ${WORK}/cpp -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK}/cpp)
foreach(program cpp_consumer cpp_consumer_static)
  run(${WORK}/cpp/${program} ${DATA})
  compare(${program} "${out}")
endforeach()

# C: pkg-config --cflags --libs wheelsoil, nothing else.
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run(${PKG_CONFIG} --cflags --libs wheelsoil)
string(STRIP "${out}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${PKG_CONFIG} --variable=libdir wheelsoil)
string(STRIP "${out}" libdir)
run(${C_COMPILER} -std=c99 -Wall -Wextra -Wpedantic -Werror ${SOURCE}/c_consumer/main.c
    -o ${WORK}/c_consumer ${flags} -Wl,-rpath,${libdir})
run(${WORK}/c_consumer ${DATA})
compare(c_consumer "${out}")
message(STATUS "installed package: layout, tool, C++ (shared, static) and C consumers agree")
