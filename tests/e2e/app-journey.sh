# The user's journey through the real app, against the real demo service, in
# a fresh sandbox with two plugins pre-installed (one current, one older):
#
#   1. types the demo account into the login page, presses Return and accepts
#      the terms ("Yes, I accept", then "DONE");
#   2. checks the products page on screenshots: its background and list
#      panel, the three filter buttons and the three groups' colours;
#   3. installs the update of My Synth with its missing expansion: "Not
#      Updated", "Update", "YES" in the offer; both jobs finish and the
#      updates group empties;
#   4. hands a browser sign-in link to the running app through a second
#      process, which must exit at once; the running app signs in with it;
#   5. quits and starts again: the saved token signs in without typing;
#   6. uninstalls My Synth from its cell ("Uninstall", "YES"): its plugin
#      files and resource folders go; the expansion's files, its settings
#      and a file of the user's in its data folder stay;
#   7. installs Kvist Comp and Lumo from their cells, the second while the
#      first runs;
#   8. opens the settings panel (gear button), checks both its sections on
#      screenshots, unticks Aurora 9 in the uninstall section's tick list and
#      wipes the rest: the ticked products' plugin files and the expansion's
#      files go, Aurora 9 and all other data stay.
#
# Sourced by the end-to-end test of each system (linux/, windows/) once the
# session is set up (scripts/session.sh, and on Windows scripts/session-wine.sh
# after it): SESSION_WORK exists and session_cleanup is trapped. On failure it
# prints the app's log and the service's request log; the screenshots stay in
# SESSION_WORK.

journey_start=$(now_ms)
# Each step says when it began, in seconds into the journey.
step() {
    local ms=$(( $(now_ms) - journey_start ))
    echo "== $* (at $(( ms / 1000 )).$(( ms % 1000 / 100 )) s)"
}

fail() {
    echo "FAILED: $*"
    [ -n "$(app_window 2>/dev/null)" ] && window_shot "$SESSION_WORK/failure.png" || true
    echo "--- app log ($SESSION_LOG)"
    [ -f "$SESSION_LOG" ] && tr -d '\r' <"$SESSION_LOG" | cut -c1-300 || echo "(none)"
    echo "--- service requests ($SESSION_SERVICE_LOG)"
    cat "$SESSION_SERVICE_LOG" 2>/dev/null || echo "(none)"
    for out in "$SESSION_WORK"/app-*.out; do
        [ -f "$out" ] && { echo "--- $(basename "$out")"; cat "$out"; }
    done
    echo "--- screenshots and logs kept in $SESSION_WORK"
    exit 1
}

# expect_log SECONDS MARK TEXT: waits for a log line containing TEXT.
expect_log() {
    wait_until "$1" log_has "$2" "$3" || fail "no log line \"$3\" within $1 s"
}

# expect_pixel PNG X Y rrggbb WHAT
expect_pixel() {
    local got
    got="$(pixel "$1" "$2" "$3")"
    [ "$got" = "$4" ] || fail "$5: pixel ($2, $3) of $(basename "$1") is #$got, expected #$4"
}

# expect_colour PNG AREA rrggbb MIN WHAT
expect_colour() {
    local n
    n="$(colour_count "$1" "$2" "$3")"
    [ "${n:-0}" -ge "$4" ] || fail "$5: only ${n:-0} pixels of #$3 in $2 of $(basename "$1") (at least $4 expected)"
}

service_requests() { grep -c -- "$1" "$SESSION_SERVICE_LOG" || true; }

# expect_present WHAT PATH...: each path exists.
expect_present() {
    local what="$1" path
    shift
    for path; do [ -e "$path" ] || fail "$what: $path is missing"; done
}

