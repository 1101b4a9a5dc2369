#!/usr/bin/env bash
# Runs one template case through the real `vantrel render` and compares what it
# delivered with the case's expected pages, byte for byte.
#
# usage: run_template_case.sh VANTREL CASE_DIR
#
# A case folder (see templates/README.md) holds:
#   app/        the application folder (copied to a scratch folder first, since
#               templates may write files)
#   args        the arguments after `render --app APP --out OUT`, one per line;
#               {APP} stands for the scratch application folder's host path
#   expected/   N.html for each URL argument N that delivered a page; the engine
#               form of the scratch application folder is written as {APP}\
#   stderr      optional: the expected standard error, with the same placeholder
#   exit        optional: the expected exit code (default 0)
#   setup       optional: a bash script run in the scratch application folder before
#               rendering (for instance to create databases with the sqlcipher shell)
# With VANTREL_BLESS=1 the actual results are written into the case instead.
set -u
vantrel=$1
case_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$case_dir/app" "$work/app"
if [ -f "$case_dir/setup" ]; then
  (cd "$work/app" && bash "$case_dir/setup") || { echo "setup failed"; exit 1; }
fi
args=()
[ -f "$case_dir/args" ] && mapfile -t args < "$case_dir/args"
for i in "${!args[@]}"; do args[$i]=${args[$i]//\{APP\}/$work/app}; done
# Cases run in en-US unless they name a locale, whatever the machine's settings.
case " ${args[*]} " in *" --locale "*) ;; *) args=(--locale en-US "${args[@]}") ;; esac
"$vantrel" render --app "$work/app" --out "$work/out" "${args[@]}" > "$work/stdout" 2> "$work/stderr"
rc=$?
mkdir -p "$work/out"

app_engine=$(printf '%s\\' "$work/app" | tr '/' '\\')
normalize() {  # replaces the scratch application folder by {APP}\ in place
  APP="$app_engine" perl -0777 -pi -e 's/\Q$ENV{APP}\E/{APP}\\/g' "$1"
}
for f in "$work"/out/*.html "$work/stderr"; do [ -f "$f" ] && normalize "$f"; done

if [ "${VANTREL_BLESS:-0}" = 1 ]; then
  rm -rf "$case_dir/expected"; mkdir -p "$case_dir/expected"
  cp "$work"/out/*.html "$case_dir/expected/" 2>/dev/null
  if [ -s "$work/stderr" ]; then cp "$work/stderr" "$case_dir/stderr"; else rm -f "$case_dir/stderr"; fi
  if [ "$rc" != 0 ]; then echo "$rc" > "$case_dir/exit"; else rm -f "$case_dir/exit"; fi
  echo "blessed $case_dir"
  exit 0
fi

fail=0
expected_rc=0
[ -f "$case_dir/exit" ] && expected_rc=$(cat "$case_dir/exit")
if [ "$rc" != "$expected_rc" ]; then
  echo "exit code $rc, expected $expected_rc"; cat "$work/stderr"; fail=1
fi
mkdir -p "$work/none"
expected_dir="$case_dir/expected"; [ -d "$expected_dir" ] || expected_dir="$work/none"
for f in "$expected_dir"/*.html; do
  [ -f "$f" ] || continue
  n=$(basename "$f")
  if [ ! -f "$work/out/$n" ]; then echo "missing page $n"; fail=1; continue; fi
  if ! cmp -s "$f" "$work/out/$n"; then
    echo "page $n differs:"; diff <(cat -A "$f") <(cat -A "$work/out/$n") | head -40; fail=1
  fi
done
for f in "$work"/out/*.html; do
  [ -f "$f" ] || continue
  n=$(basename "$f")
  if [ ! -f "$expected_dir/$n" ]; then echo "unexpected page $n:"; head -c 2000 "$f"; echo; fail=1; fi
done
if [ -f "$case_dir/stderr" ]; then
  if ! cmp -s "$case_dir/stderr" "$work/stderr"; then
    echo "stderr differs:"; diff "$case_dir/stderr" "$work/stderr" | head -40; fail=1
  fi
elif [ -s "$work/stderr" ]; then
  echo "unexpected stderr:"; head -40 "$work/stderr"; fail=1
fi
exit $fail
