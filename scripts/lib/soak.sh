# The soak: random presses on the player's panel and list, keys and hand-offs, many a second,
# against a running player, with what a user would do about what they bring up: an error box
# is closed (its text is read from the player's log, "error box: TEXT"), the save dialog
# cancelled, full screen left, minimized windows restored and a hidden panel brought back.
# Needs wait.sh, player.sh and clips.sh, and a display. SOAK_SEED repeats a run's presses.
#
#   soak_run BUILD FOLDER SECONDS
#       Starts the player of build BUILD on a list of generated clips, with its settings, home
#       and logs in FOLDER (the caller's to remove), soaks it for SECONDS, prints the
#       figures and fails on a player that ended, an unexpected error box, a second start that
#       failed without saying why, or memory grown by more than 10 MB between the check point
#       (after the first minute, or the first half of a shorter run) and the end.

soak_source="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
soak_panel_skin="$soak_source/resources/Skin.ini"
soak_list_skin="$soak_source/resources/ListSkin.ini"

# The elements pressed are those the program's element headers name. Every panel button but
# BUTTON_EXIT, which ends the program; every track.
mapfile -t soak_panel_buttons < <(skin_element_names "$soak_source/skin/PlayerSkinElements.h" |
    grep '^BUTTON_' | grep -vx BUTTON_EXIT)
mapfile -t soak_panel_tracks < <(skin_element_names "$soak_source/skin/PlayerSkinElements.h" |
    grep '^TRACKBAR_')
soak_panel_keys=(ctrl+p ctrl+a ctrl+s F11 Prior Next ctrl+l Right Left Up Down)
# CLEAR empties the list the other presses work on: it takes one list press in thirty, and
# PASTE, which fills it, two in the rest.
mapfile -t soak_list_buttons < <(skin_element_names "$soak_source/skin/ListSkinElements.h" |
    grep -vx CLEAR)
soak_list_buttons+=(PASTE)
soak_list_keys=(Delete Return Escape Up Down Home End)

# Texts of the error boxes the presses may rightly bring: a list that is full, a command on
# the blank last row or past the list's ends, the empty count of a pasted blank row or of the
# end row, nothing to play.
soak_expected="^(The playlist (is full|holds at most)|リストのインデックス|範囲チェックエラー|'' は整数ではありません|Nothing to open)"

soak_pid='' soak_seed='' soak_handoff_pids=()


# The player's resident memory in kB: "TOTAL ANONYMOUS FILES SHARED". Only the anonymous
# part (heap, stacks) is what a leak grows; the files' part grows whenever a press first
# reaches code or a font that was not read yet (a library's pages, the Japanese font of an
# error box), and the shared part is the windows' pictures handed to the X server.
soak_memory_kb() {
    awk '/^VmRSS:/ { t = $2 } /^RssAnon:/ { a = $2 } /^RssFile:/ { f = $2 } /^RssShmem:/ { s = $2 }
         END { print t, a, f, s }' "/proc/$soak_pid/status" 2>/dev/null
}

# Says memory figures $1 ("TOTAL ANONYMOUS FILES SHARED") in words.
soak_memory_text() {
    local total anonymous files shared
    read -r total anonymous files shared <<<"$1"
    echo "$total kB ($anonymous kB anonymous, $files kB of files, $shared kB shared)"
}

# The player's top-level windows as the window manager lists them, iconic ones too: "ID NAME"
# a line, the id in decimal as xdotool gives it. One call for all, so it can run after
# every press.
soak_top_windows() {
    local id pid name
    while read -r id _ pid _ name; do
        [ "$pid" = "$soak_pid" ] && echo "$((id)) $name"
    done <<<"$(wmctrl -lp 2>/dev/null)"
}

soak_list_window() { soak_top_windows | awk '$0 ~ /^[0-9]+ Korvel PlayList$/ { print $1; exit }'; }

