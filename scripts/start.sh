#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on the built-in virtual exchange.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/app/ornisset --demo "$@"
