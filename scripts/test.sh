#!/usr/bin/env bash
# Installs what is needed, checks the formatting, builds, and runs every test: the whole
# suite, then the core tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# fuzzers over their corpus and for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== Formatting"
scripts/check-format.sh

scripts/build.sh
jobs=$(nproc)

echo "== Tests"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Core tests under ASan and UBSan"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORNIS_SANITIZE=ON -DORNIS_WERROR=ON \
    >/dev/null
cmake --build build-sanitize -j"$jobs" --target ornis_core_tests
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" -L core

echo "== Fuzzers"
scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
