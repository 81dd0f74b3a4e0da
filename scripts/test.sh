#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite itself, a short stress run
# of the middleware road, its valgrind runs,
# the same suite under AddressSanitizer and UBSan, the concurrency tests under ThreadSanitizer,
# and a short run of every fuzz target.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh" "$@"
ctest --test-dir "$build_dir" --output-on-failure -j2 -LE valgrind

# The middleware road under load, in short (about two minutes): three copies of the transport
# tests and of the demo at once; `bash scripts/stress.sh 100` is the long run.
BUILD_DIR="$build_dir" bash "$repo_root/scripts/stress.sh" 5

# Reads of bytes that were never written, which only valgrind sees (a bounded run).
ctest --test-dir "$build_dir" --output-on-failure -j2 -L valgrind --timeout 600

# Memory and undefined-behaviour faults. The allocation-failure tests skip here: the sanitizer
# owns malloc, so the injector cannot stand in front of it. This tree is built with GCC 11, the
# compiler generation of the robot's Ubuntu 22.04, so that its warnings and errors show here.
BUILD_DIR="$build_dir-asan" bash "$repo_root/scripts/build.sh" -DCORVANTHELIS_SANITIZE=address \
  -DCMAKE_C_COMPILER=gcc-11 -DCMAKE_CXX_COMPILER=g++-11
ctest --test-dir "$build_dir-asan" --output-on-failure -j2

# Data races when several threads make the first calls of the handles at once.
cmake -S "$repo_root" -B "$build_dir-tsan" -DCMAKE_BUILD_TYPE=Release -DCORVANTHELIS_SANITIZE=thread \
  -DCORVANTHELIS_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir-tsan" -j2 --target dispatch_first_use_test dispatch_cpp_first_use_test \
  introspection_cpp_first_use_test
ctest --test-dir "$build_dir-tsan" --output-on-failure -L concurrency

# A fixed smoke budget per fuzz target; long runs are `bash scripts/fuzz.sh SECONDS`.
bash "$repo_root/scripts/fuzz.sh" 15
