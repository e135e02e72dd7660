# The sample image, shared by its tool and the tests. It reads the console fonts with
# the editor's own font reader.
add_library(ombrix_sample_rom STATIC tools/SampleRom.cpp tools/ConsoleFont.cpp)
target_link_libraries(ombrix_sample_rom PUBLIC ombrix_rom_builder ombrix_engine)
target_compile_options(ombrix_sample_rom PRIVATE ${OMBRIX_WARNINGS})

# Writes the sample image the run command offers in the Open dialog.
add_executable(make_sample_rom tools/make_sample_rom.cpp)
target_link_libraries(make_sample_rom PRIVATE ombrix_sample_rom)
target_compile_options(make_sample_rom PRIVATE ${OMBRIX_WARNINGS})
