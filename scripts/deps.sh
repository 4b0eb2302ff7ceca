#!/usr/bin/env bash
# The one list of Debian packages the project needs, and their installer.
# Usage: scripts/deps.sh run|test|bench|fuzz   (the others include run's packages)
set -euo pipefail

run_packages=(
  # libx11-dev, libxss-dev: headers of the desktop screen-saver query (the libraries load at run time)
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libxss-dev zlib1g-dev libpng-dev libjpeg-dev libvorbisidec-dev libgif-dev libopenjp2-7-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core libcairo2-dev libvorbis-dev
)
test_packages=(
  libgtest-dev libgmock-dev googletest xvfb xauth x11-apps
)
bench_packages=(
  libbenchmark-dev libpixman-1-dev libosmesa6-dev xdotool
)
fuzz_packages=(
  clang libclang-rt-14-dev
)
optional_packages=(ccache)

want=("${run_packages[@]}")
case "${1:-run}" in
  run) ;;
  test) want+=("${test_packages[@]}") ;;
  bench) want+=("${test_packages[@]}" "${bench_packages[@]}") ;;
  fuzz) want+=("${fuzz_packages[@]}") ;;
  *) echo "usage: $0 run|test|bench|fuzz" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}" "${optional_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "error: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# ccache is a convenience: install it when it can be had, never fail for it.
required=()
for p in "${missing[@]}"; do
  [[ " ${optional_packages[*]} " == *" $p "* ]] || required+=("$p")
done
if [ ${#required[@]} -gt 0 ]; then
  $sudo apt-get install -y -qq --no-install-recommends "${required[@]}"
fi
$sudo apt-get install -y -qq --no-install-recommends "${optional_packages[@]}" || true
