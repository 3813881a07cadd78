# Compiler flags shared by every target of the project.

add_library(vorn_options INTERFACE)
target_compile_options(vorn_options INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
  # GCC 12 reports moves of std::variant alternatives as uninitialised at -O2 (a known
  # false positive); the sanitizer build and -Wuninitialized still catch real cases.
  $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>
  $<$<BOOL:${VORN_WARNINGS_AS_ERRORS}>:-Werror>)

if(VORN_SANITIZE)
  set(vorn_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(vorn_options INTERFACE ${vorn_sanitizers})
  target_link_options(vorn_options INTERFACE ${vorn_sanitizers})
endif()

# vorn_add_unit_tests(<target> <sources...> LIBRARIES <libs...>)
# One GoogleTest executable whose cases ctest runs one by one.
function(vorn_add_unit_tests target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main vorn_options)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
endfunction()
