# Run by ctest through cmake -P. The prefix and the consumer's build folder live in WORK_DIR, which
# is removed afterwards, whatever the outcome.
set(prefix ${WORK_DIR}/prefix)
set(consumer_build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})

function(run_step description)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE_RECURSE ${WORK_DIR})
    message(FATAL_ERROR "${description} failed (${result}):\n${output}")
  endif()
endfunction()

run_step("Installing ${BUILD_DIR} into ${prefix}" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run_step("Configuring the consumer"
         ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${consumer_build} -G ${GENERATOR}
         -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
         -DCMAKE_PREFIX_PATH=${prefix}
         # A sanitized library needs its runtime in the executable that loads it.
         -DCMAKE_CXX_FLAGS=${SANITIZER_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${SANITIZER_FLAGS})
run_step("Building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
run_step("Running the consumer" ${consumer_build}/consumer)
file(REMOVE_RECURSE ${WORK_DIR})
