#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang and runs each one for a
# while: 600 seconds by default.
#
#   ./scripts/fuzz.sh [seconds] [target...]
#
# Targets are named without their fuzz_ prefix (resources_txt, scaling_json,
# symbol_text, symbol_details, die, pdb, varval); all of them by default, one
# after the other. Each corpus grows in build-fuzz/corpus/<target> from the
# target's seeds; what a target prints goes to build-fuzz/fuzz-logs/<target>.log,
# and an input that crashes it, hangs it or exhausts its memory is written to
# build-fuzz/findings/<target>-... Ends non-zero when any target found one.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true

./scripts/setup.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMBREL_FUZZ=ON -DAMBREL_BENCHMARKS=OFF
cmake --build build-fuzz -j "$(nproc)" --target fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in build-fuzz/bin/fuzz_*; do
        [ -x "$program" ] && [[ "$program" != *.so ]] && targets+=("${program#build-fuzz/bin/fuzz_}")
    done
fi

mkdir -p build-fuzz/fuzz-logs build-fuzz/findings
failed=()
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    echo "fuzz_$target: ${seconds} s"
    if build-fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=4096 \
           -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1 \
           "$corpus" "build-fuzz/tests/fuzz/seeds/$target" > "build-fuzz/fuzz-logs/$target.log" 2>&1; then
        echo "fuzz_$target: clean, $(ls "$corpus" | wc -l) inputs in its corpus"
    else
        echo "fuzz_$target: FOUND an input, see build-fuzz/fuzz-logs/$target.log and build-fuzz/findings/"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "targets with findings: ${failed[*]}"
    exit 1
fi
