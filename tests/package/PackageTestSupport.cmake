# What the package tests' scripts share: run(), the generator they were given (GENERATOR),
# and the examples built against the kivworkspace package under a prefix and started
# offscreen.

set(generator_args)
if(GENERATOR)
  set(generator_args -G "${GENERATOR}")
endif()

# Runs a command; stops the script when it fails.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

# build_example(<source dir> <build dir> <package prefix>)
function(build_example source_dir example_dir package_dir)
  file(REMOVE_RECURSE "${example_dir}")
  run(${CMAKE_COMMAND} -S "${source_dir}" -B "${example_dir}" ${generator_args}
      "-DCMAKE_PREFIX_PATH=${package_dir}")
  run(${CMAKE_COMMAND} --build "${example_dir}")
endfunction()

# expect_open_panels(<layout file> <what saved it> <ids...>)
function(expect_open_panels layout who)
  if(NOT EXISTS "${layout}")
    message(FATAL_ERROR "${who} saved no layout at ${layout}")
  endif()
  file(READ "${layout}" saved)
  foreach(id IN LISTS ARGN)
    if(NOT saved MATCHES "<s v=\"${id}\" ?/>")
      message(FATAL_ERROR "the layout ${who} saved has no open panel \"${id}\"")
    endif()
  endforeach()
  set(saved "${saved}" PARENT_SCOPE)
endfunction()

# check_minimal_example(<source dir> <build dir> <package prefix>): examples/minimal, started
# twice. The first run must dock its three panels and save them when its window closes; the
# second restores that layout and writes it anew (a comment appended in between must be
# gone).
function(check_minimal_example source_dir example_dir package_dir)
  build_example("${source_dir}" "${example_dir}" "${package_dir}")
  # Its layout goes to the application's configuration folder, here a scratch one.
  set(config "${example_dir}/config")
  set(layout "${config}/kivworkspace/minimal/layout.xml")
  set(marker "<!-- left by the first run -->")
  foreach(pass first second)
    run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "XDG_CONFIG_HOME=${config}"
        "${example_dir}/minimal" --quit-after-show)
    expect_open_panels("${layout}" "the minimal example's ${pass} run" files notes status)
    string(FIND "${saved}" "${marker}" stale)
    if(NOT stale EQUAL -1)
      message(FATAL_ERROR "the minimal example's ${pass} run did not save its layout again")
    endif()
    file(APPEND "${layout}" "${marker}\n")
  endforeach()
  message(STATUS "the minimal example docked, saved and restored its three panels")
endfunction()

# check_changed_panels_example(<source dir> <build dir> <package prefix>):
# examples/changed-panels, version 1 then version 2 on the layout version 1 saved.
function(check_changed_panels_example source_dir example_dir package_dir)
  build_example("${source_dir}" "${example_dir}" "${package_dir}")
  set(config "${example_dir}/config")
  set(layout "${config}/kivworkspace/changed-panels/layout.xml")
  set(env ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "XDG_CONFIG_HOME=${config}")
  run(${env} "${example_dir}/changed-panels" --version 1 --quit-after-show)
  expect_open_panels("${layout}" "version 1" files notes log scope)
  execute_process(COMMAND ${env} "${example_dir}/changed-panels" --version 2 --quit-after-show
                  OUTPUT_VARIABLE said RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "version 2 of the changed-panels example failed (${rc}): ${said}")
  endif()
  foreach(id log scope)
    if(NOT said MATCHES "restore: the panel \"${id}\" was left out: no panel has that id; its place is kept")
      message(FATAL_ERROR "version 2 did not report the panel \"${id}\" it lacks: ${said}")
    endif()
  endforeach()
  expect_open_panels("${layout}" "version 2" files notes console timeline scope)
  if(NOT saved MATCHES "<strings k=\"ReanimTabs\">[ \n]*<s v=\"log\" ?/>")
    message(FATAL_ERROR "the layout version 2 saved lost the place of the log panel")
  endif()
  message(STATUS "the changed-panels example kept the places of the panels version 2 lacks")
endfunction()

# check_named_workspaces_example(<source dir> <build dir> <package prefix>):
# examples/named-workspaces saves a workspace under a new name; the next start opens it.
function(check_named_workspaces_example source_dir example_dir package_dir)
  build_example("${source_dir}" "${example_dir}" "${package_dir}")
  set(env ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "XDG_DATA_HOME=${example_dir}/data")
  foreach(pass "--save-as;Review" "")
    execute_process(COMMAND ${env} "${example_dir}/named-workspaces" ${pass} --quit-after-show
                    OUTPUT_VARIABLE said RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT said MATCHES "current workspace: Review\n")
      message(FATAL_ERROR "named-workspaces ${pass} (${rc}) said: ${said}")
    endif()
  endforeach()
  file(GLOB stored "${example_dir}/data/kivworkspace/named-workspaces/workspaces/Workspaces/*.xml")
  list(LENGTH stored count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "named-workspaces left ${count} workspace files: ${stored}")
  endif()
  message(STATUS "the named-workspaces example saved a workspace and opened it at the next start")
endfunction()
