# Third-party pieces, all from Debian's packages (scripts/setup installs them).

# SimpleIni is a single header in /usr/include. The cross compiler must not see the host's
# /usr/include, so the header is copied into a folder of its own.
set(MC_SIMPLEINI_HEADER /usr/include/SimpleIni.h)
if(NOT EXISTS ${MC_SIMPLEINI_HEADER})
  message(FATAL_ERROR "SimpleIni.h not found: run scripts/setup")
endif()
configure_file(${MC_SIMPLEINI_HEADER} ${CMAKE_BINARY_DIR}/third_party/SimpleIni.h COPYONLY)
add_library(mc_simpleini INTERFACE)
target_include_directories(mc_simpleini SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/third_party)

if(NOT MC_PORT STREQUAL "win32")
  find_package(PkgConfig REQUIRED)
endif()

if(MC_PORT STREQUAL "win32" OR MC_MINIZIP_FROM_SOURCE)
  # mingw has no minizip package: compile Debian's zlib contrib/minizip (fetched by setup).
  # Sanitizer builds compile it too (MC_MINIZIP_FROM_SOURCE), to check its reads.
  set(MC_ZLIB_SRC ${CMAKE_SOURCE_DIR}/build/deps/zlib-src CACHE PATH "Debian zlib sources")
  if(NOT EXISTS ${MC_ZLIB_SRC}/contrib/minizip/unzip.c)
    message(FATAL_ERROR "zlib sources not found at ${MC_ZLIB_SRC}: run scripts/setup")
  endif()
  add_library(mc_minizip STATIC ${MC_ZLIB_SRC}/contrib/minizip/unzip.c
    ${MC_ZLIB_SRC}/contrib/minizip/zip.c ${MC_ZLIB_SRC}/contrib/minizip/ioapi.c)
  # Included as <minizip/unzip.h>, as on Linux.
  target_include_directories(mc_minizip SYSTEM PUBLIC ${MC_ZLIB_SRC}/contrib)
  target_compile_definitions(mc_minizip PUBLIC NOCRYPT NOUNCRYPT)
  target_compile_options(mc_minizip PRIVATE -w)
  target_link_libraries(mc_minizip PUBLIC z)
else()
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(mc_minizip INTERFACE)
  target_link_libraries(mc_minizip INTERFACE PkgConfig::MINIZIP)
endif()

# libsodium checks the signatures of updates: Debian's package on Linux; for the Windows port
# the static library scripts/setup builds from Debian's source package.
if(MC_PORT STREQUAL "win32")
  set(MC_SODIUM_WIN32 ${CMAKE_SOURCE_DIR}/build/deps/sodium-win32 CACHE PATH
    "libsodium built with the mingw compiler")
  if(NOT EXISTS ${MC_SODIUM_WIN32}/lib/libsodium.a)
    message(FATAL_ERROR "libsodium for mingw not found at ${MC_SODIUM_WIN32}: run scripts/setup")
  endif()
  add_library(mc_sodium STATIC IMPORTED)
  # SODIUM_STATIC: the headers would otherwise declare every function as imported from a DLL.
  # advapi32: its random source, which sodium_init seeds.
  set_target_properties(mc_sodium PROPERTIES
    IMPORTED_LOCATION ${MC_SODIUM_WIN32}/lib/libsodium.a
    INTERFACE_INCLUDE_DIRECTORIES ${MC_SODIUM_WIN32}/include
    INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC
    INTERFACE_LINK_LIBRARIES advapi32)
else()
  pkg_check_modules(SODIUM REQUIRED IMPORTED_TARGET libsodium)
  add_library(mc_sodium INTERFACE)
  target_link_libraries(mc_sodium INTERFACE PkgConfig::SODIUM)
endif()
