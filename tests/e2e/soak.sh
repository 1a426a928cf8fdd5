#!/usr/bin/env bash
# A short soak of the player (see scripts/soak): random presses, keys and second starts for
# a minute on a display of its own leave it running, with no unexpected error box and no
# growth of its memory beyond the limit in the second half minute.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1" --no-display
bash "$(dirname "$0")/../../scripts/soak" 1 "$build"
