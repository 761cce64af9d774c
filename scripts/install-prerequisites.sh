#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any is missing,
# and the further packages named as arguments (the benchmark's tools).
# Quick when everything is there: it only asks dpkg.
#
# The package "wine" brings the wine, wineboot and wineserver commands
# ("wine64" alone does not). The 32-bit build needs the i386 architecture for
# wine32 and the i686 cross compiler; the tests still run where the kernel
# cannot start 32-bit programs, with the 32-bit suite skipped.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev libgmock-dev g++-mingw-w64-x86-64-posix
          g++-mingw-w64-i686-posix wine wine64 wine32:i386 libxml2-utils clang libclang-rt-14-dev)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "Run as root (apt-get needs it), or install these packages first." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
