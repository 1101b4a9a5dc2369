#!/usr/bin/env bash
# The command-line contract: render to stdout, --set, --repeat, exit codes for bad
# usage and a missing application folder, and scrambled templates rendering exactly
# as their plain originals.
set -u
vantrel=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if ! "$@"; then echo "FAILED: $what"; fail=1; fi
}

cp -r "$src/demo" "$work/app"
mkdir -p "$work/app/Plain"
printf 'x<cfoutput>#application.who#|#application.DecimalCode#</cfoutput>\ny' > "$work/app/Plain/P.qsp"

# Rendering to stdout, with --set and the published start-up entries.
"$vantrel" render --app "$work/app" --set who=me --locale de-DE 'http://Plain\P.qsp' > "$work/p.html" 2> "$work/err"
check "render exit code" [ $? = 0 ]
check "--set and DecimalCode reach the page" grep -q 'xme|,' "$work/p.html"
check "no stderr without --errors" [ ! -s "$work/err" ]

# A scrambled copy renders byte for byte as the plain template.
"$vantrel" scramble "$work/app/Plain/P.qsp" "$work/S.qsp"
check "scramble exit code" [ $? = 0 ]
check "scrambled text has no CR, LF or NUL" [ "$(tr -d '\r\n\0' < "$work/S.qsp" | wc -c)" = "$(wc -c < "$work/S.qsp")" ]
check "scrambled text hides the template" bash -c "! grep -q cfoutput \"\$1\"" _ "$work/S.qsp"
cp "$work/S.qsp" "$work/app/Plain/S.qsp"
"$vantrel" render --app "$work/app" --set who=me --locale de-DE 'http://Plain\S.qsp' > "$work/s.html"
check "scrambled template renders the same" cmp -s "$work/p.html" "$work/s.html"
"$vantrel" unscramble "$work/S.qsp" "$work/U.qsp"
check "unscramble gives the template with CR LF lines" \
  cmp -s "$work/U.qsp" <(printf 'x<cfoutput>#application.who#|#application.DecimalCode#</cfoutput>\r\ny\r\n')
"$vantrel" unscramble "$work/app/Plain/P.qsp" "$work/X.qsp" 2> "$work/err"
check "unscrambling a plain template fails" [ $? = 1 ]
check "unscramble names the problem" grep -q 'not a scrambled template' "$work/err"

# The demo start page.
"$vantrel" render --app "$work/app" 'http://Select\Index.qsp' > "$work/demo.html"
check "demo start page renders" grep -q '<h1>Quorvel valve selection</h1>' "$work/demo.html"

# --repeat renders fresh runs and reports the count.
"$vantrel" render --app "$work/app" --repeat 3 'http://Plain\P.qsp' 'http://Select\Index.qsp' > /dev/null 2> "$work/err"
check "--repeat reports pages" grep -q '^rendered 6 pages in [0-9]* ms$' "$work/err"

# Every statement that changes data is followed by a pause (1000 ms unless told).
mkdir -p "$work/app/Database"
printf "PRAGMA key = 'ferntopaz7153';\nCREATE TABLE t (v TEXT);\n" | sqlcipher "$work/app/Database/VantrelLocal.QDB"
for i in 1 2 3; do
  printf '<cfquery name="w%s" datasource="VantrelLocal">INSERT INTO t VALUES (%s)</cfquery>' $i $i
done > "$work/app/Plain/W.qsp"
ms() { date +%s%3N; }
t0=$(ms); "$vantrel" render --app "$work/app" 'http://Plain\W.qsp' > /dev/null; t1=$(ms)
check "three data-changing statements pause at least 3 s" [ $((t1 - t0)) -ge 3000 ]
t0=$(ms); "$vantrel" render --app "$work/app" --write-pause-ms 0 'http://Plain\W.qsp' > /dev/null; t1=$(ms)
check "--write-pause-ms 0 does not pause" [ $((t1 - t0)) -lt 2500 ]
check "the rows were written" [ "$(printf "PRAGMA key = 'ferntopaz7153';\nSELECT count(*) FROM t;\n" | sqlcipher "$work/app/Database/VantrelLocal.QDB" | tail -1)" = 6 ]

# Exit codes.
"$vantrel" render --app "$work/missing" 'http://Select\Index.qsp' > /dev/null 2> "$work/err"
check "missing folder exits 1" [ $? = 1 ]
check "missing folder is named" grep -q 'application folder not found' "$work/err"
"$vantrel" render --app "$work/app" > /dev/null 2>&1
check "missing URL exits 2" [ $? = 2 ]
"$vantrel" render --bogus 'x.qsp' > /dev/null 2>&1
check "unknown option exits 2" [ $? = 2 ]
"$vantrel" render --app "$work/app" --set novalue 'x.qsp' > /dev/null 2>&1
check "--set without = exits 2" [ $? = 2 ]
env -u DISPLAY -u WAYLAND_DISPLAY "$vantrel" > /dev/null 2>&1
check "no command and no display exits 2" [ $? = 2 ]

if [ $fail = 0 ]; then echo "cli contract: all checks passed"; fi
exit $fail
