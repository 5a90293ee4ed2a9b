#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages the build, the program or the tests need, when any is missing.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail

purpose=${1:-test}
# qt6-translations-l10n: Qt's own dialogs (import, export) in the program's language.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-arphic-uming unicode-data python3)
if [ "$purpose" = test ]; then
  # GoogleTest, headless window tests, screenshots and keyboard tests under Xvfb, the format
  # check, and clang's fuzzing and sanitizer runtimes.
  packages+=(libgtest-dev libgmock-dev xvfb xauth xdotool imagemagick clang clang-format libclang-rt-14-dev)
  # The peer input methods' table compilers, which the exchange tests feed our exports.
  packages+=(libime-bin librime-bin)
  # The Debian package: CPack's dependency reading, man pages from --help, and the validators.
  packages+=(dpkg-dev help2man lintian desktop-file-utils appstream)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}" </dev/null
