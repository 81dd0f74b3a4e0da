#!/usr/bin/env bash
# The middleware road under load: COPIES copies (default 3) of every transport test and of the
# two-node demo run at once, in the same domains, for ROUNDS rounds; the tests include peers
# killed with SIGKILL in the middle of a stream and of a call. Counts failed tests, lost
# replies, lost samples and the middleware's receive errors, and fails when any of them is not
# zero. Everything stays on this host (loopback and shared memory).
#
#   bash scripts/stress.sh ROUNDS [COPIES]
#
# Builds what is missing first. The logs of a failed run are kept and named at the end.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"
rounds="${1:?usage: stress.sh ROUNDS [COPIES]}"
copies="${2:-3}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh" >/dev/null

logs="$(mktemp -d /tmp/corvanthelis_stress.XXXXXX)"
# Lines of the logs that mean a loss, by what was lost.
count() { cat "$logs"/*.log | grep -c -E "$1" || true; }

failed_tests=0
started=$SECONDS
for ((round = 1; round <= rounds; round++)); do
  pids=()
  for ((copy = 1; copy <= copies; copy++)); do
    # -V: the output of passing tests too, where the transport logs what it lost.
    ctest --test-dir "$build_dir" -L transport -j2 -V >"$logs/round${round}_copy${copy}.log" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || true; done
  failed_now="$(cat "$logs"/round"${round}"_*.log | grep -E -o '[0-9]+ tests failed out of' |
    awk '{ sum += $1 } END { print sum + 0 }')"
  failed_tests=$((failed_tests + failed_now))
  echo "stress: round $round of $rounds, $copies copies: $failed_now failed tests" \
    "($((SECONDS - started)) s so far)"
done

# A reply the client waited for in vain, or one the server could not deliver.
lost_replies="$(count 'no reply came|did not acknowledge the request|its reply is dropped|no reply to')"
# A message the demo or a test's peer sent that did not arrive, or arrived changed.
lost_samples="$(count 'got something else|got messages nobody sent|of [0-9]+ came back|came back different')"
receive_errors="$(count 'Error receiving data')"
port_resets="$(count 'Zombie')"
# Buffers the shared-memory transport reused before a slow reader took them: sent again.
invalidated="$(count 'Buffer is being invalidated')"

echo "stress: $rounds rounds x $copies copies in $((SECONDS - started)) s:" \
  "$failed_tests failed tests, $lost_replies lost replies, $lost_samples lost samples," \
  "$receive_errors receive errors, $port_resets port resets" \
  "($invalidated shared-memory buffers reused before they were read, then sent again)"
if ((failed_tests + lost_replies + lost_samples + receive_errors > 0)); then
  echo "stress: FAILED; the logs are in $logs"
  exit 1
fi
rm -rf "$logs"
echo "stress: passed"
