# cmake -DSOURCE_DIR=... -DBINARY_DIR=... -DPACKAGE_DIR=... [-DINSTALL_FROM=build dir]
#       [-DEXAMPLES_DIR=...] [-DGENERATOR=...] -P RunConsumer.cmake
# Configures the consumer against the kivworkspace package in PACKAGE_DIR (a build tree, or
# an install prefix that INSTALL_FROM is first installed into), builds it and runs its
# programs. With EXAMPLES_DIR, the minimal example is built against the same package and
# started offscreen twice: it must dock its three panels and save them when its window
# closes, then restore that layout.
file(REMOVE_RECURSE "${BINARY_DIR}")
include("${CMAKE_CURRENT_LIST_DIR}/PackageTestSupport.cmake")
if(INSTALL_FROM)
  file(REMOVE_RECURSE "${PACKAGE_DIR}")
  run(${CMAKE_COMMAND} --install "${INSTALL_FROM}" --prefix "${PACKAGE_DIR}")
endif()
# From an install prefix, one more source includes every installed header: a host builds
# with the installed headers alone, none of them reaching for one that was left out.
set(header_args)
if(INSTALL_FROM)
  set(include_root "${PACKAGE_DIR}/include/kivworkspace")
  file(GLOB_RECURSE headers RELATIVE "${include_root}" "${include_root}/*.h")
  list(LENGTH headers count)
  if(count LESS 100)
    message(FATAL_ERROR "only ${count} headers were installed under ${include_root}")
  endif()
  foreach(header IN LISTS headers)
    if(header MATCHES "(^|/)(internal|qt)/|_p\\.h$")
      message(FATAL_ERROR "an internal header was installed: ${header}")
    endif()
  endforeach()
  list(TRANSFORM headers REPLACE "(.+)" "#include \"\\1\"\n")
  string(JOIN "" content ${headers})
  file(WRITE "${BINARY_DIR}-headers/all_headers.cpp" "${content}")
  set(header_args "-DKIV_ALL_HEADERS_SOURCE=${BINARY_DIR}-headers/all_headers.cpp")
endif()
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BINARY_DIR}" ${generator_args}
    "-DCMAKE_PREFIX_PATH=${PACKAGE_DIR}" ${header_args})
run(${CMAKE_COMMAND} --build "${BINARY_DIR}")
run("${BINARY_DIR}/consumer_shared")
run("${BINARY_DIR}/consumer_core")
run("${BINARY_DIR}/consumer_workspace")

if(EXAMPLES_DIR)
  check_minimal_example("${EXAMPLES_DIR}/minimal" "${BINARY_DIR}-minimal" "${PACKAGE_DIR}")
  check_changed_panels_example("${EXAMPLES_DIR}/changed-panels" "${BINARY_DIR}-changed-panels"
                               "${PACKAGE_DIR}")
  check_named_workspaces_example("${EXAMPLES_DIR}/named-workspaces" "${BINARY_DIR}-named-workspaces"
                                 "${PACKAGE_DIR}")
endif()
