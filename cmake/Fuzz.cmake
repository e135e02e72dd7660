# libFuzzer targets, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer: configure with -DOMBRIX_FUZZ=ON and clang as the
# compiler (tools/fuzz.sh does). The image lives in its own exact-size heap
# block, so any read or write past it is caught.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

# Light optimisation and line tables, as libFuzzer's own builds: the reports name functions and
# lines, and the objects compile in half the time of -O2 -g.
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -gline-tables-only -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -gline-tables-only -DNDEBUG")
set(OMBRIX_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# Everything but the targets' own objects gets coverage without libFuzzer's main.
set(OMBRIX_FUZZ_LIBRARY_FLAGS -fsanitize=fuzzer-no-link ${OMBRIX_FUZZ_SANITIZERS})
foreach(library IN ITEMS ombrix_core ombrix_rom_builder ombrix_engine ombrix_cli_core)
  target_compile_options(${library} PRIVATE ${OMBRIX_FUZZ_LIBRARY_FLAGS})
endforeach()
# No target parses a command line: the commands are not built here.
set_target_properties(ombrix_cli PROPERTIES EXCLUDE_FROM_ALL ON)

add_library(ombrix_fuzz_harness STATIC ${OMBRIX_FUZZ_HARNESS_SOURCES})
target_link_libraries(ombrix_fuzz_harness PUBLIC ombrix_cli_core ombrix_engine)
# The harness judges the code under test; its own branches would only add noise to the coverage.
target_compile_options(ombrix_fuzz_harness PRIVATE ${OMBRIX_WARNINGS} ${OMBRIX_FUZZ_SANITIZERS})

set(OMBRIX_FUZZ_TARGETS rom_file mode_list page_parameter_table page_sub_vendor_id page_rom_signature
    page_sign_on_string page_memory_config page_font_images cli_set font_file retime)
# One entry object for all targets: each program runs the target it is named after.
add_library(ombrix_fuzzer_entry OBJECT tests/fuzz/fuzzer.cpp)
target_link_libraries(ombrix_fuzzer_entry PRIVATE ombrix_fuzz_harness)
target_compile_options(ombrix_fuzzer_entry PRIVATE ${OMBRIX_WARNINGS} -fsanitize=fuzzer ${OMBRIX_FUZZ_SANITIZERS})
foreach(target IN LISTS OMBRIX_FUZZ_TARGETS)
  add_executable(${target}_fuzzer $<TARGET_OBJECTS:ombrix_fuzzer_entry>)
  target_link_libraries(${target}_fuzzer PRIVATE ombrix_fuzz_harness)
  target_link_options(${target}_fuzzer PRIVATE -fsanitize=fuzzer ${OMBRIX_FUZZ_SANITIZERS})
endforeach()

# The starting corpus: the sample image and a compact one, for every target.
add_executable(make_fuzz_seeds tests/fuzz/seeds/make_fuzz_seeds.cpp tools/SampleRom.cpp tools/ConsoleFont.cpp)
target_link_libraries(make_fuzz_seeds PRIVATE ombrix_rom_builder ombrix_engine)
target_include_directories(make_fuzz_seeds PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(make_fuzz_seeds PRIVATE ${OMBRIX_WARNINGS} ${OMBRIX_FUZZ_LIBRARY_FLAGS})
target_link_options(make_fuzz_seeds PRIVATE ${OMBRIX_FUZZ_LIBRARY_FLAGS})