# The playback window: the one that is neither the panel, nor the list, nor a dialog.
soak_playback_window() {
    local id name
    while read -r id name; do
        [ "$id" = "$soak_panel" ] && continue
        [[ "$name" =~ ^Korvel( 2\.8| PlayList)?$ ]] && continue
        window_is_dialog "$id" || { echo "$id"; return 0; }
    done <<<"$(soak_top_windows)"
}

# Whether each window seen is a dialog; a window keeps its type for life.
declare -A soak_types=()

# Sets soak_dialog to "box ID" for an error box the player shows, "dialog ID" for another
# dialog (the save dialog), or empty. No subshell, so the type table keeps what it learns.
soak_find_dialog() {
    local id name
    soak_dialog=""
    while read -r id name; do
        if [ -z "$id" ] || [ "$id" = "$soak_panel" ]; then continue; fi
        if [ -z "${soak_types[$id]:-}" ]; then
            soak_types[$id]=plain
            window_is_dialog "$id" && soak_types[$id]=dialog
        fi
        [ "${soak_types[$id]}" = dialog ] || continue
        if [ "$name" = "$soak_title" ]; then soak_dialog="box $id"; else soak_dialog="dialog $id"; fi
        return 0
    done <<<"$(soak_top_windows)"
}

# Moves the pointer to (x $2, y $3) and clicks there when window $1 is the one under it, or
# the window manager's frame around it: a press meant for one window never lands on another
# (the panel's close button above all).
soak_click_at() {
    local target=$1 window
    window=$(xdotool mousemove "$2" "$3" getmouselocation --shell 2>/dev/null |
        sed -n 's/^WINDOW=\([0-9][0-9]*\)$/\1/p')
    [ -n "$window" ] || return 1
    if [ "$window" != "$target" ]; then
        xwininfo -tree -id "$window" 2>/dev/null | grep -q "^ *$(printf '0x%x' "$target") " ||
            return 1
    fi
    xdotool click 1
}

# Window $1 brought to the front, unless it is the active window already.
soak_front() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] ||
        timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null
}

# A click at (x $2, y $3) of window $1's client area; when another window lies over that
# point, window $1 is brought to the front first.
soak_click_in() {
    local x y
    IFS=, read -r x y <<<"$(window_origin "$1")"
    [ -n "$x" ] || return 1
    soak_click_at "$1" $((x + $2)) $((y + $3)) && return 0
    timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null || return 1
    soak_click_at "$1" $((x + $2)) $((y + $3))
}

# The rectangle of element $2 of skin $1 (as skin_rect gives it) into soak_r, looked up once.
# No subshell, so the table keeps what it learns.
declare -A soak_rects=()
soak_rect() {
    [ -n "${soak_rects[$1:$2]:-}" ] || soak_rects[$1:$2]=$(skin_rect "$1" "$2") || return 1
    soak_r=${soak_rects[$1:$2]}
}

# A click on element $3 of skin $2 on window $1.
soak_click_element() {
    local left top width height
    soak_rect "$2" "$3" || return 1
    read -r left top width height <<<"$soak_r"
    soak_click_in "$1" $((left + width / 2)) $((top + height / 2))
}

# A click on a random place of track $1 of the panel.
soak_click_track() {
    local left top length
    soak_rect "$soak_panel_skin" "$1" || return 1
    read -r left top length _ <<<"$soak_r"
    soak_click_in "$soak_panel" $((left + RANDOM % length)) $((top + 5))
}

soak_keys_in() {
    local id=$1
    shift
    soak_front "$id" && xdotool key --clearmodifiers "$@" 2>/dev/null
}

