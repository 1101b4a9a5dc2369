#!/usr/bin/env bash
# The desktop window end to end: starts the real window under Xvfb on a scratch
# copy of the sample application and uses it with the mouse as a person would:
# shows the start page, switches the language, follows a link with a query string
# and a relative link, goes back twice, right-clicks the page (no menu may appear),
# opens the PDF data sheet, saves a selection (a database write and a redirect),
# uses a page with a frame and one with a save dialog, and closes the window. The
# window's trace (--trace) tells what it showed: each page's text and links with
# their positions, and a picture of each page.
# Then `--screenshot` must write a picture of the start page and end by itself.
#
# usage: desktop_test.sh VANTREL SOURCE_DIR DESKTOP_TOOL
set -u
vantrel=$1
src=$(cd "$2" && pwd)
tool=$3
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
die() {
  echo "FAILED: $*"
  echo "--- trace"; cat "$work/trace" 2>/dev/null | cut -c1-300
  echo "--- stderr"; grep -v "^$" "$work/stderr" 2>/dev/null | head -60
  exit 1
}

# The scratch application: the sample application with databases made afresh from
# their SQL sources, a page with a frame (reached from the start page), and a
# stand-in for the desktop's default program.
cp -r "$src/demo" "$work/app"
cp -r "$src/tests/desktop/app/." "$work/app/"
printf '<a href="Frames.qsp">frames</a>\n' >> "$work/app/Select/Index.qsp"
rm -f "$work/app/Database/"*.QDB
bash "$work/app/Database/make-databases.sh" --fresh "$work/app/Database" || die "databases"
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/opened"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# A screen of its own: 1280 x 1024, so the window opens 1002 wide and 924 high.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
unset WAYLAND_DISPLAY
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS="print_stacktrace=1:suppressions=$src/tests/desktop/ubsan.supp"

trace=$work/trace
wait_for() {  # wait_for PATTERN [SECONDS]: a trace line matching the pattern
  local pattern=$1 tries=$(( ${2:-60} * 10 ))
  for _ in $(seq "$tries"); do
    grep -qE -- "$pattern" "$trace" 2>/dev/null && return 0
    kill -0 "$app_pid" 2>/dev/null || die "the window ended while waiting for: $pattern"
    sleep 0.1
  done
  die "timed out waiting for: $pattern"
}
page_text() {  # page_text N
  grep -E "^page $1 " "$trace" | grep -v " end$" | head -1
}
link_at() {  # link_at N HREF: the window position "X Y" of the link of page N with that href
  awk -v n="$1" -v href="$2" -F'\t' '
    $0 == "page " n " end" { inside = 0 }
    inside && index($1, "link ") == 1 {
      split($1, f, " "); h = substr($1, length(f[1] f[2] f[3]) + 4)
      if (h == href) { print f[2], f[3]; exit }
    }
    index($0, "page " n " ") == 1 && $0 != "page " n " end" { inside = 1 }' "$trace"
}
widget_at() {  # widget_at NAME: the centre of a window member
  awk -v name="$1" '$1 == "widget" && $2 == name { print $3 + int($5 / 2), $4 + int($6 / 2) }' "$trace"
}
click() {  # click "X Y" [BUTTON]
  local xy=$1 button=${2:-1}
  [ -n "$xy" ] || die "nothing to click"
  # shellcheck disable=SC2086
  xdotool mousemove --window "$xid" $xy click "$button"
}
contains() { grep -qF -- "$2" <<< "$1"; }

PATH="$work/bin:$PATH" "$vantrel" desktop --app "$work/app" --locale en-US --trace "$trace" \
  > "$work/stdout" 2> "$work/stderr" &
app_pid=$!

# 1. The start page (its picture is taken before anything else happens).
wait_for '^page 1 end$'
wait_for '^screenshot .*trace-1\.png '
xid=$(awk '$1 == "xid" { print $2 }' "$trace")
[ -n "$xid" ] || die "no window id in the trace"
check "screen and window sizes are published" \
  grep -q '^sizes ScreenWidth=1280 ScreenHeight=1024 WindowWidth=1002 WindowHeight=924 DecimalCode=.$' "$trace"
