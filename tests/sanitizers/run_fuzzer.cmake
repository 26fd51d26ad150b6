# cmake -DFUZZER=program -DSEEDS=dir -DWORK=dir -DARGS=a|b -P run_fuzzer.cmake
# One short fuzzing run: starts from the committed seeds with an empty corpus
# in WORK (so every CI run starts alike), keeps any failing input in
# WORK/findings/ and fails when the fuzzer reports a finding.
string(REPLACE "|" ";" ARGS "${ARGS}")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
execute_process(COMMAND ${FUZZER} ${ARGS} -artifact_prefix=${WORK}/findings/
                        ${WORK}/corpus ${SEEDS}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(GLOB findings ${WORK}/findings/*)
  message(FATAL_ERROR "${FUZZER} found a failing input (${status}): ${findings}")
endif()
