#!/usr/bin/env bash
# Installs the Debian packages that are missing for one of two needs:
#   run   build the programs and run the example (./run.sh)
#   test  also build and run every test, benchmark and fuzzer, and make the package (./test.sh)
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  libjpeg62-turbo-dev nlohmann-json3-dev qt6-base-dev qt6-svg-dev
  fonts-dejavu-core fonts-liberation2 xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  libgif-dev libjpeg-turbo-progs imagemagick chromium
  libtk8.6
  python3 time
  dpkg-dev file
)

case ${1:-} in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
