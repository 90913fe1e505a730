# check_minimal_example(<source dir> <build dir> <package prefix>), for the package tests'
# scripts, which define run() and generator_args: builds examples/minimal against the
# kivworkspace package under the prefix and starts it offscreen twice. The first run must
# dock its three panels and save them when its window closes; the second restores that
# layout and writes it anew (a comment appended in between must be gone).
function(check_minimal_example source_dir example_dir package_dir)
  file(REMOVE_RECURSE "${example_dir}")
  run(${CMAKE_COMMAND} -S "${source_dir}" -B "${example_dir}" ${generator_args}
      "-DCMAKE_PREFIX_PATH=${package_dir}")
  run(${CMAKE_COMMAND} --build "${example_dir}")
  # Its layout goes to the application's configuration folder, here a scratch one.
  set(config "${example_dir}/config")
  set(layout "${config}/kivworkspace/minimal/layout.xml")
  set(marker "<!-- left by the first run -->")
  foreach(pass first second)
    run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen "XDG_CONFIG_HOME=${config}"
        "${example_dir}/minimal" --quit-after-show)
    if(NOT EXISTS "${layout}")
      message(FATAL_ERROR "the minimal example's ${pass} run saved no layout at ${layout}")
    endif()
    file(READ "${layout}" saved)
    foreach(id files notes status)
      if(NOT saved MATCHES "<s v=\"${id}\" ?/>")
        message(FATAL_ERROR "the layout the minimal example's ${pass} run saved has no open panel \"${id}\"")
      endif()
    endforeach()
    string(FIND "${saved}" "${marker}" stale)
    if(NOT stale EQUAL -1)
      message(FATAL_ERROR "the minimal example's ${pass} run did not save its layout again")
    endif()
    file(APPEND "${layout}" "${marker}\n")
  endforeach()
  message(STATUS "the minimal example docked, saved and restored its three panels")
endfunction()
