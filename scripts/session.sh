# Shared by the end-to-end test and the start-up benchmarks: a private virtual
# X server, the demo service, the app in a sandbox, and waiting for log lines
# and pixels. Source it; do not run it. Every process started here is
# remembered by its id and stopped by session_cleanup.
#
# Set before sourcing: SESSION_BUILD (the Linux build folder) and SESSION_WORK
# (a folder for the sandbox, logs and screenshots).

SESSION_APP="$SESSION_BUILD/Vamrelund Helper"
SESSION_SERVICE="$SESSION_BUILD/vamrhelper-demo-service"
SESSION_SANDBOX_TOOL="$SESSION_BUILD/vamrhelper-demo-sandbox"
SESSION_SANDBOX="$SESSION_WORK/sandbox"
SESSION_LOG="$SESSION_SANDBOX/AppData/Vamrelund/VDS.txt"
SESSION_SERVICE_LOG="$SESSION_WORK/service.log"

session_xvfb_pid=""
session_service_pid=""
session_app_pid=""

# The start of an end-to-end run: exits 77 (skipped) when a tool it needs is
# missing, and empties the work folder.
session_begin_journey() {
    local tool
    for tool in Xvfb xdotool import convert curl; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
    rm -rf "${SESSION_WORK:?}"
    mkdir -p "$SESSION_WORK"
}

# Stops whatever this session started, app first.
session_cleanup() {
    local pid
    for pid in "$session_app_pid" "$session_service_pid" "$session_xvfb_pid"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    session_app_pid="" session_service_pid="" session_xvfb_pid=""
}

# Stops with a hint when the app, the demo service or the sandbox tool has
# not been built yet.
session_require_built() {
    local file
    for file in "$SESSION_APP" "$SESSION_SERVICE" "$SESSION_SANDBOX_TOOL"; do
        [ -x "$file" ] || { echo "build first (scripts/demo or scripts/test): $file is missing"; exit 1; }
    done
}

# Milliseconds since 1970, like the log's time stamps.
now_ms() { date +%s%3N; }

