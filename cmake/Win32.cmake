# Windows build: the program itself and the tests that need real windows (run under Wine).
enable_language(RC)
# Optimised as the programs ship; line tables are enough for a backtrace under Wine, and
# full debugging information would double the assembler's and the linker's work.
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(OMBRIX_STATIC_LINK -static -static-libgcc -static-libstdc++)

file(GLOB OMBRIX_WIN32_SOURCES CONFIGURE_DEPENDS ui/win32/*.cpp shell/win32/*.cpp app/*.cpp)
list(FILTER OMBRIX_WIN32_SOURCES EXCLUDE REGEX "app/WinMain\\.cpp$")
add_library(ombrix_win32 STATIC ${OMBRIX_WIN32_SOURCES})
target_link_libraries(ombrix_win32 PUBLIC ombrix_core comctl32 gdi32 user32)
target_compile_options(ombrix_win32 PRIVATE ${OMBRIX_WARNINGS})

# The resource scripts read the version from the generated header.
set(OMBRIX_RC ${CMAKE_SOURCE_DIR}/res/Ombrix.rc)
set(OMBRIX_CLI_RC ${CMAKE_SOURCE_DIR}/res/OmbrixCli.rc)
set(OMBRIX_VERSION_RC_DEPENDS ${CMAKE_SOURCE_DIR}/res/VersionInfo.rc ${OMBRIX_GENERATED}/OmbrixVersion.h)
set_source_files_properties(${OMBRIX_RC} PROPERTIES INCLUDE_DIRECTORIES ${OMBRIX_GENERATED}
                            OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/resource.h;${OMBRIX_VERSION_RC_DEPENDS}")
set_source_files_properties(${OMBRIX_CLI_RC} PROPERTIES INCLUDE_DIRECTORIES ${OMBRIX_GENERATED}
                            OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/OmbrixCli.manifest;${OMBRIX_VERSION_RC_DEPENDS}")
add_executable(OmbrixBiosEditor WIN32 app/WinMain.cpp ${OMBRIX_RC})
target_link_libraries(OmbrixBiosEditor PRIVATE ombrix_win32)
# Sections nothing refers to are left out (about 10 KB of the C++ runtime's), and
# the map says what the size is made of (tools/size_report.py).
set(OMBRIX_EXE_LINK ${OMBRIX_STATIC_LINK} -municode -Wl,--gc-sections)
target_link_options(OmbrixBiosEditor PRIVATE ${OMBRIX_EXE_LINK} -Wl,-Map=${CMAKE_BINARY_DIR}/OmbrixBiosEditor.map)
target_compile_options(OmbrixBiosEditor PRIVATE ${OMBRIX_WARNINGS})

# The command line, as a console program that needs nothing but the system DLLs. Its
# wide entry point takes any file name, whatever the ANSI code page.
add_executable(ombrix cli/main.cpp ${OMBRIX_CLI_RC})
target_link_libraries(ombrix PRIVATE ombrix_cli)
target_link_options(ombrix PRIVATE ${OMBRIX_STATIC_LINK} -municode -Wl,--gc-sections)
target_compile_options(ombrix PRIVATE ${OMBRIX_WARNINGS})

# GoogleTest from Debian's source package, built for Windows.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB OMBRIX_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(ombrix_win32_tests ${OMBRIX_WIN32_TESTS} ${OMBRIX_SUPPORT_SOURCES} ${OMBRIX_RC})
target_include_directories(ombrix_win32_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(ombrix_win32_tests PRIVATE ombrix_win32 ombrix_rom_builder gtest)
target_link_options(ombrix_win32_tests PRIVATE ${OMBRIX_STATIC_LINK})
add_dependencies(ombrix_win32_tests OmbrixBiosEditor)

# Each suite runs as its own test under Wine, with a time limit: a window that
# no test expects fails the test instead of hanging the run.
set(OMBRIX_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
foreach(suite IN ITEMS Resources Sheet Pages Screens Program)
  add_test(NAME win32.${suite}
           COMMAND ${OMBRIX_WINE_RUN} $<TARGET_FILE:ombrix_win32_tests> --gtest_filter=${suite}*.*)
  set_tests_properties(win32.${suite} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE ENVIRONMENT OMBRIX_WINE_UNMANAGED=1)
endforeach()

# A program that crashes under test ends at once and leaves its backtrace in the log.
add_test(NAME win32.CrashEndsAtOnce
         COMMAND ${OMBRIX_WINE_RUN} $<TARGET_FILE:ombrix_win32_tests> --gtest_filter=CrashProbe.*
                 --gtest_also_run_disabled_tests --gtest_catch_exceptions=0)
set_tests_properties(win32.CrashEndsAtOnce PROPERTIES TIMEOUT 60 RUN_SERIAL TRUE PASS_REGULAR_EXPRESSION "Backtrace:"
                                                      ENVIRONMENT OMBRIX_WINE_UNMANAGED=1)

# The dialog layouts as the program gets them: no control overlaps another or
# sticks out of its group box or dialog.
add_test(NAME win32.ResourceLayout
         COMMAND sh -c "${CMAKE_RC_COMPILER} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/res -I${OMBRIX_GENERATED} ${OMBRIX_RC} -O res -o ${CMAKE_BINARY_DIR}/layout.res && python3 ${CMAKE_SOURCE_DIR}/tools/check_rc_layout.py ${CMAKE_BINARY_DIR}/layout.res")
set_tests_properties(win32.ResourceLayout PROPERTIES TIMEOUT 60)

# Start-up measurement (tools/bench.sh): a bare six-page property sheet to
# compare the editor with, and the launcher that times both in one Wine session.
# A second bare sheet has the editor's own page templates and resources, and no logic.
add_executable(bare_sheet WIN32 tools/bench/BareSheet.cpp tools/bench/BareSheet.rc)
add_executable(bare_sheet_templates WIN32 tools/bench/BareSheet.cpp tools/bench/StartupTrace.cpp ${OMBRIX_RC})
target_compile_definitions(bare_sheet_templates PRIVATE OMBRIX_BARE_TEMPLATES OMBRIX_STARTUP_TRACE)
target_include_directories(bare_sheet_templates PRIVATE ${CMAKE_SOURCE_DIR})
foreach(bare IN ITEMS bare_sheet bare_sheet_templates)
  target_link_libraries(${bare} PRIVATE comctl32 user32)
  target_link_options(${bare} PRIVATE ${OMBRIX_STATIC_LINK} -municode)
  target_compile_options(${bare} PRIVATE ${OMBRIX_WARNINGS})
endforeach()

# The editor with its start-up marks, for the timeline of start-up.
add_executable(editor_traced WIN32 EXCLUDE_FROM_ALL app/WinMain.cpp ${OMBRIX_WIN32_SOURCES} tools/bench/StartupTrace.cpp
                                   ${OMBRIX_RC})
target_compile_definitions(editor_traced PRIVATE OMBRIX_STARTUP_TRACE)
target_link_libraries(editor_traced PRIVATE ombrix_core comctl32 gdi32 user32)
target_link_options(editor_traced PRIVATE ${OMBRIX_EXE_LINK})
target_compile_options(editor_traced PRIVATE ${OMBRIX_WARNINGS})

add_executable(startup_timer tools/bench/StartupTimer.cpp)
target_include_directories(startup_timer PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(startup_timer PRIVATE ${OMBRIX_STATIC_LINK} -municode)
target_compile_options(startup_timer PRIVATE ${OMBRIX_WARNINGS})

# The glyph switch of the Font Images page, on the program's own sheet.
add_executable(glyph_switch_bench EXCLUDE_FROM_ALL tools/bench/GlyphSwitchBench.cpp ${OMBRIX_RC})
target_link_libraries(glyph_switch_bench PRIVATE ombrix_win32)
target_link_options(glyph_switch_bench PRIVATE ${OMBRIX_STATIC_LINK} -municode)
target_compile_options(glyph_switch_bench PRIVATE ${OMBRIX_WARNINGS})

# ombrix.exe once under Wine: a field set, read back, and the saved image verified.
add_test(NAME win32.OmbrixCli
         COMMAND sh -c "cp sample.rom ombrix-cli.rom && ${OMBRIX_WINE_RUN} ./ombrix.exe set ombrix-cli.rom memory.pllctrl1=1 sign-on.text=Wine && ${OMBRIX_WINE_RUN} ./ombrix.exe get ombrix-cli.rom memory.pllctrl1 sign-on.text | tr -d '\\r' | tr '\\n' ' ' | grep -qx '00000001 Wine ' && ${OMBRIX_WINE_RUN} ./ombrix.exe verify ombrix-cli.rom"
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(win32.OmbrixCli PROPERTIES TIMEOUT 120)

# Saves through symbolic links by both front ends. Wine makes no links, so the script makes them, runs the window's
# Links suite and ombrix.exe on them, and checks afterwards that they are still the links it made.
add_test(NAME win32.Links COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/links.sh ${CMAKE_BINARY_DIR})
set_tests_properties(win32.Links PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE ENVIRONMENT OMBRIX_WINE_UNMANAGED=1)

# The program must start on a bare Windows: it may import nothing but system DLLs.
add_test(NAME win32.SystemDllsOnly
         COMMAND ${CMAKE_SOURCE_DIR}/tools/check_imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:OmbrixBiosEditor>)
add_test(NAME win32.OmbrixSystemDllsOnly
         COMMAND ${CMAKE_SOURCE_DIR}/tools/check_imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:ombrix>)
set_tests_properties(win32.OmbrixSystemDllsOnly PROPERTIES TIMEOUT 60)
set_tests_properties(win32.SystemDllsOnly PROPERTIES TIMEOUT 60)

# A file name outside the ANSI code page reaches ombrix.exe and comes back in what it prints.
add_test(NAME win32.OmbrixUnicodeNames
         COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/unicode_names.sh ${OMBRIX_WINE_RUN} $<TARGET_FILE:ombrix>
                 ${CMAKE_BINARY_DIR}/sample.rom)
set_tests_properties(win32.OmbrixUnicodeNames PROPERTIES TIMEOUT 120)

# The ZIP for Windows users: the two programs, the README and the licences, unpacked and run as they are.
install(TARGETS OmbrixBiosEditor ombrix RUNTIME DESTINATION .)
install(FILES README.md LICENSE THIRD-PARTY-NOTICES.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
# Named apart: include(CPack) leaves CPACK_PACKAGE_FILE_NAME set to the source package's name.
set(OMBRIX_ZIP_NAME OmbrixBiosEditor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${OMBRIX_ZIP_NAME})
include(cmake/Package.cmake)
add_test(NAME win32.Package
         COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_zip.sh ${CPACK_PACKAGE_DIRECTORY}/${OMBRIX_ZIP_NAME}.zip
                 ${PROJECT_VERSION} ${OMBRIX_WINE_RUN} ${CMAKE_RC_COMPILER} $<TARGET_FILE:ombrix>)
set_tests_properties(win32.Package PROPERTIES TIMEOUT 120)
