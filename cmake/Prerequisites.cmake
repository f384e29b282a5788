# What each build needs, checked before anything is built, so a missing compiler or library is
# named together with the Debian package that provides it (scripts/install-deps.sh installs them).

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 11)
    message(FATAL_ERROR "GCC ${CMAKE_CXX_COMPILER_VERSION} is too old: C++20 needs GCC 11 or newer "
                        "(Debian: g++)")
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
    message(FATAL_ERROR "Clang ${CMAKE_CXX_COMPILER_VERSION} is too old: C++20 needs Clang 14 "
                        "or newer (Debian: clang)")
endif()

# ambrel_require(PACKAGE DEBIAN-PACKAGES [find_package arguments]): stops with a clear message
# when the package's CMake files are not found.
macro(ambrel_require package debian)
    find_package(${package} ${ARGN} QUIET)
    if(NOT ${package}_FOUND)
        message(FATAL_ERROR "Missing ${package} (Debian: ${debian}); "
                            "scripts/install-deps.sh installs what the build needs")
    endif()
endmacro()

ambrel_require(Threads "libc6-dev")
ambrel_require(nlohmann_json "nlohmann-json3-dev" 3)
if(NOT WIN32)
    ambrel_require(SQLite3 "libsqlite3-dev")
endif()
if(AMBREL_TESTS AND NOT AMBREL_GTEST_SOURCE_DIR)
    ambrel_require(GTest "libgtest-dev libgmock-dev")
endif()
if(AMBREL_TESTS AND AMBREL_GTEST_SOURCE_DIR AND NOT EXISTS "${AMBREL_GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "No GoogleTest sources in ${AMBREL_GTEST_SOURCE_DIR} (Debian: googletest)")
endif()
# The Windows tests run under Wine (cmake/wine-run.sh; AMBREL_WINE names another Wine).
if(WIN32 AND AMBREL_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR AND NOT DEFINED ENV{AMBREL_WINE}
   AND NOT EXISTS /usr/lib/wine/wine64)
    message(FATAL_ERROR "The Windows tests run under Wine: /usr/lib/wine/wine64 not found "
                        "(Debian: wine wine64 fonts-wine; scripts/install-deps.sh windows)")
endif()
if(AMBREL_BENCH)
    ambrel_require(benchmark "libbenchmark-dev")
endif()

if(AMBREL_FUZZ)
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
    check_cxx_source_compiles([[
        #include <cstddef>
        #include <cstdint>
        extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }]]
        AMBREL_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(NOT AMBREL_HAVE_LIBFUZZER)
        message(FATAL_ERROR "AMBREL_FUZZ: ${CMAKE_CXX_COMPILER} cannot link a libFuzzer target; "
                            "configure with the fuzz preset (clang) and install clang's runtime "
                            "(Debian: clang libclang-rt-14-dev)")
    endif()
endif()
