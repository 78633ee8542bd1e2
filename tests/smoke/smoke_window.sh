#!/usr/bin/env bash
# Smoke test of the real editor window on a private virtual X server, driven with real
# X input: the window opens at the saved position with its fixed client size, "?" opens
# the file dialog in the saved folder, typing the sample's name and Return lists the
# sample's materials, and after a move, closing the window writes the settings.
#
# The list is read without OCR (see read_list.awk): its font gives every character a
# cell of the same size, so the picture must hold the same pixels wherever the expected
# text has the same character, different pixels for different characters, and nothing
# where the text is blank. The file-name field and the count label are checked for text
# that was not there before the file was chosen.
#
# Usage: smoke_window.sh --app EXE --sample FILE --expect LINES --xclose HELPER --shots DIR
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb).

set -euo pipefail

app="" sample="" expect="" xclose="" shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --app) app=$2 ;;
    --sample) sample=$2 ;;
    --expect) expect=$2 ;;
    --xclose) xclose=$2 ;;
    --shots) shots=$2 ;;
    *) echo "smoke_window.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
started=$SECONDS

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
note() {
  printf '[%3ds] %s\n' $((SECONDS - started)) "$*"
}

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIP: xvfb (Xvfb, xvfb-run) is not installed; this test needs a virtual X server"
  exit 77
fi
for tool in xdotool import convert awk realpath; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is not installed (scripts/deps.sh installs xdotool and imagemagick)"
done
[ -x "$app" ] || fail "the editor is not built: $app"
app=$(realpath "$app")
[ -r "$sample" ] || fail "no sample file: $sample"
[ -r "$expect" ] || fail "no expected list: $expect"
if [ -z "$xclose" ] || [ ! -x "$xclose" ]; then
  fail "the close helper tintara_xclose is not built (it needs the X11 headers, libx11-dev)"
fi

# Window layout, in client coordinates: x y width height.
readonly CLIENT_W=679 CLIENT_H=449
readonly BUTTON1=(8 8 25 25)
readonly EDIT1_INSIDE=(34 10 253 17)
readonly SCAN_BUTTON=(8 40 281 25)
readonly LABEL1=(8 72 281 17)
readonly TEXLIST_INSIDE=(10 114 277 293)
readonly LEFT_COLUMN=(8 8 281 401) # from "?" and Edit1 down to the end of the list
readonly LIST_CELL_W=8 LIST_LINE_H=13
readonly SEED_LEFT=123 SEED_TOP=87 MOVED_LEFT=201 MOVED_TOP=149

