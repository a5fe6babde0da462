#!/usr/bin/env bash
# Builds the Debian package build-package/quillon_<version>_<arch>.deb with Debian's hardening flags,
# stripped, its dependencies found by dpkg-shlibdeps, and checks it with lintian (an error fails).
# Install it with: sudo apt-get install ./build-package/quillon_*.deb
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh" dpkg-dev file lintian

dir="$top/build-package"
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target quillon quillon-report quillon_compressed_data
rm -f "$dir"/quillon_*.deb
(cd "$dir" && cpack -G DEB)

package="$(ls "$dir"/quillon_*.deb)"
echo "=== lintian $package"
lintian --tag-display-limit 0 "$package"
echo "Built $package"
