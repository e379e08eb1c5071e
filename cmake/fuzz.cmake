# libFuzzer targets (clang): every fuzz/<name>_fuzzer.cpp becomes the executable <name>_fuzzer,
# linked with the core. A new target is a new file there plus its seeds in fuzz/corpus/<name>/;
# scripts/fuzz builds and runs them. Configure with clang and -DMC_SANITIZE=address,undefined.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "MC_FUZZ needs clang (libFuzzer): configure with CMAKE_CXX_COMPILER=clang++")
endif()

# Coverage feedback from the core and from minizip, the code that reads untrusted bytes.
foreach(target mc_core mc_minizip)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endforeach()

file(GLOB MC_FUZZERS CONFIGURE_DEPENDS fuzz/*_fuzzer.cpp)
foreach(fuzzer ${MC_FUZZERS})
  get_filename_component(fuzzer_name ${fuzzer} NAME_WE)
  add_executable(${fuzzer_name} ${fuzzer})
  target_compile_options(${fuzzer_name} PRIVATE ${MC_WARNINGS})
  target_link_libraries(${fuzzer_name} PRIVATE mc_core)
  target_compile_options(${fuzzer_name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${fuzzer_name} PRIVATE -fsanitize=fuzzer)
endforeach()

# Skin pictures are decoded by the Linux port's libpng decoder, the one the client uses.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBPNG REQUIRED IMPORTED_TARGET libpng)
target_sources(skin_png_fuzzer PRIVATE src/skin/gtk/png_decoder.cpp)
target_link_libraries(skin_png_fuzzer PRIVATE PkgConfig::LIBPNG)
