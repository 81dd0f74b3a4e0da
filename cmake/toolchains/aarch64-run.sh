#!/bin/sh
# aarch64-run.sh [-L <folder>] <program> [arguments...]
#
# The emulator of the aarch64 build, in front of every program that CTest and test discovery
# start: an aarch64 program runs under qemu-aarch64 (with -L, files under <folder> are found
# before the host's), anything else, such as the script standing in for the target's Python,
# runs as it is, as binfmt_misc would arrange on a machine that had qemu registered.
set -eu

if [ "${1:-}" = "-L" ]; then
  prefix="$2"
  shift 2
  set -- -L "$prefix" "$@"
  program="$3"
else
  program="$1"
fi

# ELF magic, then e_machine 0x00b7 (AArch64) little endian at offset 18.
header="$(od -An -tx1 -N20 "$program" 2>/dev/null | tr -d ' \n' || true)"
case "$header" in
  7f454c46????????????????????????????b700)
    # scripts/cross-test.sh names the socket-option shim the emulator needs for UDP.
    if [ -n "${CORVANTHELIS_QEMU_PRELOAD:-}" ]; then
      exec qemu-aarch64 -E "LD_PRELOAD=$CORVANTHELIS_QEMU_PRELOAD" "$@"
    fi
    exec qemu-aarch64 "$@" ;;
esac
if [ "$1" = "-L" ]; then
  shift 2
fi
exec "$@"
