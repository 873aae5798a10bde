#!/usr/bin/env bash
# A user's or a packager's build (plain CMake, a Release build type, no preset) treats warnings as warnings: a false
# warning of another compiler release must not stop it. Configures such a tree beside the test build, checks that
# no compile command carries -Werror, and compiles the file whose false -Wrestrict once stopped g++ 12's -O3 build.
set -euo pipefail
root=$1
tree=$2
rm -rf "$tree"
cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release > "$tree.configure.log" 2>&1 || {
  cat "$tree.configure.log" >&2; exit 1; }
if grep -q -- "-Werror" "$tree/compile_commands.json"; then
  echo "a plain Release build treats warnings as errors:" >&2
  grep -m 3 -o -- "-Werror[^ ]*" "$tree/compile_commands.json" >&2
  exit 1
fi
cmake --build "$tree" --target host/sys/CMakeFiles/host_sys.dir/atomic_file.cpp.o
rm -rf "$tree" "$tree.configure.log"
