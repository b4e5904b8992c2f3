#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake make
  libgtest-dev libgmock-dev libbenchmark-dev
  libeigen3-dev libmatio-dev zlib1g-dev nlohmann-json3-dev libcli11-dev libasio-dev
  clang libclang-rt-14-dev python3-scipy ccache
  qt6-base-dev libqcustomplot-dev libfftw3-dev fonts-dejavu-core
  libliquid-dev libsoapysdr-dev soapysdr-tools
  pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
