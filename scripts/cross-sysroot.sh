#!/usr/bin/env bash
# bash scripts/cross-sysroot.sh <folder> <package:arm64>...
#
# Unpacks the named arm64 packages, with every arm64 package they need that is not installed
# already, into <folder> laid out like /. This is for the dependencies of the aarch64 build
# that Debian multiarch cannot install beside the host's own packages: an arm64 twin must have
# exactly the version of its host twin, and where the archive has moved past the installed
# host version (libssl3, libpython3.11, zlib1g, ... here) apt would upgrade the host to match.
# Unpacked, they change nothing on the host. Downloads only when the list of packages changes.
set -euo pipefail

folder="$1"
shift

stamp="$folder/.packages"
requested="$(printf '%s\n' "$@" | sort)"
if [[ -f "$stamp" && "$(cat "$stamp")" == "$requested" ]]; then
  exit 0
fi

# libc and its headers come from the cross toolchain and the multiarch libc6:arm64; a second
# copy here would shadow them.
excluded=" libc6-dev:arm64 linux-libc-dev:arm64 libcrypt-dev:arm64 libnsl-dev:arm64 libtirpc-dev:arm64 "
installed=" $(dpkg-query -W -f='${binary:Package}=${db:Status-Status} ' | tr ' ' '\n' |
  sed -n 's/=installed$//p' | tr '\n' ' ') "

# Level by level, one apt query each, without descending into what is installed or excluded.
# Architecture-independent dependencies (without :arm64) are the host's: what they install
# under /usr/share and /usr/include is shared.
selected=()
declare -A seen=()
level=("$@")
while ((${#level[@]} > 0)); do
  next=()
  for pkg in "${level[@]}"; do
    [[ -n "${seen[$pkg]:-}" ]] && continue
    seen[$pkg]=1
    if [[ "$installed" != *" $pkg "* && "$excluded" != *" $pkg "* ]]; then
      selected+=("$pkg")
      next+=("$pkg")
    fi
  done
  ((${#next[@]} > 0)) || break
  mapfile -t level < <(apt-cache depends --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${next[@]}" |
    sed -n 's/^ *|\{0,1\}\(Pre\)\{0,1\}Depends: \([^<][^ ]*:arm64\)$/\2/p' | sort -u)
done

echo "Unpacking ${#selected[@]} arm64 packages into $folder"
rm -rf "$folder"
mkdir -p "$folder/.debs"
(cd "$folder/.debs" && apt-get download -q -o APT::Sandbox::User=root "${selected[@]}")
for deb in "$folder"/.debs/*.deb; do
  dpkg-deb -x "$deb" "$folder"
done
rm -rf "$folder/.debs"

# Absolute links would lead the linker and the emulator out of the folder to the host's files.
while IFS= read -r -d '' link; do
  ln -sfn "$folder$(readlink "$link")" "$link"
done < <(find "$folder" -type l -lname '/*' -print0)

# CMake and pkg-config files name their files by absolute /usr paths; here they live in the
# folder.
while IFS= read -r -d '' config; do
  sed -i "s#\"/usr\\([/\"]\\)#\"$folder/usr\\1#g" "$config"
done < <(find "$folder" -name '*.cmake' -print0)
while IFS= read -r -d '' config; do
  sed -i "s#^\\([A-Za-z_]*\\)=/usr\\([/]\\|\$\\)#\\1=$folder/usr\\2#" "$config"
done < <(find "$folder" -name '*.pc' -print0)

printf '%s\n' "$requested" >"$stamp"
