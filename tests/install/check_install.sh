#!/usr/bin/env bash
# check_install.sh <settings> <install_exports_test>
#
# Installs the build into a fresh temporary prefix and checks it as a downstream project meets
# it: nothing installed names the build or source tree (RUNPATHs, CMake files, strings), the
# consumer in examples/downstream configures with find_package against the prefix alone, builds,
# and runs with neither LD_LIBRARY_PATH nor PYTHONPATH pointing anywhere but the prefix, and the
# prefix's libraries and extension modules export and hold what the build tree's do.
# <settings> is the file tests/install/CMakeLists.txt writes: source, build, python, readelf,
# consumer_args (array), launcher (array, the emulator in front of the build's programs, empty
# on the build machine).
set -euo pipefail

# shellcheck source=/dev/null
source "$1"
exports_test="$2"

work="$(mktemp -d "${TMPDIR:-/tmp}/corvanthelis-install.XXXXXX")"
# Kept when a step fails, for a look at what was installed and built.
trap 'status=$?; if ((status == 0)); then rm -rf "$work"; else echo "kept $work" >&2; fi' EXIT
prefix="$work/prefix"
consumer="$work/consumer"
site="$prefix/lib/python$python_version/site-packages"
# The programs here run with only what they carry themselves and what the system provides.
clean_env=(env -u LD_LIBRARY_PATH -u PYTHONPATH -u PYTHONHOME)

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

echo "== cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
[[ -d "$site/corvanthelis_interfaces" ]] || fail "no corvanthelis_interfaces in $site"

echo "== no installed file names $source or $build"
leaks="$(grep -rlF -e "$source" -e "$build" "$prefix" || true)"
[[ -z "$leaks" ]] || fail "these installed files name the source or build tree:"$'\n'"$leaks"

echo "== every installed ELF file finds its libraries relative to itself"
elf_files=0
while IFS= read -r -d '' binary; do
  [[ "$(head -c 4 "$binary")" == $'\x7fELF' ]] || continue
  elf_files=$((elf_files + 1))
  dynamic="$("$readelf" -d "$binary")"
  runpath="$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' <<<"$dynamic")"
  [[ "$runpath" == '$ORIGIN'* ]] || fail "$binary: RUNPATH '$runpath' is not relative to \$ORIGIN"
  ! grep -q '(RPATH)' <<<"$dynamic" || fail "$binary: has an RPATH, which LD_LIBRARY_PATH cannot override"
done < <(find "$prefix" -type f -print0)
((elf_files > 0)) || fail "no ELF files in $prefix"
echo "   $elf_files files"

echo "== examples/downstream configured with find_package(corvanthelis_interfaces) against the prefix"
cmake -S "$source/examples/downstream" -B "$consumer" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_PREFIX_PATH=$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF "${consumer_args[@]}" \
  >"$work/consumer-configure.log" || { cat "$work/consumer-configure.log"; fail "configure"; }
found="$(sed -n 's/^corvanthelis_interfaces_DIR:PATH=//p' "$consumer/CMakeCache.txt")"
[[ "$found" == "$prefix/share/corvanthelis_interfaces/cmake" ]] || fail "found the package in $found"
cmake --build "$consumer" -j2 >"$work/consumer-build.log" || { cat "$work/consumer-build.log"; fail "build"; }

echo "== the consumer's programs and the Python script, run from the prefix alone"
for program in detect_trash_c detect_trash_cpp; do
  ! "$readelf" -d "$consumer/$program" | grep -F -e "$build" -e "$source" ||
    fail "$program names the build or source tree"
  echo "-- $program"
  "${clean_env[@]}" "${launcher[@]}" "$consumer/$program"
done
echo "-- detect_trash.py"
output="$("${clean_env[@]}" "PYTHONPATH=$site" "$python" "$source/examples/downstream/detect_trash.py")"
echo "$output"
grep -qxF "package: $site/corvanthelis_interfaces/__init__.py" <<<"$output" ||
  fail "the script did not import the prefix's package"

echo "== the prefix's libraries and extension modules export what the build tree's do"
CORVANTHELIS_INSTALL_PREFIX="$prefix" "${launcher[@]}" "$exports_test" --gtest_brief=1

echo "== the prefix's extension modules hold what the build tree's do"
"${clean_env[@]}" "PYTHONPATH=$site" \
  "$python" "$source/tests/install/module_attributes.py" "$site" >"$work/installed.txt"
mapfile -t modules < <(sed 's/ .*//' "$work/installed.txt")
"${clean_env[@]}" "PYTHONPATH=$build_python_tree" "LD_LIBRARY_PATH=$build_library_path" \
  "$python" "$source/tests/install/module_attributes.py" "$build_python_tree" "${modules[@]}" \
  >"$work/built.txt"
diff "$work/built.txt" "$work/installed.txt" || fail "the module attributes differ"
sed 's/: .*//; s/^/   /' "$work/installed.txt"
