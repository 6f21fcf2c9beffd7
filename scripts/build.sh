#!/usr/bin/env bash
# Configures and builds the program, its tools and its tests into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORNIS_WERROR=$werror >/dev/null
cmake --build build -j"$(nproc)"
