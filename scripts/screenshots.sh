#!/usr/bin/env bash
# Builds the program and saves a picture of every page, of a read in progress and of the
# about box into the given folder (default screenshots/), in a real window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath -m "${1:-screenshots}")
scripts/install-deps.sh
scripts/build.sh
mkdir -p "$folder"
xvfb-run -a -s "-screen 0 1024x768x24" build/app/ornisset --screenshots "$folder"
ls "$folder"
