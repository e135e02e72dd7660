# What Linux users get: ombrix optimised and without the sanitizers, its manual page,
# the install rules and the Debian package, with the tests of that package. The unit
# tests run in the sanitizer build (Native.cmake), on the same sources.
include(GNUInstallDirs)
# Optimised as Debian builds its packages.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

add_executable(ombrix cli/main.cpp)
target_link_libraries(ombrix PRIVATE ombrix_cli)
target_compile_options(ombrix PRIVATE ${OMBRIX_WARNINGS})

# The sample image for the package's test.
include(cmake/SampleRom.cmake)

# The manual page is made from the program's own help texts, every command's
# included, so that it cannot drift from them.
find_program(OMBRIX_HELP2MAN help2man REQUIRED)
set(OMBRIX_MANUAL ${CMAKE_BINARY_DIR}/ombrix.1)
add_custom_command(
  OUTPUT ${OMBRIX_MANUAL}
  COMMAND ${OMBRIX_HELP2MAN} --no-info --help-option=--help-all --version-option=--version
          "--name=read, check and change the fields of a 32 KB VGA BIOS option ROM image"
          --output=${OMBRIX_MANUAL} $<TARGET_FILE:ombrix>
  DEPENDS ombrix
  VERBATIM)
add_custom_target(ombrix_manual ALL DEPENDS ${OMBRIX_MANUAL})

# Debian keeps a package's licences in /usr/share/doc/PACKAGE/copyright: ours, then
# those of the libraries inside the program.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE OMBRIX_LICENSE_TEXT)
file(READ ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt OMBRIX_NOTICES_TEXT)
file(WRITE ${CMAKE_BINARY_DIR}/copyright "${OMBRIX_LICENSE_TEXT}\n\n${OMBRIX_NOTICES_TEXT}")

install(TARGETS ombrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${OMBRIX_MANUAL} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ombrix)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE OMBRIX_DEB_ARCHITECTURE
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrix)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${OMBRIX_DEB_ARCHITECTURE})
set(CPACK_DEBIAN_FILE_NAME ombrix_${PROJECT_VERSION}_${OMBRIX_DEB_ARCHITECTURE}.deb)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ombrix BIOS Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command line of the Ombrix BIOS Editor, for 32 KB VGA BIOS images")
set(CPACK_PACKAGE_DESCRIPTION
    "ombrix reads, checks and changes every field of a 32 KB VGA BIOS option ROM image\n"
    "through the Ombrix BIOS Editor's own pages: the VGA parameter table and the\n"
    "extended modes, the fonts, the signature and sign-on texts, the PCI subsystem IDs\n"
    "and the memory configuration. Saves are atomic and fix the checksum.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# The libraries the program needs, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(cmake/Package.cmake)

add_test(NAME package.Debian
         COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_deb.sh ${CPACK_PACKAGE_DIRECTORY}/${CPACK_DEBIAN_FILE_NAME}
                 ${PROJECT_VERSION} $<TARGET_FILE:make_sample_rom> $<TARGET_FILE:ombrix>)
set_tests_properties(package.Debian PROPERTIES TIMEOUT 60)