# wait_until SECONDS COMMAND...: polls every 50 ms until the command succeeds.
wait_until() {
    local deadline=$(( $(now_ms) + $1 * 1000 ))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# A fresh, empty sandbox; VAMRHELPER_ROOT points at it from here on.
session_fresh_sandbox() {
    rm -rf "${SESSION_SANDBOX:?}"
    mkdir -p "$SESSION_SANDBOX"
    export VAMRHELPER_ROOT="$SESSION_SANDBOX"
}

# Starts Xvfb on a display number it picks itself (no race with other
# servers) and exports DISPLAY once the server accepts clients.
session_start_xvfb() {
    local size="${1:-1280x1024x24}" number_file="$SESSION_WORK/xvfb-display"
    rm -f "$number_file"
    Xvfb -displayfd 3 -noreset -screen 0 "$size" -nolisten tcp 3>"$number_file" >"$SESSION_WORK/xvfb.log" 2>&1 &
    session_xvfb_pid=$!
    wait_until 20 test -s "$number_file" || { echo "Xvfb did not start" >&2; cat "$SESSION_WORK/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$number_file")"
}

# Starts the demo service on a free port with the given fault options,
# exports VAMRHELPER_SERVICE and sets SESSION_ORIGIN.
session_start_service() {
    local out="$SESSION_WORK/service.out"
    : >"$out"
    "$SESSION_SERVICE" --port 0 --log "$@" >"$out" 2>"$SESSION_SERVICE_LOG" &
    session_service_pid=$!
    wait_until 20 grep -q '^listening on ' "$out" || { echo "the demo service did not start" >&2; cat "$SESSION_SERVICE_LOG" >&2; return 1; }
    SESSION_ORIGIN="$(sed -n 's/^listening on //p' "$out")"
    export VAMRHELPER_SERVICE="$SESSION_ORIGIN"
}

# The demo customer's address and password, as the service prints them.
session_demo_account() {
    local line
    line="$("$SESSION_SERVICE" --accounts | grep '^demo account:')"
    DEMO_EMAIL="$(awk '{ print $3 }' <<<"$line")"
    DEMO_PASSWORD="$(awk '{ print $5 }' <<<"$line")"
    [ -n "$DEMO_EMAIL" ] && [ -n "$DEMO_PASSWORD" ]
}

# Signs the demo customer in over the service's API and stores the token in
# the app's settings, as a sign-in in the app leaves it.
session_store_demo_token() {
    local answer token
    answer="$(curl -s -H 'Content-Type: application/json' \
                   -d "{\"email\": \"$DEMO_EMAIL\", \"password\": \"$DEMO_PASSWORD\"}" "$SESSION_ORIGIN/api/vds/auth")"
    token="$(sed -n 's/.*"token" *: *"\([^"]*\)".*/\1/p' <<<"$answer")"
    [ -n "$token" ] || { echo "no token from the demo service: $answer" >&2; return 1; }
    "$SESSION_SANDBOX_TOOL" store-sign-in "$DEMO_EMAIL" "$token"
}

# Runs the app in the sandbox with the given arguments and waits for it.
session_run_app() { "$SESSION_APP" "$@"; }

# Starts the app in the sandbox; its output goes to SESSION_WORK/app-<label>.out.
# The app itself is the background process, so that signals reach it.
session_start_app() {
    "$SESSION_APP" >"$SESSION_WORK/app-$1.out" 2>&1 &
    session_app_pid=$!
}

# True once the process has ended (an ended child stays a zombie until it is
# waited for, and kill -0 still reaches it).
process_gone() {
    local state
    state="$(ps -o stat= -p "$1" 2>/dev/null)"
    [ -z "$state" ] || [[ "$state" == Z* ]]
}

# Asks the app to quit (SIGINT ends JUCE's message loop in order, so the
# settings are saved) and waits for it; the exit status is in SESSION_APP_EXIT.
session_quit_app() {
    local pid="$session_app_pid"
    SESSION_APP_EXIT=""
    [ -n "$pid" ] || return 0
    kill -INT "$pid" 2>/dev/null || true
    if ! wait_until "${1:-20}" process_gone "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    SESSION_APP_EXIT=0
    wait "$pid" 2>/dev/null || SESSION_APP_EXIT=$?
    session_app_pid=""
}

# ---- the app's log

# Size of the log now: log_since starts reading there.
log_mark() { if [ -f "$SESSION_LOG" ]; then stat -c %s "$SESSION_LOG"; else echo 0; fi; }

# The log's text from a mark on, without time stamps.
log_since() { [ -f "$SESSION_LOG" ] && tail -c +"$(( $1 + 1 ))" "$SESSION_LOG" | tr -d '\r' | cut -d' ' -f2- || true; }

# log_has MARK TEXT: a line written since the mark contains TEXT.
log_has() { log_since "$1" | grep -qaF -- "$2"; }

# log_time MARK TEXT: the time stamp (ms) of the first such line.
log_time() { [ -f "$SESSION_LOG" ] && tail -c +"$(( $1 + 1 ))" "$SESSION_LOG" | tr -d '\r' | grep -aF -- "$2" | head -n1 | cut -d' ' -f1; }

# ---- the window and its pixels

# The id of the app's mapped window ("" while there is none on screen).
app_window() { xdotool search --onlyvisible --name '^Vamrelund Helper$' 2>/dev/null | head -n1; }
window_open() { [ -n "$(app_window)" ]; }
app_window_count() { xdotool search --onlyvisible --name '^Vamrelund Helper$' 2>/dev/null | wc -l; }

# The size of the app window's content as "WIDTH HEIGHT".
app_content_size() {
    xdotool getwindowgeometry "$(app_window)" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'
}

# Saves the app window's content to a PNG.
window_shot() { import -window "$(app_window)" "$1" 2>/dev/null; }

# pixel PNG X Y: the pixel as rrggbb.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f'; }

# colour_count PNG WxH+X+Y rrggbb: how many pixels of the area have exactly that colour.
colour_count() {
    convert "$1" -crop "$2" +repage -fill black +opaque "#$3" -fill white -opaque "#$3" \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# click X Y: a left click at window coordinates.
click() { xdotool mousemove --window "$(app_window)" "$1" "$2" click 1; }

# park_pointer: moves the pointer to the screen's corner, off the centred
# window, so no button under it shows its hover colour in a screenshot.
park_pointer() { xdotool mousemove 0 0; }