# expect_absent WHAT PATH...: no path exists, not even as a dangling link.
expect_absent() {
    local what="$1" path
    shift
    for path; do [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$what: $path is still there"; done
}

# first_row_with PNG WxH+X+Y rrggbb MIN: the y of the area's first pixel row
# holding at least MIN pixels of that colour ("" when none does).
first_row_with() {
    convert "$1" -crop "$2" +repage txt:- 2>/dev/null \
        | awk -F'[,:]' -v colour="#${3^^}" -v top="${2##*+}" -v min="$4" \
              'index($0, colour) && ++count[$2] == min { print $2 + top; exit }'
}

# The main window's layout at its start size of 820 x 600, in window pixels.
window_width=820 window_height=600
# The login page's fields: (190, 272, 259, 32) and (190, 328, 259, 32).
email_field=(319 288) password_field=(319 344)
# The terms dialog: a 300 x 200 box centred in a margin of 90; its switch at
# (123, 249, 150, 25) and its DONE button at (297, 250, 58, 24).
toast_x=$(( (window_width - 300) / 2 - 90 )) toast_y=$(( (window_height - 200) / 2 - 90 ))
terms_box=($(( toast_x + 95 )) $(( toast_y + 180 )))
accept_switch=($(( toast_x + 135 )) $(( toast_y + 261 )))
done_button=($(( toast_x + 326 )) $(( toast_y + 262 )))
# The filter buttons: 80 x 14 at y 62, from the right every 87 pixels.
installed_filter_x=$(( 17 + window_width - 34 - 94 ))
updates_filter_x=$(( installed_filter_x - 87 ))
not_installed_filter_x=$(( updates_filter_x - 87 ))
filter_y=62
list_area="$(( window_width - 24 ))x$(( window_height - 134 ))+12+90"

# Colours of the pages.
login_background=f1f3f5 page_background=3d4d58 list_panel=091c2a
not_installed_colour=97a1a8 update_colour=fbd53d installed_colour=4bbf49
uninstall_grey=89939a install_green=4abf48

# The list: its viewport starts at y 90; in it a group's title (20 high)
# comes 37 pixels above its cells, which are 377 x 103, two a row, 390
# apart from x 26, with 10 between the rows.
list_top=90 cell_height=103 row_gap=10

# The top of the cells below the group title of that colour on a screenshot,
# from the title text's first row (5 pixels below its box's top).
group_cells_top() {
    local title_row
    title_row="$(first_row_with "$1" "80x$(( window_height - 134 ))+26+$list_top" "$2" 8)"
    [ -n "$title_row" ] && echo $(( title_row - 5 + 37 ))
}

# click_cell COLUMN TOP: selects the cell there, clicking its picture (the
# right-hand top corner opens the details instead).
click_cell() { click $(( 26 + $1 * 390 + 60 )) $(( $2 + 50 )); }

# The settings panel: 500 x 350, centred, over the window dimmed by 0x70000000;
# its tabs at (25, 56) and (128, 56), "Wipe" at (25, 307) and "Done" at
# (395, 307), all 86 x 24; the tick list at (5, 139), its boxes 25 x 25
# from (30, 0). A filled button's colour is read 8 pixels in from its left.
panel_x=$(( (window_width - 500) / 2 )) panel_y=$(( (window_height - 350) / 2 ))
gear_button=($(( window_width - 36 + 12 )) $(( 11 + 12 )))
panel_point=($(( panel_x + 10 )) $(( panel_y + 350 - 10 )))
install_tab=($(( panel_x + 25 + 8 )) $(( panel_y + 56 + 12 )))
uninstall_tab=($(( panel_x + 128 + 8 )) $(( panel_y + 56 + 12 )))
wipe_button=($(( panel_x + 25 + 43 )) $(( panel_y + 307 + 12 )))
settings_done=($(( panel_x + 395 + 8 )) $(( panel_y + 307 + 12 )))
first_tick=($(( panel_x + 5 + 30 + 12 )) $(( panel_y + 139 + 12 )))
panel_fill=091c2a install_blue=0196ff uninstall_red=f54c4c
# 0x3d4d58 under black of alpha 0x70, as JUCE blends it: each channel * 144 / 256.
dimmed_page_background=222b31
# tick_box_stats PNG: the first tick box's mean and spread, to tell a change.
tick_box_stats() { convert "$1" -crop "25x25+$(( panel_x + 5 + 30 ))+$(( panel_y + 139 ))" +repage -format '%[fx:mean] %[fx:standard_deviation]' info: 2>/dev/null; }

# A dialog of the products page: 270 x 170 centred in a margin of 90, "YES"
# at (112, 220); a message without buttons is 270 x 140.
dialog_x=$(( (window_width - 270) / 2 - 90 )) dialog_y=$(( (window_height - 170) / 2 - 90 ))
dialog_yes=($(( dialog_x + 112 + 28 )) $(( dialog_y + 220 + 12 )))
message_box="270x140+$(( dialog_x + 90 ))+$(( (window_height - 140) / 2 ))"
# With one product selected, its one action button ends the action row:
# "Install" (87 wide) for a plugin not installed, "Uninstall" (87 wide, one
# pixel further left) for one installed and current.
action_button=($(( window_width - 12 - 88 + 43 )) $(( window_height - 35 + 12 )))
action_button_is() { window_shot "$SESSION_WORK/action.png" && [ "$(pixel "$SESSION_WORK/action.png" $(( ${action_button[0]} - 35 )) "${action_button[1]}")" = "$1" ]; }
toast_dialog_shown() { window_shot "$1" && [ "$(colour_count "$1" "270x170+$(( dialog_x + 90 ))+$(( dialog_y + 90 ))" "$installed_colour")" -ge 1000 ]; }

# Checks a screenshot of the products page (with the list at its top). With
# "updated" as the second argument, My Synth's update is installed: the
# "UPDATES" filter is gone and "NOT INSTALLED" moves into its place.
check_products_page() {
    local shot="$1"
    expect_pixel "$shot" 2 2 "$page_background" "page background"
    expect_pixel "$shot" 500 5 "$page_background" "page background"
    expect_pixel "$shot" 405 300 "$list_panel" "list panel between the columns"
    if [ "${2:-}" = updated ]; then
        expect_pixel "$shot" $(( updates_filter_x + 3 )) $(( filter_y + 2 )) "$not_installed_colour" "\"NOT INSTALLED\" filter"
    else
        expect_pixel "$shot" $(( not_installed_filter_x + 3 )) $(( filter_y + 2 )) "$not_installed_colour" "\"NOT INSTALLED\" filter"
        expect_pixel "$shot" $(( updates_filter_x + 3 )) $(( filter_y + 2 )) "$update_colour" "\"UPDATES\" filter"
    fi
    expect_pixel "$shot" $(( installed_filter_x + 3 )) $(( filter_y + 2 )) "$installed_colour" "\"INSTALLED\" filter"
    # The first group, "Not installed", heads the list.
    expect_colour "$shot" "450x30+20+95" "$not_installed_colour" 40 "\"Not installed\" group title"
    [ "$(colour_count "$shot" 4x4+20+20 "$login_background")" = 0 ] || fail "the login page still shows"
}

# ---------------------------------------------------------------------------
step "sandbox, demo service, pre-installed plugins"
session_fresh_sandbox
# As large as the screen scripts/test-windows starts Wine on (xvfb-run's
# 1920 x 1080): Wine centres the window on that screen, and a window hanging
# over this one's edge could be neither captured nor clicked there.
session_start_xvfb 1920x1080x24 || fail "no X server"
session_start_service || fail "no demo service"
session_demo_account || fail "the demo service printed no demo account"
"$SESSION_SANDBOX_TOOL" preinstall aurora9 mysynth=1.2.3 >"$SESSION_WORK/preinstall.out" || fail "pre-install: $(cat "$SESSION_WORK/preinstall.out")"

# The three format folders and the data folder, where the sandbox tool (with
# the app's own locations) put Aurora 9.
written() { sed -n "s|^  \(.*/$1\)\$|\1|p" "$SESSION_WORK/preinstall.out" | head -n1; }
vst2_folder="$(dirname "$(written Aurora9.dll)")"
vst3_folder="$(dirname "$(written Aurora9.vst3)")"
aax_folder="$(dirname "$(written Aurora9.aaxplugin)")"
data_folder="$(dirname "$(dirname "$(written aurora9.settings)")")"
for folder in "$vst2_folder" "$vst3_folder" "$aax_folder" "$data_folder"; do
    [[ "$folder" == "$SESSION_SANDBOX"/* ]] || fail "the pre-install wrote outside the sandbox: \"$folder\""
done

# plugin_file STEM vst2|vst3|aax: where a plugin's file of that format goes.
plugin_file() {
    case "$2" in
        vst2) echo "$vst2_folder/$1.dll" ;;
        vst3) echo "$vst3_folder/$1.vst3" ;;
        aax)  echo "$aax_folder/$1.aaxplugin" ;;
    esac
}

# ---------------------------------------------------------------------------
step "1. sign in on the login page and accept the terms"
mark=$(log_mark)
session_start_app first
wait_until 30 window_open || fail "no window within 30 s"
expect_log 30 "$mark" "extralog, first frame painted"
read -r width height < <(app_content_size)
[ "$width" = "$window_width" ] && [ "$height" = "$window_height" ] || fail "window is ${width}x${height}, expected ${window_width}x${window_height}"
read -r left top < <(xdotool getwindowgeometry "$(app_window)" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p')
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
[ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ $(( left + width )) -le "$screen_width" ] && [ $(( top + height )) -le "$screen_height" ] \
    || fail "the window at ($left, $top) does not fit on the ${screen_width}x${screen_height} screen"

login_shown() { window_shot "$SESSION_WORK/login.png" && [ "$(pixel "$SESSION_WORK/login.png" 5 5)" = "$login_background" ]; }
wait_until 10 login_shown || fail "the login page is not shown"
# Once showing, the page takes the keyboard focus on its next 100 ms
# visibility tick; a click into a field before that would lose it again.
sleep 0.5

click "${email_field[@]}"
xdotool type --delay 15 -- "$DEMO_EMAIL"
click "${password_field[@]}"
xdotool type --delay 15 -- "$DEMO_PASSWORD"
xdotool key Return

# What reached the app is exactly what was typed.
expect_log 20 "$mark" "extralog, email = <$DEMO_EMAIL>"
expect_log 5 "$mark" "extralog, password length = ${#DEMO_PASSWORD}"

terms_shown() { window_shot "$SESSION_WORK/terms.png" && [ "$(pixel "$SESSION_WORK/terms.png" "${terms_box[@]}")" = "$installed_colour" ]; }
wait_until 10 terms_shown || fail "the terms dialog did not appear"
[ "$(service_requests 'POST /api/vds/auth')" = 0 ] || fail "signed in before the terms were accepted"

click "${accept_switch[@]}"
click "${done_button[@]}"
# The pointer would rest over the "UPDATES" filter of the page that follows
# and light it in its hover colour.
park_pointer
expect_log 10 "$mark" "Accepted terms: "
log_has "$mark" "Accepted terms: yes" || fail "the terms were not accepted"
expect_log 20 "$mark" "extralog, login callback err = 1"
expect_log 30 "$mark" "extralog, products page painted: "
grep -q 'POST /api/vds/auth -> 200' "$SESSION_SERVICE_LOG" || fail "no successful password sign-in at the service"

# ---------------------------------------------------------------------------
step "2. the products page"
products_shown() { window_shot "$SESSION_WORK/products.png" && [ "$(pixel "$SESSION_WORK/products.png" 2 2)" = "$page_background" ]; }
wait_until 10 products_shown || fail "the products page is not on screen"
check_products_page "$SESSION_WORK/products.png"
log_since "$mark" | grep -qaF "local_versions_ My Synth 1.2.3" || fail "the older My Synth was not found installed"
log_since "$mark" | grep -qaF "local_versions_ Aurora 9 2.1.0" || fail "the current Aurora 9 was not found installed"

# "UPDATES" scrolls down to the updates group; below it, the installed group.
click $(( updates_filter_x + 40 )) $(( filter_y + 7 ))
# Green shows only down there (the top of the list holds yellow "BETA" ribbons).
scrolled() { window_shot "$SESSION_WORK/products-updates.png" && [ "$(colour_count "$SESSION_WORK/products-updates.png" "$list_area" "$installed_colour")" -ge 100 ]; }
wait_until 10 scrolled || fail "no \"Installed\" group after pressing \"UPDATES\""
expect_colour "$SESSION_WORK/products-updates.png" "$list_area" "$update_colour" 100 "\"Update available\" group"
park_pointer

# ---------------------------------------------------------------------------
step "3. install the update of My Synth and its missing expansion"
mark=$(log_mark)
# "Not Updated" selects the one plugin with an update; the action row sits
# 35 pixels above the bottom, the install button at its right end.
click $(( 296 + 43 )) $(( window_height - 35 + 12 ))
click $(( window_width - 12 - 87 + 43 )) $(( window_height - 35 + 12 ))
# The offer: a 270 x 170 dialog centred in a margin of 90, "YES" at (112, 220).
offer_x=$(( (window_width - 270) / 2 - 90 )) offer_y=$(( (window_height - 170) / 2 - 90 ))
offer_shown() { window_shot "$SESSION_WORK/offer.png" && [ "$(colour_count "$SESSION_WORK/offer.png" "270x170+$(( offer_x + 90 ))+$(( offer_y + 90 ))" "$installed_colour")" -ge 1000 ]; }
wait_until 10 offer_shown || fail "no offer to install the expansion of My Synth"
click $(( offer_x + 112 + 28 )) $(( offer_y + 220 + 12 ))
park_pointer
expect_log 30 "$mark" "downloadToFile enter My Synth"
expect_log 30 "$mark" "downloadToFile enter Winter Pads"
window_shot "$SESSION_WORK/installing.png" || fail "no screenshot while installing"
expect_log 60 "$mark" "downloadToFile exit My Synth"
expect_log 60 "$mark" "downloadToFile exit Winter Pads"
expect_log 10 "$mark" "updateProduct onDownloadAndInstallCompletion result = 1"
! log_has "$mark" "Install error" || fail "an install failed: $(log_since "$mark" | grep -a "Install error")"
# A second after each job the cell is read again: My Synth leaves the updates group.
updates_gone() { window_shot "$SESSION_WORK/installed.png" && [ "$(pixel "$SESSION_WORK/installed.png" $(( updates_filter_x + 3 )) $(( filter_y + 2 )))" != "$update_colour" ]; }
wait_until 15 updates_gone || fail "the \"UPDATES\" filter still shows after the update"

# ---------------------------------------------------------------------------
step "4. a browser sign-in link handed over by a second process"
link="$(curl -s -D - -o /dev/null --data-urlencode "email=$DEMO_EMAIL" --data-urlencode "password=$DEMO_PASSWORD" \
             "$SESSION_ORIGIN/sso" | tr -d '\r' | sed -n 's/^[Ll]ocation: //p')"
code="${link##*code=}"
[[ "$link" == vamrhelper://email=* ]] && [ -n "$code" ] || fail "the service's sign-in page gave no link: \"$link\""

mark=$(log_mark)
sso_before=$(service_requests 'POST /api/vds/sso_auth -> 200')
session_run_app "$link" >"$SESSION_WORK/app-link.out" 2>&1 &
second=$!
wait_until 30 process_gone "$second" || { kill "$second" 2>/dev/null; fail "the second process did not exit within 30 s"; }
second_exit=0
wait "$second" || second_exit=$?
[ "$second_exit" = 0 ] || fail "the second process exited with $second_exit"

expect_log 20 "$mark" "openWithEmailAndCode, code = <$code>"
expect_log 20 "$mark" "extralog, login callback err = 1"
expect_log 30 "$mark" "extralog, products page painted: "
[ "$(service_requests 'POST /api/vds/sso_auth -> 200')" -gt "$sso_before" ] || fail "the service saw no sign-in with the code"
! log_has "$mark" "MainComponent::initialize" || fail "the second process started an app of its own"
[ "$(app_window_count)" = 1 ] || fail "$(app_window_count) windows are open, expected the one of the first process"

# ---------------------------------------------------------------------------
step "5. quit, start again: the saved token signs in"
session_quit_app 30
[ "$SESSION_APP_EXIT" = 0 ] || fail "the app exited with $SESSION_APP_EXIT"
wait_until 10 eval "! window_open" || fail "the window stayed after the app quit"

mark=$(log_mark)
password_sign_ins=$(service_requests 'POST /api/vds/auth')
session_start_app restart
expect_log 30 "$mark" "extralog, products page painted: "
log_has "$mark" "extralog, email = " && fail "the restarted app asked for a password sign-in"
[ "$(service_requests 'POST /api/vds/auth')" = "$password_sign_ins" ] || fail "the restarted app signed in with a password"
# The installed update's own files now carry the catalogue's version.
expect_log 30 "$mark" "local_versions_ My Synth 1.3.0"
wait_until 10 products_shown || fail "the restarted app does not show the products page"
check_products_page "$SESSION_WORK/products.png" updated
cp "$SESSION_WORK/products.png" "$SESSION_WORK/products-after-restart.png"

# ---------------------------------------------------------------------------
step "6. uninstall My Synth from its cell with \"YES\""
mysynth_files=("$(plugin_file MySynth vst2)" "$(plugin_file MySynth vst3)" "$(plugin_file MySynth aax)"
               "$data_folder/My Synth/Factory Presets")
# What an uninstall leaves in the product's data folder: the expansion's
# files, the plugin's settings and anything the user put there.
planted="$data_folder/My Synth/User Presets/Mine.preset"
mkdir -p "$(dirname "$planted")" && echo "the user's own" >"$planted"
mysynth_kept=("$data_folder/My Synth/Presets/Winter Pads/Frost.preset" "$data_folder/My Synth/Presets/Winter Pads/Nøkken.preset"
              "$data_folder/My Synth/mysynth.settings" "$planted")
aurora_files=("$(plugin_file Aurora9 vst2)" "$(plugin_file Aurora9 vst3)" "$(plugin_file Aurora9 aax)"
              "$data_folder/Aurora 9/Factory Presets/Init.preset")
expect_present "before the uninstall" "${mysynth_files[@]}" "${mysynth_kept[@]}" "${aurora_files[@]}"

# "INSTALLED" scrolls down to the installed group: Aurora 9, then My Synth.
park_pointer
click $(( installed_filter_x + 40 )) $(( filter_y + 7 ))
installed_group_shown() {
    window_shot "$SESSION_WORK/products-installed.png" || return 1
    installed_cells_top="$(group_cells_top "$SESSION_WORK/products-installed.png" "$installed_colour")"
    [ -n "$installed_cells_top" ]
}
wait_until 10 installed_group_shown || fail "no \"Installed\" group after pressing \"INSTALLED\""
mark=$(log_mark)
click_cell 1 "$installed_cells_top"
# Only "Uninstall" shows for an installed, current plugin, at the row's right end.
wait_until 10 action_button_is "$uninstall_grey" || fail "no \"Uninstall\" button after selecting My Synth"
click "${action_button[@]}"
wait_until 10 toast_dialog_shown "$SESSION_WORK/uninstall-dialog.png" || fail "no \"Uninstall?\" dialog"
click "${dialog_yes[@]}"
park_pointer
expect_log 10 "$mark" "unInstall My Synth"
# A second later the page reads the cell again and says "Uninstalled" in a
# message box, shorter than the dialog was.
uninstalled_shown() {
    window_shot "$SESSION_WORK/uninstalled.png" && [ "$(colour_count "$SESSION_WORK/uninstalled.png" "$message_box" "$installed_colour")" -ge 1000 ] \
        && [ "$(pixel "$SESSION_WORK/uninstalled.png" 300 $(( dialog_y + 90 + 165 )))" != "$installed_colour" ]
}
wait_until 10 uninstalled_shown || fail "no \"Uninstalled\" message after the uninstall"
! log_has "$mark" "refused" || fail "the uninstall refused: $(log_since "$mark" | grep -a refused)"
expect_absent "My Synth after its uninstall" "${mysynth_files[@]}"
expect_present "after uninstalling My Synth" "${mysynth_kept[@]}" "${aurora_files[@]}"
action_button_is "$uninstall_grey" && fail "the \"Uninstall\" button still shows after the uninstall"

# ---------------------------------------------------------------------------
step "7. install Kvist Comp and Lumo from their cells, the second while the first runs"
lumo_files=("$(plugin_file Lumo vst3)" "$(plugin_file Lumo aax)" "$data_folder/Lumo/Textures/Dawn.preset")
kvist_files=("$(plugin_file KvistComp vst2)" "$(plugin_file KvistComp vst3)" "$(plugin_file KvistComp aax)"
             "$data_folder/Kvist Comp/Presets/Gentle.preset")
expect_absent "before their install" "${lumo_files[@]}" "${kvist_files[@]}"

# With no update left, "NOT INSTALLED" sits where "UPDATES" was. It scrolls
# the not-installed group's title to 20 pixels below the list's top, or as
# near as the list allows; not_installed_cells_top is then the top of the
# group's cells, two a row in title order.
not_installed_at_top() {
    window_shot "$SESSION_WORK/products-not-installed.png" || return 1
    not_installed_cells_top="$(group_cells_top "$SESSION_WORK/products-not-installed.png" "$not_installed_colour")"
    [ -n "$not_installed_cells_top" ] && [ "$not_installed_cells_top" -le $(( list_top + 20 + 37 + 10 )) ]
}
show_not_installed() {
    click $(( updates_filter_x + 40 )) $(( filter_y + 7 ))
    park_pointer
    wait_until 10 not_installed_at_top || fail "\"NOT INSTALLED\" did not bring up the not-installed group"
}

# start_install_from_cell COLUMN ROW TITLE: selects the not-installed cell
# there and presses "Install".
start_install_from_cell() {
    local mark
    mark=$(log_mark)
    click_cell "$1" $(( not_installed_cells_top + $2 * (cell_height + row_gap) ))
    wait_until 10 action_button_is "$install_green" || fail "no \"Install\" button after selecting $3"
    click "${action_button[@]}"
    park_pointer
    expect_log 30 "$mark" "downloadToFile enter $3"
}

# A product being installed heads the list in an "Installing" group; a
# second after its job its cell is read again and joins the installed.
# Scrolled to its top, the list then starts with the not-installed group.
list_starts_not_installed() {
    xdotool mousemove --window "$(app_window)" 400 300 click --repeat 15 4
    window_shot "$SESSION_WORK/products-settled.png" \
        && [ "$(colour_count "$SESSION_WORK/products-settled.png" "450x30+20+95" "$not_installed_colour")" -ge 40 ]
}
completions() { log_since "$mark" | grep -c "updateProduct onDownloadAndInstallCompletion result = "; }

mark=$(log_mark)
# Kvist Comp is the fifth (after Aurora 10, Custom Strings, Fjellvind and
# Fjellvind 2). While it installs, or once installed, Lumo is.
show_not_installed
start_install_from_cell 0 2 "Kvist Comp"
show_not_installed
# The list is laid out again a second after Kvist Comp's job ends: with the
# job still running, the click lands before that; otherwise the list settles
# first.
if [ "$(completions)" != 0 ]; then
    wait_until 10 list_starts_not_installed || fail "the list still shows Kvist Comp installing"
    show_not_installed
fi
start_install_from_cell 0 2 Lumo
expect_log 60 "$mark" "downloadToFile exit Kvist Comp"
expect_log 60 "$mark" "downloadToFile exit Lumo"
wait_until 30 eval '[ "$(completions)" -ge 2 ]' || fail "the two installs did not both end"
! log_has "$mark" "result = 0" && ! log_has "$mark" "Install error" \
    || fail "an install failed: $(log_since "$mark" | grep -a -e "Install error" -e "result = 0")"
expect_present "after their install" "${lumo_files[@]}" "${kvist_files[@]}"
[ ! -e "$(plugin_file Lumo vst2)" ] || fail "Lumo, offered without VST2, left a VST2 file"
wait_until 10 list_starts_not_installed || fail "the list still shows an install running"
park_pointer

# ---------------------------------------------------------------------------
step "8. wipe from the settings page: Kvist Comp, Lumo and Winter Pads ticked, Aurora 9 not"
winter_pads_files=("$data_folder/My Synth/Presets/Winter Pads/Frost.preset" "$data_folder/My Synth/Presets/Winter Pads/Nøkken.preset")
# Their data outside the four resource folders is not the wipe's to take.
wipe_kept=("$data_folder/Lumo/Textures/Dawn.preset" "$data_folder/Kvist Comp/Presets/Gentle.preset"
           "$data_folder/My Synth/mysynth.settings" "$planted")
expect_present "before the wipe" "${winter_pads_files[@]}" "${wipe_kept[@]}" "${aurora_files[@]}"

mark=$(log_mark)
click "${gear_button[@]}"
park_pointer
expect_log 10 "$mark" "start settings menu"
settings_section_shown() {   # SHOT TAB COLOUR
    window_shot "$1" && [ "$(pixel "$1" "${panel_point[@]}")" = "$panel_fill" ] && [ "$(pixel "$1" $2)" = "$3" ]
}
wait_until 10 settings_section_shown "$SESSION_WORK/settings-install.png" "${install_tab[*]}" "$install_blue" \
    || fail "the settings panel did not open in its install section"
shot="$SESSION_WORK/settings-install.png"
expect_pixel "$shot" "${settings_done[@]}" "$install_green" "\"Done\" button"
expect_pixel "$shot" 2 2 "$dimmed_page_background" "the window around the panel, dimmed"
[ "$(pixel "$shot" "${uninstall_tab[@]}")" != "$uninstall_red" ] || fail "the uninstall tab is filled in the install section"

click "${uninstall_tab[@]}"
park_pointer
expect_log 10 "$mark" "getProducts"
wait_until 10 settings_section_shown "$SESSION_WORK/settings-uninstall.png" "${uninstall_tab[*]}" "$uninstall_red" \
    || fail "the uninstall section did not show"
shot="$SESSION_WORK/settings-uninstall.png"
expect_pixel "$shot" "${settings_done[@]}" "$install_green" "\"Done\" button"
[ "$(pixel "$shot" "${install_tab[@]}")" != "$install_blue" ] || fail "the install tab is still filled in the uninstall section"

# The tick list holds the installed rows in list order, every one ticked:
# Aurora 9 comes first, and its tick goes off.
ticked_box="$(tick_box_stats "$shot")"
click "${first_tick[@]}"
park_pointer
unticked() { window_shot "$SESSION_WORK/settings-unticked.png" && [ "$(tick_box_stats "$SESSION_WORK/settings-unticked.png")" != "$ticked_box" ]; }
wait_until 10 unticked || fail "the first tick box did not change when clicked"

mark=$(log_mark)
click "${wipe_button[@]}"
park_pointer
expect_log 10 "$mark" "Do Wipe pressed"
expect_log 10 "$mark" "extralog, products page painted: "
for title in "Kvist Comp" "Lumo" "Winter Pads"; do
    log_has "$mark" "will wipe: $title" || fail "$title was not wiped"
done
! log_has "$mark" "will wipe: Aurora 9" || fail "Aurora 9 was wiped with its tick off"
! log_has "$mark" "refused" || fail "the wipe refused: $(log_since "$mark" | grep -a refused)"
wait_until 10 products_shown || fail "the products page does not show after the wipe"
cp "$SESSION_WORK/products.png" "$SESSION_WORK/products-after-wipe.png"

expect_absent "after the wipe" "${lumo_files[@]:0:2}" "${kvist_files[@]:0:3}" "${winter_pads_files[@]}"
# The expansion's folders, emptied, go with it; the plugin's folder stays.
expect_absent "after the wipe" "$data_folder/My Synth/Presets"
expect_present "after the wipe" "${wipe_kept[@]}" "${aurora_files[@]}"

session_quit_app 30
[ "$SESSION_APP_EXIT" = 0 ] || fail "the restarted app exited with $SESSION_APP_EXIT"

echo "PASSED: screenshots in $SESSION_WORK"
