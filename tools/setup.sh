#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
# The packages: help2man writes the manual page, dpkg-dev (dpkg-shlibdeps) and file
# give the Debian package its dependencies, unzip lets the tests open the ZIP. QEMU boots
# SeaBIOS's VGA BIOS with imported fonts (console-data gives one of them).
# The fonts: Wine's own and Liberation, which stand in for the fonts the dialogs name.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-dev python3 libgtest-dev googletest libbenchmark-dev zlib1g-dev
          libz-mingw-w64-dev libstb-dev libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64 mingw-w64-tools wine
          wine64 fonts-wine fonts-liberation xvfb xauth imagemagick kbd console-data help2man dpkg-dev file unzip
          qemu-system-x86 seabios)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
