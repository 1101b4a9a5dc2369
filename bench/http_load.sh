#!/usr/bin/env bash
# Load test of the HTTP host: 200 page requests from 8 concurrent clients (each its
# own browser session) on the sample application, over loopback only. Bounded in
# count and time; fails on any answer other than 200; prints requests per second.
#   bench/http_load.sh [VANTREL_BINARY] [APP_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
VANTREL="${1:-build/vantrel}"
APP="${2:-demo}"
REQUESTS=200
CLIENTS=8
LIMIT_SECONDS=120

tmp="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -TERM "$pid"; wait "$pid" || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

"$VANTREL" serve --app "$APP" --bind 127.0.0.1 --port 0 >"$tmp/out" 2>"$tmp/err" &
pid=$!
for _ in $(seq 1 200); do
  grep -q '?k=' "$tmp/out" 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || { cat "$tmp/err" >&2; exit 1; }
  sleep 0.1
done
address="$(grep -o 'http://127\.0\.0\.1:[0-9]*/?k=[0-9a-f]*' "$tmp/out" | head -1)"
[ -n "$address" ] || { echo "no address printed" >&2; exit 1; }
base="${address%%/?k=*}"
key="${address##*k=}"
page="$base/navigate?k=$key&url=http%3A%2F%2FSelect%5CIndex.qsp"

per=$((REQUESTS / CLIENTS))
start=$(date +%s.%N)
for c in $(seq 1 "$CLIENTS"); do
  args=()
  for _ in $(seq 1 "$per"); do args+=(-o /dev/null "$page"); done
  # One curl per client: one cookie jar (one session), connections kept alive.
  timeout "$LIMIT_SECONDS" curl -s --max-time "$LIMIT_SECONDS" -w '%{http_code}\n' \
    -b "$tmp/jar$c" -c "$tmp/jar$c" "${args[@]}" >"$tmp/codes$c" || true &
done
wait $(jobs -p | grep -v "^$pid\$") 2>/dev/null || true
end=$(date +%s.%N)

total=$(cat "$tmp"/codes* | wc -l)
ok=$(cat "$tmp"/codes* | grep -c '^200$' || true)
kill -TERM "$pid"
code=0
wait "$pid" || code=$?
pid=""

awk -v n="$ok" -v s="$start" -v e="$end" -v c="$CLIENTS" \
  'BEGIN { t = e - s; printf "%d requests from %d clients in %.2f s: %.1f requests/s\n", n, c, t, n / t }'
if [ "$total" -ne "$REQUESTS" ] || [ "$ok" -ne "$REQUESTS" ]; then
  echo "FAILED: $ok of $REQUESTS answered 200 ($total answers)" >&2
  exit 1
fi
if [ "$code" -ne 0 ]; then
  echo "FAILED: vantrel serve exited with $code after SIGTERM" >&2
  cat "$tmp/err" >&2
  exit 1
fi
