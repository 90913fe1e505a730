# The kivworkspace shared library (every component folded in, as hosts load it) and the
# CMake package: find_package(kivworkspace CONFIG) works from the build tree and from an
# install prefix.
include(CMakePackageConfigHelpers)

get_property(_kiv_components GLOBAL PROPERTY KIV_COMPONENTS)

add_library(kivworkspace SHARED cmake/empty.cpp)
add_library(kivworkspace::kivworkspace ALIAS kivworkspace)
set_target_properties(kivworkspace PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
foreach(_c IN LISTS _kiv_components)
  target_link_libraries(kivworkspace PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${_c}>")
  # Usage requirements (include paths, public dependencies) pass on to consumers.
  target_include_directories(kivworkspace INTERFACE $<TARGET_PROPERTY:${_c},INTERFACE_INCLUDE_DIRECTORIES>)
endforeach()
target_link_libraries(kivworkspace PUBLIC Boost::headers Boost::json Threads::Threads)
target_compile_features(kivworkspace INTERFACE cxx_std_20)

install(TARGETS ${_kiv_components} kivworkspace EXPORT kivworkspaceTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivworkspace
  FILES_MATCHING PATTERN "*.h")

set(_kiv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/kivworkspace)
configure_package_config_file(cmake/kivworkspaceConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kivworkspaceConfig.cmake
  INSTALL_DESTINATION ${_kiv_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kivworkspaceConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(EXPORT kivworkspaceTargets NAMESPACE kivworkspace:: DESTINATION ${_kiv_cmake_dir})
install(FILES ${PROJECT_BINARY_DIR}/kivworkspaceConfig.cmake
              ${PROJECT_BINARY_DIR}/kivworkspaceConfigVersion.cmake
        DESTINATION ${_kiv_cmake_dir})
# The same targets straight from the build tree.
export(EXPORT kivworkspaceTargets NAMESPACE kivworkspace::
  FILE ${PROJECT_BINARY_DIR}/kivworkspaceTargets.cmake)
