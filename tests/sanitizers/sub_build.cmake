# cmake -DSOURCE=dir -DBINARY=dir -DOPTIONS=a|b|c [-DCOMPILERS=cc|c++] [-DTARGETS=t1|t2]
#       -P sub_build.cmake
# Configures and builds a build of SOURCE in BINARY with OPTIONS, for the
# sanitizer and fuzzing tests: all of TARGETS, or everything. COMPILERS are
# those of a new BINARY; an existing one keeps its own.
string(REPLACE "|" ";" OPTIONS "${OPTIONS}")
string(REPLACE "|" ";" COMPILERS "${COMPILERS}")
string(REPLACE "|" ";" TARGETS "${TARGETS}")
set(env)
if(COMPILERS)
  list(GET COMPILERS 0 cc)
  list(GET COMPILERS 1 cxx)
  set(env ${CMAKE_COMMAND} -E env CC=${cc} CXX=${cxx})
endif()
execute_process(COMMAND ${env} ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} ${OPTIONS}
                RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring ${BINARY} failed")
endif()
set(target_args)
if(TARGETS)
  set(target_args --target ${TARGETS})
endif()
include(ProcessorCount)
ProcessorCount(jobs)
if(jobs EQUAL 0)
  set(jobs 2)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} -j ${jobs} ${target_args}
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building ${BINARY} failed")
endif()