work=$(mktemp -d "${TMPDIR:-/tmp}/tintara-smoke.XXXXXX")
xvfb_pid="" app_pid=""
cleanup() {
  local pid
  for pid in "$app_pid" "$xvfb_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir -p "$shots"
rm -f "$shots"/*.png

# Polls COMMAND every tenth of a second until it succeeds or SECONDS pass.
wait_for() {
  local what=$1 limit=$2
  shift 2
  local tries=$((limit * 10))
  while ! "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "timed out after ${limit}s waiting for $what"
    sleep 0.1
  done
}

app_running() {
  kill -0 "$app_pid" 2>/dev/null || fail "the editor ended early; its output:$(printf '\n'; cat "$work/app.log")"
}

# --- A private X server: -displayfd picks a free display and reports it when ready. ---
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
  3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_ready() {
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  [ -s "$work/display" ]
}
wait_for "the virtual X server" 15 display_ready
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
unset XAUTHORITY
note "X server on $DISPLAY"

# --- Settings and the model, in temporary folders only. ---
models="$work/models"
mkdir -p "$models" "$work/config/Norvel" "$work/cache" "$work/share" "$work/runtime"
chmod 700 "$work/runtime"
cp "$sample" "$models/sample.mdl"
settings="$work/config/Norvel/Tintarax.conf"
# "Load" ends in a separator: the dialog must still open there, and the folder is
# written back without it. "Show" is left out so that its value after the close can
# only come from the close.
cat >"$settings" <<EOF
[General]
Top=$SEED_TOP
Left=$SEED_LEFT
Load=$models/
EOF

(
  cd "$work"
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_STYLE_OVERRIDE
  export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work/runtime"
  exec "$app"
) >"$work/app.log" 2>&1 &
app_pid=$!

# --- Pictures and regions (x y w h in client coordinates). ---
# Takes the window's client area into $work/NAME.png.
grab() {
  import -window "$window" "$work/$1.png" 2>/dev/null
}
# Writes REGION of picture NAME, in grey, to FILE.
crop() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 file=$6
  convert "$work/$name.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray "$file"
}
# Prints how many pixels of REGION in picture NAME are darker than mid-grey.
dark_pixels() {
  local name=$1 x=$2 y=$3 w=$4 h=$5
  convert "$work/$name.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
    -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}
# Prints the box around the dark pixels of REGION as "width height left right", left
# and right being the blank columns on each side.
ink_box() {
  local name=$1 x=$2 y=$3 w=$4 h=$5
  convert "$work/$name.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
    -threshold 50% -format '%@' info: 2>/dev/null |
    awk -F'[x+]' -v total="$w" '{ print $1, $2, $3, total - $3 - $1 }'
}
same_pictures() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]
}
save_screen() {
  import -window root "$shots/$1.png" 2>/dev/null || true
}

# Steadiness: a region counts as drawn once it has looked the same for longer than a
# text cursor's blink, so no half-drawn state or blinking cursor is measured.
readonly STEADY_MICROSECONDS=700000
steady_since=0
steady_reset() {
  rm -f "$work/steady-last.png"
}
# Grabs the window as NAME.png; succeeds once REGION has stayed the same long enough.
steady() {
  local name=$1 now
  shift
  grab "$name" || return 1
  crop "$name" "$@" "$work/steady-now.png"
  now=${EPOCHREALTIME/./}
  if [ -f "$work/steady-last.png" ] && same_pictures "$work/steady-last.png" "$work/steady-now.png"; then
    [ $((now - steady_since)) -ge $STEADY_MICROSECONDS ]
    return
  fi
  mv "$work/steady-now.png" "$work/steady-last.png"
  steady_since=$now
  return 1
}

# --- The window: found by its caption, at the saved place, with its fixed size. ---
find_window() {
  app_running
  window=$(xdotool search --onlyvisible --name '^Tintara Material Editor $' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
window=""
wait_for "the main window" 20 find_window
note "main window $window"

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "${X},${Y} ${WIDTH}x${HEIGHT}"
}
# Without a window manager there is no frame: the client area sits at Left, Top.
got=$(geometry)
[ "$got" = "${SEED_LEFT},${SEED_TOP} ${CLIENT_W}x${CLIENT_H}" ] ||
  fail "window at $got, expected ${SEED_LEFT},${SEED_TOP} ${CLIENT_W}x${CLIENT_H}"
note "window at $got"

# Painted once the button caption shows; then the list and the count label are empty.
painted_and_empty() {
  app_running
  grab before || return 1
  [ "$(dark_pixels before "${SCAN_BUTTON[@]}")" -gt 0 ] &&
    [ "$(dark_pixels before "${TEXLIST_INSIDE[@]}")" -eq 0 ] &&
    [ "$(dark_pixels before "${LABEL1[@]}")" -eq 0 ]
}
wait_for "the window to paint with an empty list and count label" 10 painted_and_empty
save_screen 1-started

# --- References drawn by the window itself: the texts the program should show, typed
# into Edit1 (which the program never reads), then Tab to take the cursor away. ---
type_into_edit1() {
  xdotool mousemove --window "$window" $((EDIT1_INSIDE[0] + EDIT1_INSIDE[2] / 2)) \
    $((EDIT1_INSIDE[1] + EDIT1_INSIDE[3] / 2)) click 1
  xdotool key ctrl+a BackSpace
  if [ -n "$1" ]; then
    xdotool type --delay 20 "$1"
  fi
  xdotool key Tab
}
# Succeeds once Edit1 has settled, holding text (with "text") or empty (with "empty").
edit1_settled() {
  app_running
  steady typing "${EDIT1_INSIDE[@]}" || return 1
  local dark
  dark=$(dark_pixels typing "${EDIT1_INSIDE[@]}")
  if [ "$1" = text ]; then
    [ "$dark" -gt 0 ]
  else
    [ "$dark" -eq 0 ]
  fi
}
type_into_edit1 "sample.mdl"
steady_reset
wait_for "Edit1 to show the typed file name" 10 edit1_settled text
crop typing "${EDIT1_INSIDE[@]}" "$work/reference-name.png"
type_into_edit1 "$(wc -l <"$expect" | tr -d ' ') Materials found"
steady_reset
wait_for "Edit1 to show the typed count text" 10 edit1_settled text
read -r count_w count_h _ _ <<<"$(ink_box typing "${EDIT1_INSIDE[@]}")"
type_into_edit1 ""
steady_reset
wait_for "Edit1 to be empty again" 10 edit1_settled empty
note "reference texts typed into Edit1 and cleared"

# --- "?" opens the file dialog; type the file name and press Return. ---
xdotool mousemove --window "$window" $((BUTTON1[0] + BUTTON1[2] / 2)) \
  $((BUTTON1[1] + BUTTON1[3] / 2)) click 1
find_dialog() {
  app_running
  dialog=$(xdotool search --onlyvisible --name '^Open$' 2>/dev/null | head -n 1)
  [ -n "$dialog" ]
}
dialog=""
wait_for "the file dialog" 10 find_dialog
dialog_has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$dialog" ]
}
if ! (wait_for "" 3 dialog_has_focus) 2>/dev/null; then
  xdotool windowfocus --sync "$dialog"
fi
note "file dialog $dialog"
xdotool type --delay 30 "sample.mdl"
save_screen 2-dialog
dialog_gone() {
  app_running
  ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1
}
# A completion popup may take the first Return; a second one then accepts.
for attempt in 1 2 3; do
  xdotool key Return
  if (wait_for "" 3 dialog_gone) 2>/dev/null; then
    break
  fi
  [ "$attempt" -lt 3 ] || fail "the file dialog did not accept sample.mdl"
done
note "file dialog closed after $attempt Return key press(es)"

# --- The list fills; the count label and the name field show text. ---
list_shown() {
  app_running
  steady after "${LEFT_COLUMN[@]}" || return 1
  [ "$(dark_pixels after "${TEXLIST_INSIDE[@]}")" -gt 0 ] &&
    [ "$(dark_pixels after "${LABEL1[@]}")" -gt 0 ] &&
    [ "$(dark_pixels after "${EDIT1_INSIDE[@]}")" -gt 0 ]
}
steady_reset
wait_for "the sample's materials in the list" 10 list_shown
save_screen 3-loaded
cp "$work/after.png" "$shots/window-loaded.png"

# The list, cell by cell against the expected lines.
crop after "${TEXLIST_INSIDE[@]}" "$work/list.png"
if ! result=$(convert "$work/list.png" -depth 8 -compress none pgm:- |
  awk -v expect="$expect" -v cw=$LIST_CELL_W -v lh=$LIST_LINE_H -f "$here/read_list.awk"); then
  fail "the list does not show the expected lines:$(printf '\n%s' "$result")"
fi
note "list: ${result#ok: }"

# Edit1 shows the file name exactly as the same text typed into it did.
crop after "${EDIT1_INSIDE[@]}" "$work/edit1.png"
same_pictures "$work/reference-name.png" "$work/edit1.png" ||
  fail "Edit1 does not show sample.mdl as the typed reference does (see $shots/window-loaded.png)"
note "Edit1 shows sample.mdl"

# The count label: ink as wide and high as the count text typed into Edit1, to a pixel
# (the label may draw it at a fraction of a pixel elsewhere, so pixels are not
# compared), and centred.
read -r label_w label_h left_gap right_gap <<<"$(ink_box after "${LABEL1[@]}")"
within_one() {
  local d=$(($1 - $2))
  [ "${d#-}" -le 1 ]
}
if ! within_one "$label_w" "$count_w" || ! within_one "$label_h" "$count_h"; then
  fail "count label text is ${label_w}x${label_h} pixels, the expected text ${count_w}x${count_h}"
fi
gap=$((left_gap - right_gap))
[ "${gap#-}" -le 2 ] || fail "count label text not centred: ${left_gap}px left, ${right_gap}px right"
note "count label text ${label_w}x${label_h} pixels, typed text ${count_w}x${count_h}, centred (${left_gap}px / ${right_gap}px)"

# --- Move the window, then ask it to close as a window manager would. ---
xdotool windowmove --sync "$window" $MOVED_LEFT $MOVED_TOP
got=$(geometry)
[ "$got" = "${MOVED_LEFT},${MOVED_TOP} ${CLIENT_W}x${CLIENT_H}" ] ||
  fail "after the move the window is at $got"
"$xclose" "$window" || fail "could not send the close request"
app_ended() {
  ! kill -0 "$app_pid" 2>/dev/null
}
wait_for "the editor to end after the close request" 10 app_ended
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the editor ended with status $status; its output:$(printf '\n'; cat "$work/app.log")"
note "editor closed with status 0"

# --- Settings written at close. ---
setting() {
  sed -n "s/^$1=//p" "$settings" | head -n 1
}
check_setting() {
  local name=$1 want=$2 got
  got=$(setting "$name")
  [ "$got" = "$want" ] || fail "setting $name is '$got', expected '$want'; the file:$(printf '\n'; cat "$settings")"
}
check_setting Top "$MOVED_TOP"
check_setting Left "$MOVED_LEFT"
check_setting Show 0
check_setting Load "$models"
check_setting Program "$(realpath "$app")"
note "settings written: Top, Left, Show, Load, Program"
note "passed; pictures in $shots"
