# Sanitizer builds: -DMC_SANITIZE=address,undefined builds every target of the tree with those
# sanitizers (any error ends the program), and ctest runs the tests of the tree with the
# runtime options below. Included before any target is made, so the flags reach all of them.
set(MC_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined (empty: none)")

if(MC_SANITIZE)
  add_compile_options(-fsanitize=${MC_SANITIZE} -fno-sanitize-recover=all
    -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${MC_SANITIZE})
  # minizip reads the untrusted package: compile it from Debian's zlib sources so that its
  # memory accesses are checked too, not only ours.
  set(MC_MINIZIP_FROM_SOURCE ON)

  # ctest reads this file before it runs any test, so every test of the tree (unit tests,
  # port test scripts and the programs they start) inherits the options. Options already set
  # in the environment win. Reports also go to files in sanitizer-reports/, so that an error
  # in a program whose exit status a test script ignores is still seen (scripts/test fails
  # when that folder is not empty).
  set(MC_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan-suppressions.txt)
  set(MC_SANITIZER_REPORTS ${CMAKE_BINARY_DIR}/sanitizer-reports/report)
  set(MC_SANITIZER_ENV ${CMAKE_BINARY_DIR}/sanitizer-env.cmake)
  file(WRITE ${MC_SANITIZER_ENV}
    "file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/sanitizer-reports)\n"
    "if(NOT DEFINED ENV{ASAN_OPTIONS})\n"
    "  set(ENV{ASAN_OPTIONS} \"detect_leaks=1:abort_on_error=0:exitcode=86:"
    "strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:"
    "log_path=${MC_SANITIZER_REPORTS}:log_exe_name=1\")\n"
    "endif()\n"
    "if(NOT DEFINED ENV{UBSAN_OPTIONS})\n"
    "  set(ENV{UBSAN_OPTIONS} \"print_stacktrace=1:halt_on_error=1:exitcode=86:"
    "log_path=${MC_SANITIZER_REPORTS}:log_exe_name=1\")\n"
    "endif()\n"
    "if(NOT DEFINED ENV{LSAN_OPTIONS})\n"
    "  set(ENV{LSAN_OPTIONS} \"suppressions=${MC_LSAN_SUPPRESSIONS}:print_suppressions=0\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${MC_SANITIZER_ENV})
endif()
