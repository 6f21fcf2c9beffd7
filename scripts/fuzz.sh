#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, replays their seed corpus, then fuzzes each
# for the given number of seconds (default 30). New corpus entries go to a temporary
# folder, never into the repository; crash reproducers land in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=${ORNIS_FUZZ_BUILD:-build-fuzz}
targets=(settingsfile appconfig jsonform transferengine telnetreader dialcsv dialxlsx sitelist
    backupstate)
# A JSON form of the whole configuration and a workbook are larger than the files and
# scripts of the others.
declare -A maxlen=([jsonform]=65536 [dialxlsx]=65536)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNIS_FUZZ=ON -DORNIS_WITH_QT=OFF -DORNIS_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/artifacts"

for target in "${targets[@]}"; do
    fuzzer="$build/tests/fuzz/fuzz_$target"
    corpus="tests/data/corpus/$target"
    echo "== fuzz_$target: replaying $corpus"
    "$fuzzer" -runs=0 "$corpus"/*
    echo "== fuzz_$target: fuzzing for $seconds s"
    mkdir -p "$work/$target"
    # The first folder receives the new entries; the seed corpus is only read.
    "$fuzzer" -max_total_time="$seconds" -max_len="${maxlen[$target]:-8192}" -timeout=10 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=0 \
        "$work/$target" "$corpus"
done
