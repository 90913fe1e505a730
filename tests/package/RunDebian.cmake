# cmake -DBUILD_DIR=... -DWORK_DIR=... -DEXAMPLES_DIR=... [-DGENERATOR=...] -P RunDebian.cmake
# Makes the two Debian packages of the build with cpack, checks what each holds, unpacks
# both into a scratch root (as dpkg would install them, without touching the system) and
# builds examples/minimal against the -dev package there, through CMake and pkg-config.
include("${CMAKE_CURRENT_LIST_DIR}/PackageTestSupport.cmake")

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
run(cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}/debs")
file(GLOB runtime_deb "${WORK_DIR}/debs/kivworkspace_*.deb")
file(GLOB dev_deb "${WORK_DIR}/debs/kivworkspace-dev_*.deb")
if(NOT runtime_deb OR NOT dev_deb)
  file(GLOB made "${WORK_DIR}/debs/*.deb")
  message(FATAL_ERROR "cpack did not make kivworkspace and kivworkspace-dev; it made: ${made}")
endif()

# Each package's files, as paths below /usr.
function(check_package deb name)
  execute_process(COMMAND dpkg-deb --field "${deb}" Package Depends OUTPUT_VARIABLE fields
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT fields MATCHES "Package: ${name}\n")
    message(FATAL_ERROR "${deb} is not the package ${name}: ${fields}")
  endif()
  execute_process(COMMAND dpkg-deb --contents "${deb}" OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
  endif()
  foreach(pattern IN LISTS ARGN)
    if(NOT contents MATCHES "${pattern}")
      message(FATAL_ERROR "${name} holds nothing that matches ${pattern}:\n${contents}")
    endif()
  endforeach()
  set(contents "${contents}" PARENT_SCOPE)
endfunction()

check_package("${runtime_deb}" kivworkspace
  "\\./usr/lib/[^ \n]*libkivworkspace\\.so\\.[0-9]" "\\./usr/bin/kivstudio\n" "\\./usr/bin/kivws\n"
  "\\./usr/bin/kivget\n" "\\./usr/share/kivworkspace/workspaces/")
if(contents MATCHES "\\./usr/include/")
  message(FATAL_ERROR "the runtime package holds headers")
endif()
check_package("${dev_deb}" kivworkspace-dev
  "\\./usr/include/kivworkspace/qtwidgets/DockHost\\.h" "libkivworkspace\\.so -> "
  "kivworkspaceConfig\\.cmake" "pkgconfig/kivworkspace\\.pc")
if(contents MATCHES "/internal/|\\./usr/bin/")
  message(FATAL_ERROR "the -dev package holds an internal header or a program")
endif()

set(root "${WORK_DIR}/root")
run(dpkg-deb --extract "${runtime_deb}" "${root}")
run(dpkg-deb --extract "${dev_deb}" "${root}")

# pkg-config finds the headers and the library where the packages put them.
file(GLOB_RECURSE pc_file "${root}/usr/*/kivworkspace.pc")
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env "PKG_CONFIG_PATH=${pc_dir}"
                pkg-config --cflags --libs kivworkspace
                OUTPUT_VARIABLE flags RESULT_VARIABLE rc ERROR_VARIABLE why)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not take kivworkspace.pc: ${why}")
endif()
file(REAL_PATH "${root}/usr/include/kivworkspace" include_dir)
if(NOT flags MATCHES "-lkivworkspace" OR NOT flags MATCHES "-I([^ ]*include/kivworkspace)")
  message(FATAL_ERROR "pkg-config gives ${flags}")
endif()
file(REAL_PATH "${CMAKE_MATCH_1}" pc_include)
if(NOT pc_include STREQUAL include_dir)
  message(FATAL_ERROR "pkg-config's include folder ${pc_include} is not ${include_dir}")
endif()

check_minimal_example("${EXAMPLES_DIR}/minimal" "${WORK_DIR}/minimal" "${root}/usr")
message(STATUS "the Debian packages hold what they should and build the minimal example")
