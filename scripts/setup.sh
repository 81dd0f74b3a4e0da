#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any further packages named as arguments
# (`pkg:arm64` adds the architecture to dpkg first). Only touches apt when something is
# missing, so repeated runs (every test.sh / demo.sh) stay fast and work offline.
set -euo pipefail

packages=(
  librosidl-runtime-c-cpp-dev
  librcutils-dev
  libfastcdr-dev
  libfastrtps-dev
  libgtest-dev
  libbenchmark-dev
  cmake
  g++
  g++-11
  binutils
  valgrind
  clang
  libclang-rt-14-dev
  "$@"
)

# A name without an architecture means the host's; with arm64 libraries installed beside the
# host's, dpkg lists both under the bare name.
native="$(dpkg --print-architecture)"
installed() {
  local name="${1%:*}" arch="$native"
  [[ "$1" == *:* ]] && arch="${1##*:}"
  dpkg-query -W -f='${Architecture} ${db:Status-Status}\n' "$name" 2>/dev/null |
    grep -qE "^($arch|all) installed$"
}

missing=()
for pkg in "${packages[@]}"; do
  if ! installed "$pkg"; then
    missing+=("$pkg")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [[ "$(id -u)" -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
for pkg in "${missing[@]}"; do
  if [[ "$pkg" == *:* ]] && ! dpkg --print-foreign-architectures | grep -qx "${pkg##*:}"; then
    "${sudo_cmd[@]}" dpkg --add-architecture "${pkg##*:}"
  fi
done
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
