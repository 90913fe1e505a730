# cmake -DSOURCE_DIR=... -DBINARY_DIR=... -DPACKAGE_DIR=... [-DINSTALL_FROM=build dir]
#       [-DGENERATOR=...] -P RunConsumer.cmake
# Configures the consumer against the kivworkspace package in PACKAGE_DIR (a build tree, or
# an install prefix that INSTALL_FROM is first installed into), builds it and runs both of
# its programs.
file(REMOVE_RECURSE "${BINARY_DIR}")
set(generator_args)
if(GENERATOR)
  set(generator_args -G "${GENERATOR}")
endif()
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()
if(INSTALL_FROM)
  file(REMOVE_RECURSE "${PACKAGE_DIR}")
  run(${CMAKE_COMMAND} --install "${INSTALL_FROM}" --prefix "${PACKAGE_DIR}")
endif()
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BINARY_DIR}" ${generator_args}
    "-DCMAKE_PREFIX_PATH=${PACKAGE_DIR}")
run(${CMAKE_COMMAND} --build "${BINARY_DIR}")
run("${BINARY_DIR}/consumer_shared")
run("${BINARY_DIR}/consumer_core")
