#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build and test, and any named as arguments; does
# nothing when they are present.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qtbase5-dev qt6-base-dev qttools5-dev-tools libgl-dev fonts-dejavu-core
          clang libclang-rt-14-dev poppler-utils xvfb xauth
          desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin "$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
