#!/usr/bin/env bash
# Builds the sample FMU (demo/) and runs the example master on it: ten
# steps of 10 ms, printing the vECU's signals after each step.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

cmake -S . -B build-demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMBREL_BENCHMARKS=OFF
cmake --build build-demo -j "$(nproc)" --target DemoMaster SampleEcuFmu
./build-demo/bin/DemoMaster build-demo/demo/SampleEcu.fmu
