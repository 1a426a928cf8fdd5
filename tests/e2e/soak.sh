#!/usr/bin/env bash
# A short soak of the player (see scripts/soak): random presses, keys and second starts for
# 50 seconds leave it running, with no unexpected error box and no memory growth beyond
# 10 MB after the first quarter.
set -uo pipefail
source "$(dirname "$0")/support/common.sh"
e2e_init "$1"
bash "$(dirname "$0")/../../scripts/soak" 0.84 "$build"
