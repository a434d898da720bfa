#!/usr/bin/env bash
# Installs the Debian packages of the lists named (default: all three):
#   run    tools/packages-run.txt    what running the demo needs
#   build  tools/packages-build.txt  what building it needs
#   test   tools/packages-test.txt   what the tests, benchmarks and fuzz programs need
#
#   tools/install-deps.sh [--always] [run] [build] [test]
#   --always  always runs apt-get update and install (CI); otherwise only when some
#             package is missing
# Needs root; uses sudo when run by another user.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
always=0
lists=()
for argument in "$@"; do
    case $argument in
        --always) always=1 ;;
        run | build | test) lists+=("$argument") ;;
        *)
            echo "Usage: tools/install-deps.sh [--always] [run] [build] [test]" >&2
            exit 2
            ;;
    esac
done
[ ${#lists[@]} -gt 0 ] || lists=(run build test)

packages=()
for list in "${lists[@]}"; do
    mapfile -t -O ${#packages[@]} packages < <(grep -v -e '^#' -e '^[[:space:]]*$' \
                                               "$here/packages-$list.txt")
done

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [ "$status" != "install ok installed" ]; then
        missing+=("$package")
    fi
done

if [ $always = 0 ] && [ ${#missing[@]} -eq 0 ]; then
    echo "All ${#packages[@]} packages (${lists[*]}) are installed."
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
