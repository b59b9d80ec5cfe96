#!/usr/bin/env bash
# Installs what building, testing and the demo need (Debian packages).
set -euo pipefail

packages=(
    build-essential cmake ninja-build
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libpcre2-dev
    libboost1.74-dev libboost-filesystem1.74-dev libboost-system1.74-dev
    llvm-14-dev llvm-dev clang lld libclang-rt-14-dev
    binutils libxml2-utils zip unzip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