check "the start page is a template request" grep -q '^navigate http://select/Index.qsp target= cancel=1$' "$trace"
p1=$(page_text 1)
check "the start page shows its heading" contains "$p1" "Quorvel valve selection"
check "the start page shows the published sizes" contains "$p1" "Screen 1280 x 1024, Window 1002 x 924"
check "the header strip is laid out" grep -q '^widget lblDeutsch 703 30 ' "$trace"

# 2. German: the title changes and the page is requested again in German.
click "$(widget_at lblDeutsch)"
wait_for '^page 2 end$'
wait_for '^screenshot .*trace-2\.png '
check "the title shows the German title" grep -q '^title Quorvel Auslegung$' "$trace"
p2=$(page_text 2)
check "the page is shown again in German" contains "$p2" "Quorvel Ventilauswahl"
check "the menu is German" contains "$p2" "Ventil auslegen"

# 3. A pseudo-URL link with a query string: the sizing result.
click "$(link_at 2 'http://Select\Result.qsp?q=12&dp=0.5')"
wait_for '^page 3 end$'
check "the link reached the handler with its query string" \
  grep -q '^navigate http://select/Result.qsp?q=12&dp=0.5 target= cancel=1$' "$trace"
p3=$(page_text 3)
check "the result shows the required Kvs" contains "$p3" "Erforderlicher Kvs-Wert 16.97"
check "the result lists catalogue valves" contains "$p3" "QK-40-25"

# 4. A relative link: the browser resolves it to a file, the handler gets its engine path.
click "$(link_at 3 'Catalogue.qsp')"
wait_for '^page 4 end$'
check "a relative link reaches the handler as an engine path" \
  grep -qE '^navigate \\.*\\app\\Select\\Catalogue\.qsp target= cancel=1$' "$trace"
check "the catalogue is shown" contains "$(page_text 4)" "QF-150-400"

# 5. Back twice: to the result, then to the start page.
click "$(link_at 4 'javascript:back();')"
wait_for '^page 5 end$'
check "back shows the result again" contains "$(page_text 5)" "Erforderlicher Kvs-Wert 16.97"
click "$(link_at 5 'javascript:back();')"
wait_for '^page 6 end$'
check "back again shows the start page" contains "$(page_text 6)" "Quorvel Ventilauswahl"

# 6. A right-click shows no menu.
before=$("$tool" mapped-windows)
click "$(link_at 6 'http://Select\Sizing.qsp' | awk '{ print $1 + 300, $2 }')" 3
wait_for '^context-menu suppressed$' 20
sleep 1
check "no context menu appeared" [ "$("$tool" mapped-windows)" = "$before" ]

# 7. The PDF data sheet of the result page goes to the desktop's default program.
click "$(link_at 6 'http://Select\Result.qsp?q=12&dp=0.5')"
wait_for '^page 7 end$'
click "$(link_at 7 'Docs/Quorvel-datasheet.pdf')"
wait_for '^open .*Quorvel-datasheet\.pdf$' 20
for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.1; done
check "the data sheet was handed to xdg-open" grep -q "/app/Select/Docs/Quorvel-datasheet.pdf$" "$work/opened"

# 8. Saving a selection: a database write, a redirect and the list of saved ones.
click "$(link_at 7 'Save.qsp?article=QK-40-25&q=12&dp=0.5')"
wait_for '^page 9 end$'
p9=$(page_text 9)
check "the selection is saved" contains "$p9" "Die Auswahl wurde gespeichert."
check "the saved list shows it" contains "$p9" "QK-40-25"

