# Linux port: GTK 3 client, the package tool, core unit tests and the Linux port tests.
pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(LIBPNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(WEBKIT REQUIRED IMPORTED_TARGET webkit2gtk-4.1)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)  # the tray manager's selection

file(GLOB MC_GTK_SOURCES CONFIGURE_DEPENDS src/*/gtk/*.cpp)
list(FILTER MC_GTK_SOURCES EXCLUDE REGEX "/app/gtk/main\\.cpp$")
add_library(mc_port_gtk STATIC ${MC_GTK_SOURCES})
target_compile_options(mc_port_gtk PRIVATE ${MC_WARNINGS})
target_link_libraries(mc_port_gtk PUBLIC mc_core PkgConfig::GTK PkgConfig::LIBPNG PkgConfig::WEBKIT
  PkgConfig::CURL PkgConfig::X11)

# The program icon compiled in, since a Linux program has no resource section to hold it.
set(MC_ICON_FILE ${CMAKE_SOURCE_DIR}/res/microclient.ico)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MC_ICON_FILE})
file(READ ${MC_ICON_FILE} MC_ICON_HEX HEX)
string(REGEX REPLACE "(..)" "0x\\1," MC_ICON_BYTES "${MC_ICON_HEX}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/program_icon_data.cpp CONTENT
  "// Generated from res/microclient.ico by cmake/port-gtk.cmake.\n#include <cstddef>\nnamespace mc::gtk {\nextern const unsigned char kProgramIconIco[] = {${MC_ICON_BYTES}};\nextern const size_t kProgramIconIcoSize = sizeof kProgramIconIco;\n}  // namespace mc::gtk\n")
target_sources(mc_port_gtk PRIVATE ${CMAKE_BINARY_DIR}/generated/program_icon_data.cpp)

add_executable(microclient src/app/gtk/main.cpp)
target_compile_options(microclient PRIVATE ${MC_WARNINGS})
target_link_libraries(microclient PRIVATE mc_port_gtk)
# Players download the client inside every branded copy: it ships without debug information,
# which stays beside it in microclient.debug (found by gdb through the debug link) for crash
# analysis. Sanitizer builds keep their symbols for the reports.
if(NOT MC_SANITIZE)
  add_custom_command(TARGET microclient POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:microclient>
            $<TARGET_FILE:microclient>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --strip-unneeded
            --add-gnu-debuglink=$<TARGET_FILE:microclient>.debug $<TARGET_FILE:microclient>
    VERBATIM)
endif()

file(GLOB MC_MCPACK_SOURCES CONFIGURE_DEPENDS tools/mcpack/*.cpp)
if(MC_MCPACK_SOURCES)
  add_executable(mcpack ${MC_MCPACK_SOURCES})
  target_compile_options(mcpack PRIVATE ${MC_WARNINGS})
  # The preview decodes and paints with the Linux client's own code; cairo and pango only.
  pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
  target_sources(mcpack PRIVATE src/skin/gtk/png_decoder.cpp
    src/skin/gtk/background_image.cpp src/game/gtk/game_frame_painter.cpp src/skin/gtk/skin_surface.cpp
    src/package/gtk/gbk_utf8.cpp)
  target_link_libraries(mcpack PRIVATE mc_core PkgConfig::LIBPNG PkgConfig::PANGOCAIRO)
endif()

# Benchmarks (bench/*/*_gtk.cpp), run by their scripts, not by the tests.
file(GLOB MC_GTK_BENCHES CONFIGURE_DEPENDS bench/*/*_gtk.cpp)
foreach(bench ${MC_GTK_BENCHES})
  get_filename_component(bench_name ${bench} NAME_WE)
  add_executable(${bench_name} ${bench})
  target_compile_options(${bench_name} PRIVATE ${MC_WARNINGS})
  target_include_directories(${bench_name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${bench_name} PRIVATE mc_port_gtk z)
endforeach()

if(MC_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB MC_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
  add_executable(unit_tests ${MC_UNIT_TESTS})
  target_compile_options(unit_tests PRIVATE ${MC_WARNINGS})
  target_link_libraries(unit_tests PRIVATE mc_core z GTest::gtest GTest::gtest_main)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

  # Small programs of the port tests (one window or widget each), driven by the scripts below.
  file(GLOB MC_GTK_TEST_PROGRAMS CONFIGURE_DEPENDS tests/gtk/programs/*.cpp)
  foreach(program ${MC_GTK_TEST_PROGRAMS})
    get_filename_component(program_name ${program} NAME_WE)
    add_executable(${program_name} ${program})
    target_compile_options(${program_name} PRIVATE ${MC_WARNINGS})
    target_link_libraries(${program_name} PRIVATE mc_port_gtk)
  endforeach()

  # Port tests: shell scripts that run the real client under Xvfb.
  file(GLOB MC_GTK_TESTS CONFIGURE_DEPENDS tests/gtk/*_test.sh)
  set(MC_GTK_TEST_TIMEOUT 300)
  if(MC_SANITIZE)
    # Sanitizer builds keep their symbols; the shipped client is checked in the plain build.
    list(FILTER MC_GTK_TESTS EXCLUDE REGEX "/binary_test\\.sh$")
    # Instrumented clients start and run several times slower.
    set(MC_GTK_TEST_TIMEOUT 600)
  endif()
  foreach(test_script ${MC_GTK_TESTS})
    get_filename_component(test_name ${test_script} NAME_WE)
    add_test(NAME gtk.${test_name} COMMAND bash ${test_script})
    set_tests_properties(gtk.${test_name} PROPERTIES TIMEOUT ${MC_GTK_TEST_TIMEOUT}
      ENVIRONMENT "MC_BUILD=${CMAKE_BINARY_DIR};MC_SOURCE=${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
