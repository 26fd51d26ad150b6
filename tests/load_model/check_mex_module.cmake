# cmake -DMODULE=... -DNM=... -DELF_CLASS=32|64 [-DSANITIZED=ON] -P check_mex_module.cmake
# A MEX module as a host expects it: of the given ELF class, exporting
# mexFunction alone, and importing the mx and mex functions of the host.
cmake_minimum_required(VERSION 3.21)
foreach(var MODULE NM ELF_CLASS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

file(READ ${MODULE} ident LIMIT 5 HEX)
if(ELF_CLASS EQUAL 32)
  set(expected_ident 7f454c4601)
else()
  set(expected_ident 7f454c4602)
endif()
if(NOT ident STREQUAL expected_ident)
  message(FATAL_ERROR "${MODULE} is not a ${ELF_CLASS}-bit ELF file (${ident})")
endif()

execute_process(COMMAND ${NM} -D --undefined-only ${MODULE} OUTPUT_VARIABLE undefined
                RESULT_VARIABLE rc)
execute_process(COMMAND ${NM} -D --defined-only ${MODULE} OUTPUT_VARIABLE defined
                RESULT_VARIABLE rc_defined)
if(NOT rc EQUAL 0 OR NOT rc_defined EQUAL 0)
  message(FATAL_ERROR "${NM} -D failed on ${MODULE}")
endif()

# What the gateway needs of the host, by the names of the compatible array API.
set(host_functions mxCreateDoubleMatrix_700 mxGetPr mexErrMsgTxt mxIsDouble mxIsComplex
                   mxIsSparse mxGetNumberOfElements)
foreach(fn ${host_functions})
  if(NOT undefined MATCHES "[ \n]U ${fn}\n")
    message(FATAL_ERROR "${MODULE} does not import ${fn}")
  endif()
endforeach()
# Every other import is a versioned symbol of the C and C++ runtime libraries.
# A sanitized build also imports the sanitizer runtime's unversioned symbols.
if(NOT SANITIZED)
  string(REGEX MATCHALL "[ \n]U [^ \n@]+\n" plain "${undefined}")
  foreach(line ${plain})
    string(REGEX REPLACE "[ \n]U ([^\n]+)\n" "\\1" name "${line}")
    if(NOT name IN_LIST host_functions)
      message(FATAL_ERROR "${MODULE} imports ${name}, which no host provides")
    endif()
  endforeach()
endif()

string(REGEX MATCHALL "[0-9a-f]+ [A-Za-z] [^\n]+" exports "${defined}")
set(names)
foreach(line ${exports})
  string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" name "${line}")
  list(APPEND names ${name})
endforeach()
if(NOT names STREQUAL "mexFunction")
  message(FATAL_ERROR "${MODULE} exports ${names}; a MEX module exports mexFunction alone")
endif()
message(STATUS "${MODULE}: ${ELF_CLASS}-bit, exports mexFunction, imports ${host_functions}")
