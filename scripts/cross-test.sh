#!/usr/bin/env bash
# Builds the whole tree for Linux on aarch64 into build-aarch64/ (or $BUILD_DIR) with Debian's
# cross compilers, checks that everything it built for the target is an aarch64 file, and runs
# every test through CTest under qemu-aarch64. The interface compiler is built for the host and
# runs there. Installs what is missing first; extra arguments go to the configure step.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build-aarch64}"
sysroot="${CORVANTHELIS_AARCH64_SYSROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/corvanthelis_interfaces/aarch64-sysroot}"

bash "$repo_root/scripts/setup.sh" \
  gcc-aarch64-linux-gnu g++-aarch64-linux-gnu qemu-user file \
  librosidl-runtime-c-cpp-dev:arm64 librcutils-dev:arm64 libfastcdr-dev:arm64 \
  libgtest-dev:arm64 libbenchmark-dev:arm64
# Through multiarch these would upgrade the host's own libpython3.11, libssl3, zlib1g, ...
bash "$repo_root/scripts/cross-sysroot.sh" "$sysroot" \
  libpython3.11-dev:arm64 python3.11-minimal:arm64 libfastrtps-dev:arm64

# Every aarch64 program the tests start gets the shim that lets the middleware's UDP sockets
# work under the emulator (cmake/toolchains/qemu_socket_options.c says why).
mkdir -p "$build_dir/qemu"
export CORVANTHELIS_QEMU_PRELOAD="$build_dir/qemu/libqemu_socket_options.so"
aarch64-linux-gnu-gcc -shared -fPIC -O2 -Wall -Wextra -Werror \
  -o "$CORVANTHELIS_QEMU_PRELOAD" "$repo_root/cmake/toolchains/qemu_socket_options.c" -ldl

# Debian 12 ships no Python 3.10 for any architecture: the target's Python is Debian's 3.11,
# run under the emulator. The build asks it for its headers, libpython and extension suffix, and
# runs the Python tests with it.
python="$build_dir/python3-aarch64"
mkdir -p "$build_dir"
cat >"$python" <<EOF
#!/bin/sh
exec qemu-aarch64 -E 'LD_PRELOAD=$CORVANTHELIS_QEMU_PRELOAD' -L '$sysroot' '$sysroot/usr/bin/python3.11' "\$@"
EOF
chmod +x "$python"

# The toolchain seeds compile and link flags from the folder at the first configure only.
cache="$build_dir/CMakeCache.txt"
if [[ -f "$cache" ]] && ! grep -qxF "CORVANTHELIS_AARCH64_SYSROOT:PATH=$sysroot" "$cache"; then
  rm -f "$cache"
fi
cmake -S "$repo_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_TOOLCHAIN_FILE=$repo_root/cmake/toolchains/aarch64-linux-gnu.cmake" \
  "-DCORVANTHELIS_AARCH64_SYSROOT=$sysroot" "-DCORVANTHELIS_PYTHON_EXECUTABLE=$python" \
  -DCORVANTHELIS_TEST_DOMAIN_OFFSET=100 -DCORVANTHELIS_WARNINGS_AS_ERRORS=ON "$@"
cmake --build "$build_dir" -j2

# Everything built for the target: shared libraries, extension modules, programs. Only the
# interface compiler's own tree is built for the host.
checked=0
wrong=()
while IFS= read -r -d '' binary; do
  description="$(file -b "$binary")"
  [[ "$description" == ELF* ]] || continue
  checked=$((checked + 1))
  [[ "$description" == *"ARM aarch64"* ]] || wrong+=("$binary: $description")
done < <(find "$build_dir" -path "$build_dir/generator-host" -prune -o -path '*/CMakeFiles' -prune \
           -o -type f \( -name '*.so' -o -perm -u+x \) -print0)
libraries=("$build_dir"/lib/lib*.so)
if ((${#wrong[@]} > 0)); then
  printf 'cross-test.sh: not an aarch64 file: %s\n' "${wrong[@]}" >&2
  exit 1
fi
if [[ ! -e "${libraries[0]}" ]]; then
  echo "cross-test.sh: no shared libraries in $build_dir/lib" >&2
  exit 1
fi
echo "== file: all $checked ELF files are ARM aarch64, among them ${#libraries[@]} shared libraries:"
for library in "${libraries[@]}"; do
  echo "   $(basename "$library")"
done
while IFS= read -r -d '' module; do
  echo "   $(realpath --relative-to="$build_dir" "$module")"
done < <(find "$build_dir" -path '*/CMakeFiles' -prune -o -type f -name '*.cpython-*.so' -print0)

if grep -rqsF --include=CTestTestfile.cmake "$python" "$build_dir"; then
  echo "== Python tests: no aarch64 Python 3.10 exists here; they run under Debian's arm64" \
    "Python $("$python" -c 'import platform, sysconfig; print(platform.python_version(), "(" + platform.machine() + ", extension suffix " + sysconfig.get_config_var("EXT_SUFFIX") + ")")')"
else
  echo "== Python tests: none in this tree"
fi
echo "== ctest under $(qemu-aarch64 --version | head -n 1)"
ctest --test-dir "$build_dir" --output-on-failure -j2
