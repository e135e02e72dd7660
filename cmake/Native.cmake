# Native Linux build: the portable part under the sanitizers, with its unit tests.
option(OMBRIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(OMBRIX_SANITIZE)
  # The test build is not optimised and keeps line tables only: the sanitizers' reports
  # still name every function, file and line, and the objects compile in a third of the
  # time of -O2 -g. The release and Windows builds compile the same sources with -O2 and
  # -Werror, so the warnings that only optimisation finds still stop a build.
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O0 -g1 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O0 -g1 -DNDEBUG")
  set(OMBRIX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${OMBRIX_SANITIZER_FLAGS})
  add_link_options(${OMBRIX_SANITIZER_FLAGS})
  foreach(library IN ITEMS ombrix_core ombrix_rom_builder ombrix_engine ombrix_cli_core ombrix_cli)
    target_compile_options(${library} PRIVATE ${OMBRIX_SANITIZER_FLAGS})
  endforeach()
endif()

# The test builds check every index into a standard container and every use of an empty optional: a read one
# past the end of a list lands in the vector's spare capacity, where AddressSanitizer does not look.
if(OMBRIX_SANITIZE OR CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  foreach(library IN ITEMS ombrix_core ombrix_rom_builder ombrix_engine ombrix_cli)
    target_compile_definitions(${library} PRIVATE _GLIBCXX_ASSERTIONS)
  endforeach()
endif()

# The command line.
add_executable(ombrix cli/main.cpp)
target_link_libraries(ombrix PRIVATE ombrix_cli)
target_compile_options(ombrix PRIVATE ${OMBRIX_WARNINGS})

find_package(GTest REQUIRED)
include(GoogleTest)

add_library(ombrix_test_support STATIC ${OMBRIX_SUPPORT_SOURCES})
target_link_libraries(ombrix_test_support PUBLIC ombrix_rom_builder GTest::gtest)
target_compile_options(ombrix_test_support PRIVATE ${OMBRIX_WARNINGS})

include(cmake/SampleRom.cmake)

# The fuzz targets' runs, for replaying what the fuzzers found.
add_library(ombrix_fuzz_harness STATIC ${OMBRIX_FUZZ_HARNESS_SOURCES})
target_link_libraries(ombrix_fuzz_harness PUBLIC ombrix_cli_core ombrix_engine)
target_compile_options(ombrix_fuzz_harness PRIVATE ${OMBRIX_WARNINGS})

file(GLOB OMBRIX_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(ombrix_unit_tests ${OMBRIX_UNIT_TESTS})
target_link_libraries(ombrix_unit_tests PRIVATE ombrix_test_support ombrix_sample_rom ombrix_fuzz_harness ombrix_cli
                      GTest::gtest_main)
target_compile_options(ombrix_unit_tests PRIVATE ${OMBRIX_WARNINGS})
target_compile_definitions(ombrix_unit_tests PRIVATE OMBRIX_FUZZ_REGRESSIONS="${CMAKE_SOURCE_DIR}/tests/fuzz/regressions")
# A failed library check aborts; under the sanitizers the abort prints its backtrace, as a crash does.
gtest_discover_tests(ombrix_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ENVIRONMENT
                     "ASAN_OPTIONS=handle_abort=1")

# SeaBIOS's VGA BIOS booted by QEMU with fonts that ombrix imported, the screendump checked pixel by pixel against
# the glyphs. tools/setup.sh installs QEMU, SeaBIOS and console-data, so a missing one fails the test.
add_test(NAME qemu.BootFonts COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/qemu/boot_fonts.py $<TARGET_FILE:ombrix>)
set_tests_properties(qemu.BootFonts PROPERTIES TIMEOUT 120 LABELS qemu)

add_test(NAME make_sample_rom_writes_the_image COMMAND make_sample_rom ${CMAKE_BINARY_DIR}/sample.rom)
set_tests_properties(make_sample_rom_writes_the_image PROPERTIES TIMEOUT 60)

# A save killed at random moments, in 150 forked children. Built without the
# sanitizers: in a sanitized process every fork costs tens of milliseconds more,
# and what this test checks, the file left behind, does not need them.
add_executable(save_kill_test tests/kill/SaveKillTest.cpp rom/RomFile.cpp rom/RomImage.cpp rom/NativeFileSystem.cpp
                              tests/support/TempFolder.cpp)
set_target_properties(save_kill_test PROPERTIES COMPILE_OPTIONS "${OMBRIX_WARNINGS}" LINK_OPTIONS "")
target_include_directories(save_kill_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(save_kill_test PRIVATE GTest::gtest_main)
gtest_discover_tests(save_kill_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

# Benchmarks: measurement, not a test. Timings under the sanitizers mean nothing,
# so a sanitized build leaves them out of its default target; tools/bench.sh
# builds and runs them in build/bench without the sanitizers.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  set(OMBRIX_BENCH_EXCLUDE)
  if(OMBRIX_SANITIZE)
    set(OMBRIX_BENCH_EXCLUDE EXCLUDE_FROM_ALL)
  endif()
  add_executable(ombrix_bench ${OMBRIX_BENCH_EXCLUDE} tools/bench/OmbrixBench.cpp)
  target_link_libraries(ombrix_bench PRIVATE ombrix_test_support ombrix_sample_rom benchmark::benchmark)
  target_compile_options(ombrix_bench PRIVATE ${OMBRIX_WARNINGS})
endif()