# Reads and closes the error boxes and other dialogs the player shows. With "all", also puts
# its windows back as a user would: out of full screen, out of the task bar, the panel on
# the screen.
soak_tidy() {
    local id kind state picture width height
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        soak_find_dialog
        read -r kind id <<<"$soak_dialog"
        [ -n "$id" ] || break
        if [ "$kind" = box ]; then
            [ -n "${soak_boxes_seen[$id]:-}" ] || soak_boxes=$((soak_boxes + 1))
            soak_boxes_seen[$id]=1
            soak_keys_in "$id" Return || xdotool key --window "$id" Return 2>/dev/null
        else
            soak_keys_in "$id" Escape || xdotool key --window "$id" Escape 2>/dev/null
        fi
        sleep 0.05
    done
    [ "${1:-}" = all ] || return 0
    for id in $(soak_top_windows | cut -d ' ' -f 1); do
        state=$(xprop -id "$id" WM_STATE _NET_WM_STATE 2>/dev/null)
        if [[ "$state" == *"window state: Iconic"* ]]; then
            wmctrl -i -a "$id" 2>/dev/null
        elif [[ "$state" == *_NET_WM_STATE_FULLSCREEN* ]]; then
            soak_keys_in "$id" Escape
        fi
    done
    if ! window_viewable "$soak_panel"; then
        # A click into the picture brings the hidden panel back: into its middle, since a
        # clip with no picture leaves the window one pixel high.
        picture=$(soak_playback_window)
        if [ -n "$picture" ]; then
            IFS=x read -r width height <<<"$(window_size "$picture")"
            soak_click_in "$picture" $((${width:-2} / 2)) $((${height:-2} / 2))
        fi
    fi
    return 0
}

