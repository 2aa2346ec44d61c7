#!/usr/bin/env bash
# Builds the Debian packages build/packages/<package>_<version>_amd64.deb with CPack:
# strimlo, libstrimlo1, libstrimlo-dev and python3-strimlo (those the build made).
#   scripts/package.sh            configures and builds build/package (Release, no tests)
#                                 first, as a user's clean clone does
#   scripts/package.sh DIR        packages the programs of an existing build folder
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/package}
if [ $# -eq 0 ]; then
  scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DSTRIMLO_BUILD_APP=ON -DCMAKE_INSTALL_PREFIX=/usr \
    -DSTRIMLO_SANITIZE=OFF -DSTRIMLO_BUILD_BENCH=OFF -DSTRIMLO_BUILD_TESTS=OFF
else
  cmake --build "$dir" --parallel "$(nproc)"
fi
out=$PWD/build/packages
mkdir -p "$out"
rm -f "$out"/{strimlo,libstrimlo1,libstrimlo-dev,python3-strimlo}_*.deb  # a package not made now is not listed
(cd "$dir" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
  tail -n 30 "$out/cpack.log"
  echo "package: cpack failed (log: $out/cpack.log)"
  exit 1
}
ls "$out"/*_amd64.deb
