#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), all of them or the ones named: fuzz/run.sh [seconds] [target ...]
# Targets: wildcard pattern_reduction cp1252 dosattrib name_mapping log_lines.
# The committed seeds in fuzz/corpus/<target>/ are read only; what a run finds goes to
# build/fuzz/corpus/<target>/, a crashing input to build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(wildcard pattern_reduction cp1252 dosattrib name_mapping log_lines)
fi

# clang 14 and its fuzzer runtime, from Debian's packages, when missing.
if ! command -v clang++-14 >/dev/null || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        clang-14 libclang-rt-14-dev
fi
scripts/install-deps.sh

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTILGOMAT_FUZZ=ON -DTILGOMAT_BUILD_UI=OFF -DTILGOMAT_BUILD_TESTS=OFF \
        -DTILGOMAT_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
    echo "=== fuzz_$target: ${seconds} s ==="
    mkdir -p "$build/corpus/$target"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "fuzz/corpus/$target"; then
        echo "fuzz_$target: FINDING (see $build/findings/)"
        status=1
    fi
done
exit $status
