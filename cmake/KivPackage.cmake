# The kivworkspace shared library (every component folded in, as hosts load it) and the
# CMake package: find_package(kivworkspace CONFIG) works from the build tree and from an
# install prefix.
include(CMakePackageConfigHelpers)

get_property(_kiv_components GLOBAL PROPERTY KIV_COMPONENTS)
get_property(_kiv_public_deps GLOBAL PROPERTY KIV_PUBLIC_EXTERNAL_DEPS)
get_property(_kiv_private_deps GLOBAL PROPERTY KIV_PRIVATE_EXTERNAL_DEPS)
list(REMOVE_DUPLICATES _kiv_public_deps)
list(REMOVE_DUPLICATES _kiv_private_deps)

# The components' object files, compiled once, make up the shared library.
set(_kiv_objects)
foreach(_c IN LISTS _kiv_components)
  list(APPEND _kiv_objects $<TARGET_OBJECTS:${_c}>)
endforeach()
add_library(kivworkspace SHARED ${_kiv_objects})
add_library(kivworkspace::kivworkspace ALIAS kivworkspace)
set_target_properties(kivworkspace PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} LINKER_LANGUAGE CXX)
target_include_directories(kivworkspace INTERFACE
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kivworkspace>)
target_link_libraries(kivworkspace PUBLIC ${_kiv_public_deps} PRIVATE ${_kiv_private_deps})
target_compile_features(kivworkspace INTERFACE cxx_std_20)

# Every header under src/ is either public (named in its library's HEADERS) or marked
# internal: in an internal/ folder, in a backend's qt/ folder, or named *_p.h. A header that
# is neither would silently be left out of the package, so the configure step refuses it.
if(KIV_BUILD_UI)  # without the UI libraries, the headers they list have no owner
  file(GLOB_RECURSE _kiv_all_headers ${PROJECT_SOURCE_DIR}/src/*.h)
  get_property(_kiv_public_headers GLOBAL PROPERTY KIV_PUBLIC_HEADERS)
  foreach(_h IN LISTS _kiv_all_headers)
    if(NOT _h MATCHES "/(internal|qt)/" AND NOT _h MATCHES "_p\\.h$"
       AND NOT _h IN_LIST _kiv_public_headers)
      message(FATAL_ERROR "${_h} is neither in a library's HEADERS nor marked internal")
    endif()
  endforeach()
endif()

# Only the public headers are installed, by the file sets of their libraries.
# Two install components, the two Debian packages: "runtime" (the shared library, the
# programs and their data) and "dev" (headers, the component archives, the CMake package
# and the pkg-config file).
install(TARGETS ${_kiv_components} EXPORT kivworkspaceTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kivworkspace COMPONENT dev)
install(TARGETS kivworkspace EXPORT kivworkspaceTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

set(_kiv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/kivworkspace)
configure_package_config_file(cmake/kivworkspaceConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kivworkspaceConfig.cmake
  INSTALL_DESTINATION ${_kiv_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kivworkspaceConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(EXPORT kivworkspaceTargets NAMESPACE kivworkspace:: DESTINATION ${_kiv_cmake_dir}
        COMPONENT dev)
install(FILES ${PROJECT_BINARY_DIR}/kivworkspaceConfig.cmake
              ${PROJECT_BINARY_DIR}/kivworkspaceConfigVersion.cmake
        DESTINATION ${_kiv_cmake_dir} COMPONENT dev)

# pkg-config for build systems other than CMake; its prefix is found from where the file
# lies, so the same file serves every install prefix.
set(_kiv_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
string(REGEX REPLACE "[^/]+" ".." KIV_PC_UP "${_kiv_pc_dir}")
configure_file(cmake/kivworkspace.pc.in ${PROJECT_BINARY_DIR}/kivworkspace.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kivworkspace.pc DESTINATION ${_kiv_pc_dir} COMPONENT dev)
# The same targets straight from the build tree.
export(EXPORT kivworkspaceTargets NAMESPACE kivworkspace::
  FILE ${PROJECT_BINARY_DIR}/kivworkspaceTargets.cmake)