# 9. Frames: a frame whose first document is a template, a link that targets the
#    frame, a link in the frame without a target, and a back step in the frame.
click "$(link_at 9 'http://Select\Index.qsp')"
wait_for '^page 10 end$'
click "$(link_at 10 'Frames.qsp')"
wait_for '^page 11 end$'
wait_for '^frame 1 end$'
check "the frame's first document is written into it" grep -q '^frame 1 inner 1 ' "$trace"
click "$(link_at 11 'Inner.qsp?n=2')"
wait_for '^frame 2 end$'
check "a link with a target writes into that frame" grep -q '^frame 2 inner 2 ' "$trace"
click "$(awk '/^frame 2 inner 2 /{ f = 1 } f && $1 == "link" && $4 == "Inner.qsp?n=4" { print $2, $3; exit }' "$trace")"
wait_for '^frame 3 end$'
check "a link in the frame stays in the frame" grep -q '^frame 3 inner 4 ' "$trace"
click "$(awk '/^frame 3 inner 4 /{ f = 1 } f && $1 == "link" && $4 == "javascript:back();" { print $2, $3; exit }' "$trace")"
wait_for '^frame 4 end$'
check "back in the frame shows the frame's previous page" grep -q '^frame 4 inner 2 ' "$trace"
check "the main document stayed" [ -z "$(grep -E '^page 12 ' "$trace")" ]

# 10. The save dialog of <cf_file ask="true">: the user types a file name and confirms.
click "$(link_at 11 'Ask.qsp')"
wait_for '^save-dialog$'
dialog=""
for _ in $(seq 100); do
  dialog=$(xdotool search --onlyvisible --name '^Save$' 2>/dev/null | head -1)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || die "no save dialog"
xdotool windowfocus "$dialog"
sleep 0.5
xdotool key --window "$dialog" ctrl+a
xdotool type --window "$dialog" --delay 10 "$work/chosen"
xdotool key --window "$dialog" Return
wait_for '^page 12 end$'
check "the page went on after the dialog" contains "$(page_text 12)" "after the dialog"
check "the file was written where the user chose, with the default extension" \
  [ "$(cat "$work/chosen.txt" 2>/dev/null)" = "saved body" ]

# 11. Pictures: the German start page differs from the English one in the header
#    (the title) and in the page.
info=$("$tool" png-info "$trace-1.png")
read -r w h orange dark <<< "$info"
check "the picture is the whole window (1002 x 924)" [ "$w $h" = "1002 924" ]
check "the header shows the logo in orange" [ "$orange" -gt 100 ]
check "the page shows text" [ "$dark" -gt 500 ]
read -r header pagediff <<< "$("$tool" png-diff "$trace-1.png" "$trace-2.png")"
check "the title appeared in the header" [ "$header" -gt 100 ]
check "the page changed with the language" [ "$pagediff" -gt 100 ]

# 12. Closing the window ends the process cleanly; the saved row is in the database.
"$tool" close-window "$xid"
for _ in $(seq 200); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then die "the window did not close"; fi
wait "$app_pid"
rc=$?
app_pid=""
check "the process ended with exit code 0" [ "$rc" = 0 ]
check "no sanitizer report" bash -c "! grep -qE 'ERROR: AddressSanitizer|runtime error' '$work/stderr'"
rows=$(printf "PRAGMA key = 'ferntopaz7153';\nSELECT articleno || ' ' || kvsreq FROM selections;\n" |
       sqlcipher "$work/app/Database/VantrelLocal.QDB" | tail -1)
check "the saved selection is in the local database" [ "$rows" = "QK-40-25 16.97056" ]

# 13. --screenshot: a picture of the start page, then the program ends by itself.
timeout 120 "$vantrel" --app "$work/app" --locale de-CH --screenshot "$work/shot.png" > /dev/null 2> "$work/stderr2"
check "--screenshot exits with 0" [ $? = 0 ]
read -r w h orange dark <<< "$("$tool" png-info "$work/shot.png")"
check "--screenshot writes the whole window" [ "$w $h" = "1002 924" ]
check "--screenshot shows the start page" [ "$dark" -gt 500 ]

if [ $fail != 0 ]; then
  echo "--- trace"; cut -c1-300 "$trace"
  echo "--- stderr"; tail -40 "$work/stderr"
fi
[ $fail = 0 ] && echo "desktop: all checks passed"
exit $fail
