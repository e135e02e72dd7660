#!/usr/bin/env bash
# Lists the DLLs a Windows program imports and fails when one of them does not
# come with Windows (a MinGW runtime DLL would stop the program from starting
# on a machine without MinGW). Usage: check_imports.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump=$1
exe=$2
system='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|shlwapi|ole32|oleaut32|uxtheme|version|msvcrt|ucrtbase|ntdll|api-ms-win-.*)\.dll$'
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}')
[ -n "$imports" ] || { echo "no imports found in $exe" >&2; exit 1; }
echo "$(basename "$exe") imports: $(echo $imports)"
foreign=$(echo "$imports" | grep -viE "$system" || true)
if [ -n "$foreign" ]; then
  echo "not a system DLL: $(echo $foreign)" >&2
  exit 1
fi
