#!/usr/bin/env bash
# Checks that the sources are laid out as .clang-format describes. Prints the files that
# differ and exits 1; exits 77 (skipped) where clang-format is not installed.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 77; }
cd "$root" || exit 1
mapfile -t files < <(find base ui skin playlist engine playback command player mpris app tests bench tools \
    \( -name '*.cpp' -o -name '*.h' \) -not -path '*/data/*' | sort)
# One clang-format for all files: it names each file that differs in its findings.
findings=$(clang-format --dry-run --Werror "${files[@]}" 2>&1)
code=$?
mapfile -t differing < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' <<<"$findings" | sort -u)
for file in "${differing[@]}"; do echo "not formatted: $file (clang-format -i $file)"; done
# A clang-format that fails without naming a file (one it cannot read) fails the check too.
if [ "$code" != 0 ] && ((${#differing[@]} == 0)); then
    echo "clang-format failed:"
    head -n 20 <<<"$findings"
fi
exit "$code"
