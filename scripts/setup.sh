#!/usr/bin/env bash
# Installs the Debian packages Strimlo needs to build, test and run.
# Does nothing (and needs no network) when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libcairo2-dev libfreetype-dev libfontconfig-dev fonts-urw-base35 fonts-ocr-b
  libpng-dev libtiff-dev libjpeg62-turbo-dev zlib1g-dev libhpdf-dev libunistring-dev libzxing-dev libexpat1-dev
  libzint-dev
  libgtest-dev libbenchmark-dev
  zbar-tools zxing-cpp-tools imagemagick ghostscript poppler-utils python3-pil libimage-exiftool-perl
  xvfb xauth locales librsvg2-bin libxml2-utils
  clang libclang-rt-14-dev
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  lintian desktop-file-utils appstream man-db
  pybind11-dev python3-dev
  libcpp-httplib-dev nlohmann-json3-dev libzip-dev curl
  chromium chromium-driver python3-selenium
)

# The yardstick and tools bench/run_benchmarks.sh uses: "scripts/setup.sh --bench".
if [ "${1:-}" = "--bench" ]; then
  packages+=(zint time apache2-utils wrk nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)  # for bwip-js, the peer the server is timed against
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A comma-decimal locale, so the tests can prove our number formatting ignores the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  if [ -f /etc/locale.gen ]; then
    $sudo sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null 2>&1 || echo "setup: could not generate de_DE.UTF-8 (a locale test will be skipped)"
  fi
fi
