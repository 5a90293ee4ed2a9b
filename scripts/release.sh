#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes everything a release holds, from fresh build trees, into build/release-artifacts/:
#   kpxv410_<version>_<arch>.deb   the Debian package (programs, desktop entry, man pages, AppStream)
#   kpx-setup-<version>.exe        the Windows installer (32-bit programs)
#   kpxv410-<version>-windows.zip  the same programs without installing: the four .exe files, the
#                                  handbook's example file and a README.txt
#   SHA256SUMS                     the checksums of the three, as sha256sum -c reads them
# The version is the project's, in CMakeLists.txt. Installs what is missing.
# Usage: scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(kpx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
artifacts=build/release-artifacts
rm -rf "$artifacts" build/release-deb build/release-windows build/windows-i686-cmake
mkdir -p "$artifacts"
jobs=$(nproc 2>/dev/null || echo 2)

# --- Debian package ---------------------------------------------------------------------------
scripts/install-deps.sh test
cmake -S . -B build/release-deb -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF \
  -DKPX_BUILD_GUI=ON >/dev/null
cmake --build build/release-deb -j"$jobs"
(cd build/release-deb && cpack -G DEB >/dev/null)
cp build/release-deb/package/kpxv410_"$version"_*.deb "$artifacts/"

# --- Windows installer and portable zip ------------------------------------------------------
scripts/build-windows.sh --arch i686 --out build/release-windows
cp "build/release-windows/kpx-setup-$version.exe" "$artifacts/"
portable=build/release-windows/kpxv410-$version
rm -rf "$portable"
mkdir -p "$portable"
cp build/windows-i686-cmake/staging/*.exe data/example.txt "$portable/"
# Notepad on Windows 7 reads UTF-8 only with its byte-order mark; Windows lines end in CR LF.
printf '\xef\xbb\xbf' >"$portable/README.txt"
sed "s/@VERSION@/$version/g; s/\$/\r/" win32/portable-readme.txt >>"$portable/README.txt"
zip_name=kpxv410-$version-windows.zip
(cd build/release-windows && rm -f "$zip_name" && cmake -E tar cf "$zip_name" --format=zip "kpxv410-$version")
cp "build/release-windows/$zip_name" "$artifacts/"

# --- Checksums ----------------------------------------------------------------------------------
(cd "$artifacts" && sha256sum -- *.deb *.exe *.zip >SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
ls -l "$artifacts"
