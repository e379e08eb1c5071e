# Windows port: a stripped, statically linked PE32 GUI program, and its tests under Wine.
file(GLOB MC_WIN32_SOURCES CONFIGURE_DEPENDS src/*/win32/*.cpp)
list(FILTER MC_WIN32_SOURCES EXCLUDE REGEX "/app/win32/main\\.cpp$")
add_library(mc_port_win32 STATIC ${MC_WIN32_SOURCES})
target_compile_options(mc_port_win32 PRIVATE ${MC_WARNINGS})
target_compile_definitions(mc_port_win32 PUBLIC NOMINMAX _WIN32_WINNT=0x0501
  WINVER=0x0501 _WIN32_IE=0x0600)
target_link_libraries(mc_port_win32 PUBLIC mc_core
  gdiplus ole32 oleaut32 uuid comctl32 comdlg32 ws2_32 iphlpapi wininet shlwapi shell32 gdi32
  user32 kernel32)

set(MC_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_executable(microclient WIN32 src/app/win32/main.cpp res/microclient.rc)
target_compile_options(microclient PRIVATE ${MC_WARNINGS})
target_link_libraries(microclient PRIVATE mc_port_win32)
# Stripped: a symbol table after the sections would hide the appended package.
target_link_options(microclient PRIVATE ${MC_STATIC_LINK} -mwindows -s)

# Benchmarks (bench/*/*_win32.cpp, console programs run under Wine by their scripts).
file(GLOB MC_WIN32_BENCHES CONFIGURE_DEPENDS bench/*/*_win32.cpp)
foreach(bench ${MC_WIN32_BENCHES})
  get_filename_component(bench_name ${bench} NAME_WE)
  add_executable(${bench_name} ${bench})
  target_compile_options(${bench_name} PRIVATE ${MC_WARNINGS})
  target_include_directories(${bench_name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${bench_name} PRIVATE mc_port_win32 psapi z)
  target_link_options(${bench_name} PRIVATE ${MC_STATIC_LINK})
endforeach()

if(MC_TESTS)
  # Debian's googletest sources built with the cross compiler; tests run through Wine.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # The core's unit tests once more as a 32-bit Windows program: size_t is 32 bits there.
  file(GLOB MC_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
  add_executable(core_tests ${MC_UNIT_TESTS})
  target_compile_options(core_tests PRIVATE ${MC_WARNINGS})
  target_link_libraries(core_tests PRIVATE mc_core z gtest gtest_main)
  target_link_options(core_tests PRIVATE ${MC_STATIC_LINK})
  add_test(NAME win32.core COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/wine-run core_tests.exe)
  set_tests_properties(win32.core PROPERTIES TIMEOUT 600)

  file(GLOB MC_WIN32_TEST_HELPERS CONFIGURE_DEPENDS tests/win32/helpers/*.cpp)
  foreach(helper ${MC_WIN32_TEST_HELPERS})
    get_filename_component(helper_name ${helper} NAME_WE)
    add_executable(${helper_name} ${helper})
    target_compile_options(${helper_name} PRIVATE ${MC_WARNINGS})
    target_link_libraries(${helper_name} PRIVATE user32 kernel32 ole32 uuid shell32)
    target_link_options(${helper_name} PRIVATE ${MC_STATIC_LINK} -s)
  endforeach()

  # Small GUI programs of the port tests (one window or control each), driven by the scripts.
  file(GLOB MC_WIN32_TEST_PROGRAMS CONFIGURE_DEPENDS tests/win32/programs/*.cpp)
  foreach(program ${MC_WIN32_TEST_PROGRAMS})
    get_filename_component(program_name ${program} NAME_WE)
    add_executable(${program_name} WIN32 ${program})
    target_compile_options(${program_name} PRIVATE ${MC_WARNINGS})
    target_link_libraries(${program_name} PRIVATE mc_port_win32)
    target_link_options(${program_name} PRIVATE ${MC_STATIC_LINK} -mwindows -s)
  endforeach()

  file(GLOB MC_WIN32_UNIT_TESTS CONFIGURE_DEPENDS tests/win32/*_test.cpp)
  if(MC_WIN32_UNIT_TESTS)
    add_executable(win32_tests ${MC_WIN32_UNIT_TESTS})
    target_compile_options(win32_tests PRIVATE ${MC_WARNINGS})
    target_link_libraries(win32_tests PRIVATE mc_port_win32 gtest gtest_main)
    target_link_options(win32_tests PRIVATE ${MC_STATIC_LINK})
    add_test(NAME win32.unit COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/wine-run win32_tests.exe)
    set_tests_properties(win32.unit PROPERTIES TIMEOUT 300)
  endif()

  file(GLOB MC_WIN32_SCRIPTS CONFIGURE_DEPENDS tests/win32/*_test.sh)
  foreach(test_script ${MC_WIN32_SCRIPTS})
    get_filename_component(test_name ${test_script} NAME_WE)
    add_test(NAME win32.${test_name} COMMAND bash ${test_script})
    set_tests_properties(win32.${test_name} PROPERTIES TIMEOUT 300
      ENVIRONMENT "MC_BUILD=${CMAKE_BINARY_DIR};MC_SOURCE=${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