# A second start with a random clip of the list, in the background; its exit code and what
# it said are kept for the end.
soak_hand_off() {
    local n=$((soak_handoffs + 1)) clip=${soak_clips[RANDOM % ${#soak_clips[@]}]}
    soak_handoffs=$n
    (
        timeout 60 "$soak_build/korvel" "$clip" >/dev/null 2>"$soak_dir/handoff-$n.err"
        echo $? >"$soak_dir/handoff-$n.code"
    ) &
    soak_handoff_pids+=($!)
}

# Runs one action, $1 naming it; with SOAK_TRACE set, says how long it and the tidying
# after it took.
soak_do() {
    local began what=$1
    began=$(now_ms)
    shift
    "$@"
    [ -z "${SOAK_TRACE:-}" ] || echo "soak: $what $(($(now_ms) - began)) ms" >&2
}

soak_action() {
    local r=$((RANDOM % 100)) list button key
    if [ "$r" -lt 38 ]; then
        button=${soak_panel_buttons[RANDOM % ${#soak_panel_buttons[@]}]}
        # What changes the windows themselves needs putting back after.
        case $button in BUTTON_MINIMIZE | BUTTON_HIDE | BUTTON_FULL | BUTTON_TOP) soak_tidy_all=1 ;; esac
        soak_do "$button" soak_click_element "$soak_panel" "$soak_panel_skin" "$button"
    elif [ "$r" -lt 50 ]; then
        button=${soak_panel_tracks[RANDOM % ${#soak_panel_tracks[@]}]}
        soak_do "$button" soak_click_track "$button"
    elif [ "$r" -lt 65 ]; then
        key=${soak_panel_keys[RANDOM % ${#soak_panel_keys[@]}]}
        soak_do "panel $key" soak_keys_in "$soak_panel" "$key"
    elif [ "$r" -lt 92 ]; then
        list=$(soak_list_window)
        if [ -z "$list" ]; then
            soak_do "panel ctrl+l" soak_keys_in "$soak_panel" ctrl+l
        elif [ "$r" -lt 80 ]; then
            button=${soak_list_buttons[RANDOM % ${#soak_list_buttons[@]}]}
            [ $((RANDOM % 30)) = 0 ] && button=CLEAR
            soak_do "list $button" soak_click_element "$list" "$soak_list_skin" "$button"
        elif [ "$r" -lt 86 ]; then
            key=${soak_list_keys[RANDOM % ${#soak_list_keys[@]}]}
            soak_do "list $key" soak_keys_in "$list" "$key"
        else
            # A row of the grid: (10, 25) under a 15-pixel header, 13 pixels a row.
            soak_do "list row" soak_click_in "$list" 220 $((46 + 13 * (RANDOM % 9)))
        fi
    else
        soak_do hand-off soak_hand_off
    fi
    return 0
}

# Presses every button once, so that what the player sets up on first use (the list window,
# the save dialog, full screen, the engine's threads for a clip opened anew) is in place
# before the first memory reading.
soak_warm_up() {
    local button list clip
    for clip in "${soak_clips[@]}"; do
        timeout 30 "$soak_build/korvel" "$clip" >/dev/null 2>&1
        soak_keys_in "$soak_panel" ctrl+s
        soak_keys_in "$soak_panel" ctrl+p
        soak_warm_actions=$((soak_warm_actions + 3))
    done
    for button in "${soak_panel_buttons[@]}"; do
        soak_do "$button" soak_click_element "$soak_panel" "$soak_panel_skin" "$button"
        case $button in
        BUTTON_MINIMIZE | BUTTON_HIDE | BUTTON_FULL | BUTTON_TOP) soak_do tidy soak_tidy all ;;
        *) soak_do tidy soak_tidy ;;
        esac
        soak_warm_actions=$((soak_warm_actions + 1))
    done
    soak_keys_in "$soak_panel" ctrl+l
    list=$(soak_list_window)
    for button in "${soak_list_buttons[@]}"; do
        [ -n "$list" ] || break
        soak_do "list $button" soak_click_element "$list" "$soak_list_skin" "$button"
        soak_do tidy soak_tidy
        soak_warm_actions=$((soak_warm_actions + 1))
        list=$(soak_list_window)
    done
}

# Brings the player to the same state before each memory reading: windows as they were,
# the picture at its size, the first clip playing from its start for two seconds.
soak_settle() {
    local picture
    soak_tidy all
    soak_clear_panel
    soak_click_element "$soak_panel" "$soak_panel_skin" BUTTON_DEFO
    timeout 30 "$soak_build/korvel" "${soak_clips[0]}" >/dev/null 2>&1
    sleep 2
    soak_tidy all
    # The memory is compared at one picture size: the frames the player and the engine hold
    # grow with it (a picture of 936 x 702 holds 12 MB more than one of 320 x 240). FIX down
    # keeps any size through DEFO, so it is let up; which way it stands is not shown anywhere
    # a script can read, so FIX is pressed once more when the first press put it down.
    picture=$(soak_playback_window)
    [ -n "$picture" ] || return 0
    soak_picture_is_natural "$picture" && return 0
    local _
    for _ in 1 2; do
        soak_click_element "$soak_panel" "$soak_panel_skin" BUTTON_FIX
        soak_click_element "$soak_panel" "$soak_panel_skin" BUTTON_DEFO
        if wait_within 5 soak_picture_is_natural "$picture"; then
            sleep 1
            return 0
        fi
    done
    echo "soak: the picture stays at $(window_size "$picture"), not 320x240"
}

# Moves the picture window below the panel. With TOP down the picture stays above the panel
# where they overlap, and the presses meant for the panel's buttons would land in the picture.
soak_clear_panel() {
    local picture x y width height
    picture=$(soak_playback_window)
    [ -n "$picture" ] || return 0
    IFS=, read -r x y <<<"$(window_origin "$soak_panel")"
    IFS=x read -r width height <<<"$(window_size "$soak_panel")"
    [ -n "$x" ] && [ -n "$height" ] || return 0
    # Below the panel's frame too, whatever the window manager draws around it.
    xdotool windowmove "$picture" "$x" $((y + height + 40)) 2>/dev/null
    sleep 0.5
}

# Whether the picture window $1 shows the clips' natural size.
soak_picture_is_natural() { [ "$(window_size "$1")" = 320x240 ]; }

soak_prepare() {
    local folder n=0 clip
    folder=$(korvel_make_titled_clips "$soak_build/test-media/e2e" soak 6 8) ||
        soak_fail "cannot make the clips"
    soak_clips=("$folder"/soak-00[1-6].avi)
    soak_clips+=("$(korvel_make_clip "$soak_build/test-media/e2e" soak-tone.mp3 "Soak tone" 5)") ||
        soak_fail "cannot make the tone"
    mkdir -p "$XDG_CONFIG_HOME/korvel"
    {
        echo "[Korvel setting]"
        echo "ListRow=$((${#soak_clips[@]} + 2))"
        for clip in "${soak_clips[@]}"; do
            n=$((n + 1))
            echo "RowData$n=On|Default|1|${clip##*/}|||$clip"
        done
    } >"$XDG_CONFIG_HOME/korvel/korvel.ini"
}

# Says what the soak saw and fails: the seed, whether the player runs, its windows, its
# memory and the last lines of its log.
soak_fail() {
    echo "FAIL: $* (seed $soak_seed: SOAK_SEED=$soak_seed repeats the presses)" >&2
    {
        if kill -0 "${soak_pid:-0}" 2>/dev/null; then
            echo "--- the player runs; its windows (id, desktop, pid, x, y, width, height, name):"
            wmctrl -lpG 2>/dev/null | awk -v pid="$soak_pid" '$3 == pid'
            echo "--- its memory:"
            grep -E '^(VmRSS|RssAnon|RssFile|RssShmem):' "/proc/$soak_pid/status"
        else
            echo "--- the player has ended"
        fi
        echo "--- the last lines of its log:"
        tail -n 30 "$soak_dir/korvel.log"
    } >&2
    exit 1
}

# Ends the player and the second starts still running, and waits for them alone: the
# caller's display runs on.
soak_stop() {
    local pid pids=()
    for pid in "${soak_pid:-}" "${soak_handoff_pids[@]}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && pids+=("$pid")
    done
    ((${#pids[@]} == 0)) || wait "${pids[@]}" 2>/dev/null
    return 0
}

soak_run() {
    soak_build=$1 soak_dir=$2
    local seconds=$3 started now checkpoint_at checkpoint="" end end_at settled actions=0 code
    local failed=0 grown
    local n texts expected unexpected
    declare -gA soak_boxes_seen=()
    soak_title=$(korvel_app_title "$soak_build") || exit 1
    soak_seed=${SOAK_SEED:-$(($(date +%s) % 32768))}
    RANDOM=$soak_seed
    echo "soak: seed $soak_seed (SOAK_SEED=$soak_seed repeats the presses)"
    soak_boxes=0 soak_handoffs=0 soak_handoff_pids=()
    # The player keeps its settings and its runtime files in the soak's folder.
    export XDG_RUNTIME_DIR="$soak_dir" XDG_CONFIG_HOME="$soak_dir/config" QT_QPA_PLATFORM=xcb
    export QT_LOGGING_RULES="korvel.*.debug=true"
    soak_prepare
    # The save dialog opens in the home folder (no list was saved yet): the player's home is
    # the soak's own, so nothing a press saves lands elsewhere, and the dialog's cost does not
    # depend on what lies in the home folder of whoever runs it.
    cd "$soak_dir" || soak_fail "no runtime folder"
    mkdir -p "$soak_dir/home"
    export HOME="$soak_dir/home"
    # The engine's threads each take a malloc arena of their own, which keeps what they free:
    # with the default number (eight a core) the resident size steps up by some 10 MB for each
    # new arena, leak or no leak. Two arenas keep the figures comparable.
    MALLOC_ARENA_MAX=${MALLOC_ARENA_MAX:-2} "$soak_build/korvel" "${soak_clips[0]}" \
        >"$soak_dir/korvel.log" 2>&1 &
    soak_pid=$!
    soak_panel=$(korvel_wait_window "$soak_pid" 20 "^${soak_title//./\\.}\$") ||
        soak_fail "no player panel"
    korvel_wait_window "$soak_pid" 20 '^Storm clip 001$' >/dev/null ||
        soak_fail "the first clip did not show"

    started=$(now_ms)
    soak_warm_actions=0
    soak_warm_up
    actions=$soak_warm_actions
    # The player's memory settles over its first half minute of presses and hand-offs (each
    # new kind of clip brings its decoders and buffers), and then stays: a check point taken
    # sooner counts that as growth.
    settled=$((seconds >= 120 ? 60 : seconds / 2))
    checkpoint_at=$((started + settled * 1000))
    end_at=$((started + seconds * 1000))
    # On a slow machine the warm-up itself may run past the check point: it is taken then,
    # and the random presses after it still last the rest of the time asked for (a warm-up
    # that outlasted the run left no random press at all, and compared the memory with itself).
    if [ "$(now_ms)" -ge "$checkpoint_at" ]; then
        soak_settle
        checkpoint=$(soak_memory_kb)
        end_at=$(($(now_ms) + (seconds - settled) * 1000))
        echo "soak: $actions actions, memory $(soak_memory_text "$checkpoint") after the warm-up"
    fi
    while now=$(now_ms) && [ "$now" -lt "$end_at" ]; do
        kill -0 "$soak_pid" 2>/dev/null || soak_fail "the player ended after $actions actions"
        if [ -z "$checkpoint" ] && [ "$now" -ge "$checkpoint_at" ]; then
            soak_settle
            checkpoint=$(soak_memory_kb)
            echo "soak: $actions actions, memory $(soak_memory_text "$checkpoint") after" \
                "$(((now - started) / 1000)) s"
        fi
        soak_tidy_all=""
        soak_action
        actions=$((actions + 1))
        # Double clicks in the picture and keys may change the windows too: now and then a
        # full look.
        [ $((actions % 15)) = 0 ] && soak_tidy_all=1
        soak_do tidy soak_tidy ${soak_tidy_all:+all}
    done
    kill -0 "$soak_pid" 2>/dev/null || soak_fail "the player ended after $actions actions"
    soak_settle
    end=$(soak_memory_kb)
    for pid in "${soak_handoff_pids[@]}"; do wait "$pid"; done
    for n in $(seq 1 "$soak_handoffs"); do
        code=$(cat "$soak_dir/handoff-$n.code" 2>/dev/null)
        [ "$code" = 0 ] && continue
        failed=$((failed + 1))
        grep -q '^korvel: ' "$soak_dir/handoff-$n.err" ||
            soak_fail "second start $n exited '$code' without saying why"
    done

    texts=$(sed -n 's/^.*error box: //p' "$soak_dir/korvel.log")
    expected=$(printf '%s\n' "$texts" | grep -cE "$soak_expected")
    unexpected=$(printf '%s\n' "$texts" | grep -vE "$soak_expected" | grep -c .)
    echo "soak: $actions actions in $(((now - started) / 1000)) s, $soak_handoffs hand-offs" \
        "($failed failed clearly), $soak_boxes error boxes ($expected expected," \
        "$unexpected unexpected, $((soak_boxes - expected - unexpected)) unread)"
    echo "soak: memory $(soak_memory_text "$end") at the end"
    grown=$(($(cut -d ' ' -f 2 <<<"$end") - $(cut -d ' ' -f 2 <<<"$checkpoint")))
    echo "soak: anonymous memory $grown kB more than at the check point"
    [ "$unexpected" = 0 ] || soak_fail "unexpected error boxes: $(printf '%s\n' "$texts" |
        grep -vE "$soak_expected" | sort | uniq -c)"
    [ "$soak_boxes" -le $((expected + unexpected)) ] ||
        soak_fail "$((soak_boxes - expected - unexpected)) error boxes whose text the log does not hold"
    [ "$grown" -le 10240 ] || soak_fail "anonymous memory grew by more than 10 MB"
    # Every xdotool call takes its time on a loaded machine; half an action a second still
    # presses every element several times.
    [ "$actions" -ge $((seconds / 2)) ] || soak_fail "fewer than one action in two seconds"
}
