#!/usr/bin/env bash
# Checks every shell script of the tree with shellcheck: the scripts, their library, the
# end-to-end tests and their helpers, the lint checks themselves. Prints what it finds and
# exits 1; exits 77 (skipped) where shellcheck is not installed. .shellcheckrc at the top
# says how sourced files are found.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
command -v shellcheck >/dev/null || { echo "shellcheck is not installed"; exit 77; }
cd "$root" || exit 1
scripts=()
while IFS= read -r file; do
    # The scripts in scripts/ have no extension: they are known by their first line.
    case $file in
    *.sh) scripts+=("$file") ;;
    *) head -n 1 "$file" | grep -q '^#!.*bash' && scripts+=("$file") ;;
    esac
done < <(find scripts tests tools bench -type f \( -name '*.sh' -o -path 'scripts/*' \) | sort)
((${#scripts[@]})) || { echo "no shell scripts found under $root"; exit 1; }
shellcheck --severity=warning "${scripts[@]}"
