#!/usr/bin/env bash
# Fails when a C++ file differs from the repository's .clang-format; names each such file.
set -euo pipefail
cd "$(dirname "$0")/.."
differing=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || differing+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [[ ${#differing[@]} -gt 0 ]]; then
    echo "These files differ from .clang-format (run clang-format -i on them):"
    printf '  %s\n' "${differing[@]}"
    exit 1
fi
echo "Formatting: every C++ file follows .clang-format"
