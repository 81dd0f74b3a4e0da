#!/usr/bin/env bash
# Installs the Debian packages the build needs. Only touches apt when something is missing,
# so repeated runs (every test.sh / demo.sh) stay fast and work offline.
set -euo pipefail

packages=(
  librosidl-runtime-c-cpp-dev
  librcutils-dev
  libfastcdr-dev
  libfastrtps-dev
  libssl-dev
  libgtest-dev
  libbenchmark-dev
  cmake
  g++
  binutils
)

missing=()
for pkg in "${packages[@]}"; do
  # One line per installed architecture: a package present for the build machine's and a
  # cross target's architecture answers twice.
  if ! dpkg-query -W -f='${db:Status-Status}\n' "$pkg" 2>/dev/null | grep -qx installed; then
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
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
