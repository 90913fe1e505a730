# Warnings, floating-point rules and sanitizers for every target of the project.

# The layout engine's pixel arithmetic is defined in single-precision float with
# truncation; fused multiply-add would change results, so contraction is off everywhere.
add_compile_options(-Wall -Wextra -ffp-contract=off)

if(KIV_SANITIZE)
  if(KIV_SANITIZE STREQUAL "thread")
    set(_kiv_san_flags -fsanitize=thread)
  elseif(KIV_SANITIZE STREQUAL "address,undefined" OR KIV_SANITIZE STREQUAL "undefined,address")
    set(_kiv_san_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  else()
    message(FATAL_ERROR "KIV_SANITIZE must be empty, 'address,undefined' or 'thread', not '${KIV_SANITIZE}'")
  endif()
  add_compile_options(${_kiv_san_flags} -fno-omit-frame-pointer)
  add_link_options(${_kiv_san_flags})
endif()

# kiv_add_library(<name> SOURCES ... [HEADERS ...] [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# A component library exported as kivworkspace::<name>, with include paths relative to src/.
# HEADERS lists its public headers, the ones a host may include: they are installed with the
# package under the same paths. Headers in an internal/ or qt/ folder stay out of the list.
function(kiv_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  set(target kiv_${name})
  add_library(${target} STATIC ${ARG_SOURCES})
  if(ARG_HEADERS)
    target_sources(${target} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}/src
      FILES ${ARG_HEADERS})
    list(TRANSFORM ARG_HEADERS PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/")
    set_property(GLOBAL APPEND PROPERTY KIV_PUBLIC_HEADERS ${ARG_HEADERS})
  endif()
  add_library(kivworkspace::${name} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name} OUTPUT_NAME kiv${name})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kivworkspace>)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  set_property(GLOBAL APPEND PROPERTY KIV_COMPONENTS ${target})
  # Third-party dependencies, for the shared library that folds every component in.
  foreach(dep IN LISTS ARG_PUBLIC_DEPS)
    if(NOT dep MATCHES "^kivworkspace::")
      set_property(GLOBAL APPEND PROPERTY KIV_PUBLIC_EXTERNAL_DEPS ${dep})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY KIV_PRIVATE_EXTERNAL_DEPS ${ARG_PRIVATE_DEPS})
endfunction()
