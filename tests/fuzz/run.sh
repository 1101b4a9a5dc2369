#!/usr/bin/env bash
# Runs one fuzz target: first over every kept regression input (each must pass),
# then for SECONDS seconds from a seed corpus of real templates.
#
# usage: run.sh FUZZER TARGET_NAME SOURCE_DIR SECONDS
# A longer local run: tests/fuzz/run.sh build-fuzz/tests/fuzz/fuzz_clause fuzz_clause . 600
set -u
fuzzer=$1
name=$2
src=$3
seconds=$4
timeout=${FUZZ_TIMEOUT:-2}  # seconds one input may take; raise it on a busy machine
regressions="$src/tests/fuzz/regressions/$name"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts"

if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
  "$fuzzer" -rss_limit_mb=2048 -timeout="$timeout" "$regressions"/* || { echo "a kept regression input fails again"; exit 1; }
fi

# Seeds: the templates of the sample application and of the template cases.
i=0
while IFS= read -r -d '' f; do
  i=$((i + 1))
  case "$name" in
    fuzz_clause) grep -o '<cf[a-z]* [^>]*' "$f" | head -20 | sed 's/^<cf[a-z]* //' > "$work/corpus/seed$i" ;;
    fuzz_query_string) printf 'a=1&b=x%%3Ay&c=%%253A+d&flag' > "$work/corpus/seed$i" ;;
    *) head -c 4096 "$f" > "$work/corpus/seed$i" ;;
  esac
done < <(find "$src/demo" "$src/tests/templates" -name '*.qsp' -print0 -o -name '*.cfm' -print0 2>/dev/null)

"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout="$timeout" -max_len=8192 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" > "$work/log" 2>&1
rc=$?
if [ $rc != 0 ]; then
  tail -30 "$work/log"
  mkdir -p "$regressions"
  for a in "$work"/artifacts/*; do [ -f "$a" ] && cp "$a" "$regressions/" && echo "kept $(basename "$a") in $regressions"; done
  exit 1
fi
grep -E '^Done|#[0-9]+.*DONE' "$work/log" | tail -1
echo "$name: no findings in ${seconds}s"
