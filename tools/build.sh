#!/usr/bin/env bash
# Configures and builds the three builds and makes the packages:
#   build/native   Linux, the test build: sanitizers, unit tests, sample image tool
#   build/release  Linux, what users run: ombrix optimised without sanitizers, its
#                  manual page and build/release/packages/ombrix_VERSION_ARCH.deb
#   build/win32    Windows (MinGW-w64): the program, ombrix.exe, their Wine tests and
#                  build/win32/packages/OmbrixBiosEditor-VERSION-win64.zip
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/native" -G Ninja >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/release" -G Ninja -DOMBRIX_RELEASE=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" -j "$jobs"
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs"
for build in release win32; do
  (cd "$root/build/$build" && cpack >/dev/null)
done
