#!/usr/bin/env bash
# Builds every fuzz target with clang (libFuzzer, AddressSanitizer, UBSan) into build-fuzz/
# (or $FUZZ_BUILD_DIR) and runs each for SECONDS (default 60), starting from the committed
# seeds of every target (an input means the same to all of them). New inputs go to
# build-fuzz/corpus/<target>/, findings to build-fuzz/findings/.
# Extra arguments go to every libFuzzer run, e.g. `bash scripts/fuzz.sh 600 -jobs=2`.
set -euo pipefail

seconds="${1:-60}"
shift || true
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${FUZZ_BUILD_DIR:-$repo_root/build-fuzz}"
targets=(c_decoders cpp_decoders c_cpp_agreement every_kind_agreement)

CC=clang CXX=clang++ cmake -S "$repo_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANTHELIS_FUZZ=ON -DCORVANTHELIS_WARNINGS_AS_ERRORS=ON
cmake --build "$build_dir" -j2 --target "${targets[@]/%/_fuzzer}"

mkdir -p "$build_dir/findings"
for target in "${targets[@]}"; do
  corpus="$build_dir/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  "$build_dir/fuzz/${target}_fuzzer" "$corpus" "${targets[@]/#/$repo_root/fuzz/corpus/}" \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build_dir/findings/$target-" "$@"
done
