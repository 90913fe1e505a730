# Third-party libraries every component may use. The exported package config repeats
# these lookups (cmake/kivworkspaceConfig.cmake.in), so keep both lists in step.
find_package(Threads REQUIRED)
find_package(Boost 1.81 REQUIRED COMPONENTS json thread date_time)
find_package(pugixml REQUIRED)
find_package(utf8cpp REQUIRED)
find_package(CURL REQUIRED)
# The UI framework's backend. Only src/services/ui/qt/, the UI test support and the apps
# include Qt headers (and src/services/scripting/qt/, the JavaScript engine); everything else
# builds without them.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Qml Test)
