#!/usr/bin/env bash
# Checks that the sources are laid out as .clang-format describes. Prints the files that
# differ and exits 1; exits 77 (skipped) where clang-format is not installed.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 77; }
cd "$root" || exit 1
status=0
while IFS= read -r file; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file (clang-format -i $file)"
        status=1
    fi
done < <(find base ui skin playlist playback player app tests bench tools \
    \( -name '*.cpp' -o -name '*.h' \) -not -path '*/data/*' | sort)
exit $status
