# Debian packages: `cpack -G DEB` in a build folder makes kivworkspace (the shared library,
# kivstudio, kivws, kivget and the shipped workspaces, scripts and themes) and
# kivworkspace-dev (headers, component archives, the CMake package and the pkg-config
# file), installing into /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivworkspace)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "kivworkspace")
set(CPACK_PACKAGE_CONTACT "kivworkspace developers <kivworkspace@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "docking workspaces for Qt applications")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Packages carry stripped binaries, as Debian's do.
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME kivworkspace)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "docking workspaces for Qt applications\n The kivworkspace library with its demo host kivstudio, kivws for workspace\n files and the kivget downloader.")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6qml6 (>= 6.4), libqt6test6 (>= 6.4), libpugixml1v5, libcurl4, libboost-json1.81.0, libboost-thread1.81.0, libboost-date-time1.81.0")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME kivworkspace-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "docking workspaces for Qt applications (development files)\n Headers, the CMake package (find_package(kivworkspace)) and a pkg-config file.")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "kivworkspace (= ${PROJECT_VERSION}), qt6-base-dev (>= 6.4), qt6-declarative-dev (>= 6.4), libboost1.81-dev, libboost-json1.81-dev, libboost-thread1.81-dev, libboost-date-time1.81-dev, libpugixml-dev, libutfcpp-dev, libcurl4-openssl-dev")

include(CPack)
