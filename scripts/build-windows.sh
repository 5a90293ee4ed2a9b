#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Windows program and its installer: build/windows/kpxv410.exe and
# build/windows/kpx-setup-<version>.exe (the project's version, in CMakeLists.txt), a 32-bit program linked statically (it needs no DLL beyond
# those of Windows itself) and an NSIS installer that also carries kpx-make.exe, kpx-dump.exe and kpx-convert.exe.
# Installs the cross compiler and NSIS when they are missing.
# Usage: scripts/build-windows.sh [--arch i686|x86_64] [--out DIR]
#   --arch x86_64 builds the same program for 64-bit Windows (into build/windows-x86_64 unless
#   --out says otherwise); the tests use it where 32-bit programs cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=i686
out=''
while [ $# -gt 0 ]; do
  case $1 in
    --arch) arch=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--arch i686|x86_64] [--out DIR]" >&2; exit 2 ;;
  esac
done
case $arch in
  i686) toolchain=cmake/toolchain-mingw32.cmake; default_out=build/windows; nsis_arch=() ;;
  x86_64) toolchain=cmake/toolchain-mingw64.cmake; default_out=build/windows-x86_64; nsis_arch=(-DAMD64) ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
out=${out:-$default_out}
tree=build/windows-$arch-cmake
version=$(sed -n 's/^project(kpx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
jobs=2

# --- Install what is missing --------------------------------------------------------------

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
packages=(cmake make "g++-mingw-w64-$(tr _ - <<<"$arch")-posix" nsis)
missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq </dev/null
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# --- The program and the tools -------------------------------------------------------------

cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF >/dev/null
cmake --build "$tree" -j"$jobs" --target kpxv410 kpx-make kpx-dump kpx-convert
staging=$tree/staging
rm -rf "$staging"
mkdir -p "$staging"
cp "$tree/win32/kpxv410.exe" "$tree/tools/kpx-make.exe" "$tree/tools/kpx-dump.exe" "$tree/tools/kpx-convert.exe" "$staging/"
"$arch-w64-mingw32-strip" "$staging"/*.exe

# --- The installer ---------------------------------------------------------------------------

mkdir -p "$out"
rm -f "$out/kpxv410.exe" "$out/kpx-setup-$version.exe"
# Warning 9000 only says that Windows asks for elevation for a file named *setup*: wanted here.
makensis -V2 -INPUTCHARSET UTF8 "${nsis_arch[@]}" -DSOURCE_DIR="$PWD/$staging" -DDATA_DIR="$PWD/data" \
  -DVERSION="$version" -DOUTPUT="$PWD/$out/kpx-setup-$version.exe" win32/installer.nsi
cp "$staging/kpxv410.exe" "$out/kpxv410.exe"
ls -l "$out/kpxv410.exe" "$out/kpx-setup-$version.exe"
