#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt.
#   tools/install-deps.sh           installs only when some package is missing
#   tools/install-deps.sh --always  always runs apt-get update and install (CI)
# Needs root; uses sudo when run by another user.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
mapfile -t packages < <(grep -v -e '^#' -e '^[[:space:]]*$' "$here/packages.txt")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [ "$status" != "install ok installed" ]; then
        missing+=("$package")
    fi
done

if [ "${1:-}" != "--always" ] && [ ${#missing[@]} -eq 0 ]; then
    echo "All ${#packages[@]} packages are installed."
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo > /dev/null; then
    as_root=(sudo)
else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or install sudo) to install them." >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${packages[@]}" < /dev/null
