# What both packages share; the build that includes this sets the generator and
# what is particular to its package.
set(CPACK_PACKAGE_VENDOR "The Ombrix BIOS Editor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
# Users get the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
include(CPack)
