#!/usr/bin/env bash
# Installs what is missing, builds, and runs the single-process example programs: a DetectTrash
# response through the C, C++ and Python type supports and the inspect tool. The two-node demo
# over the middleware is scripts/demo.sh.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh"

demos=(detect_trash_demo detect_trash_wire detect_trash_cpp)
for demo in "${demos[@]}"; do
  program="$build_dir/examples/$demo"
  if [[ ! -x "$program" ]]; then
    echo "examples.sh: $program was not built (is examples/$demo.c or .cpp there?)" >&2
    exit 1
  fi
  echo "== $demo"
  "$program"
done

# The inspect tool on an embedded sample: a DetectTrash response (status 1, one Trash, errmsg
# "ok") as CDR bytes, little endian, after the 4-byte encapsulation header.
inspect="$build_dir/tools/corvanthelis_inspect"
sample="00010000 01000000 01000000 020301 0000000000
  000000000000e03f 000000000000f4bf 0000000000000040 0000000000000000 0000000000000000
  0000000000000000 000000000000f03f 000000000000f83f 0000000000000440 000000000000d03f
  0000000000000000 0000000000000000 cd3b7f669ea0e63f cd3b7f669ea0e63f 9a9999999999c93f
  9a9999999999b93f 9a9999999999a93f 03000000 6f6b00"
export LD_LIBRARY_PATH="$build_dir/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
echo "== corvanthelis_inspect show corvanthelis_interfaces/srv/DetectTrash_Response"
"$inspect" show corvanthelis_interfaces/srv/DetectTrash_Response
echo "== corvanthelis_inspect decode corvanthelis_interfaces/srv/DetectTrash_Response"
"$inspect" decode corvanthelis_interfaces/srv/DetectTrash_Response "$sample"

# The same type from Python: a response made in Python goes through the capsules into C, is
# written as CDR by the C type support and read back into Python; the inspect tool decodes the
# bytes it printed.
echo "== examples/detect_trash_python.py"
cdr="$("$build_dir/python.sh" "$repo_root/examples/detect_trash_python.py")"
echo "$cdr"
echo "== corvanthelis_inspect decode corvanthelis_interfaces/srv/DetectTrash_Response (from Python)"
"$inspect" decode corvanthelis_interfaces/srv/DetectTrash_Response "$cdr"
