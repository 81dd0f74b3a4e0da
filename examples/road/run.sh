#!/usr/bin/env bash
# Runs the two-node demo from a build tree: the C++ perception node and the Python arm node,
# then compares what each sent with what the other received. Each node writes, per channel,
# the YAML of what it sent and received; the demo fails unless the two sides agree.
#
#   bash examples/road/run.sh <build folder>
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="$(cd "${1:?usage: run.sh <build folder>}" && pwd)"

# The build's Python with the build's Python tree and libraries on its paths.
python="$build_dir/python.sh"
export LD_LIBRARY_PATH="$build_dir/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
transcripts="$(mktemp -d)"
trap 'rm -rf "$transcripts"' EXIT

# A partition of its own, so that another run (or a test) on this host never joins in.
domain="${CORVANTHELIS_DEMO_DOMAIN:-42}"
partition="corvanthelis_demo_$$_$(date +%s%N)"

echo "== perception (C++) and arm (Python) on domain $domain, partition $partition"
# A cross build names its emulator here: its processes cannot start the build's programs.
read -r -a launcher <<<"${CORVANTHELIS_LAUNCHER:-}"
"${launcher[@]}" "$build_dir/examples/perception_node" "$domain" "$partition" "$transcripts" &
perception=$!
arm_status=0
"$python" "$here/arm_node.py" "$domain" "$partition" "$transcripts" || arm_status=$?
perception_status=0
wait "$perception" || perception_status=$?

# One node's sent file of a channel against the other's received file.
echo "== what travelled"
differences=0
compared=0
for pair in perception:arm arm:perception; do
  sender="${pair%%:*}"
  receiver="${pair##*:}"
  for sent in "$transcripts/$sender/sent/"*; do
    channel="$(basename "$sent")"
    received="$transcripts/$receiver/received/$channel"
    count="$(grep -c '^---$' "$sent")"
    if [[ -f "$received" ]] && cmp -s "$sent" "$received"; then
      echo "$channel: $count from $sender, the same $count at $receiver"
      compared=$((compared + count))
    else
      echo "$channel: $count from $sender, but $receiver got something else:"
      diff "$sent" "$received" || true
      differences=$((differences + 1))
    fi
  done
done
for received in "$transcripts/"*/received/*; do
  channel="$(basename "$received")"
  receiver="$(basename "$(dirname "$(dirname "$received")")")"
  if ! ls "$transcripts/"*/sent/"$channel" >/dev/null 2>&1; then
    echo "$channel: $receiver got messages nobody sent"
    differences=$((differences + 1))
  fi
done

if ((arm_status != 0 || perception_status != 0 || differences != 0 || compared == 0)); then
  echo "demo FAILED (arm exit $arm_status, perception exit $perception_status," \
    "$differences channels differ)"
  exit 1
fi
echo "demo passed: $compared messages, each read the same in C++ and Python"
