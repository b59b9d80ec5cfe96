#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test: once in
# a normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer;
# between the two, builds the fuzz targets with clang and gives each a short,
# fixed run on its seeds (scripts/fuzz.sh runs them for longer).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMBREL_FUZZ=ON -DAMBREL_BENCHMARKS=OFF
cmake --build build-fuzz -j "$jobs" --target fuzz
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAMBREL_SANITIZE=ON \
      -DAMBREL_BENCHMARKS=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
