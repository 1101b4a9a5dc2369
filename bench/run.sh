#!/usr/bin/env bash
# Runs every benchmark and prints the table (see bench/README.md).
#
#   bench/run.sh [--quick] [--rounds N] [--baseline OLD_VANTREL] [--skip php,jinja2,ejs]
#
# Installs what it needs (Debian packages for the build and the peers, npm packages
# in bench/node), builds a Release engine and the floor renderer in build-bench (or
# $BENCH_BUILD), makes the databases from bench/sql, and measures. A peer that
# cannot be installed is reported as skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BENCH_BUILD:-$ROOT/build-bench}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The project's own build and test packages.
scripts/deps.sh

# The peers: PHP with PDO SQLite, Jinja2 for Debian's Python, Node with npm, and the
# measuring tools. Failing to install one only skips that peer.
want=(time php-cli php-sqlite3 python3 python3-jinja2 nodejs npm)
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A Node that did not come from Debian's package counts as present.
if command -v node >/dev/null && command -v npm >/dev/null; then
  kept=()
  for p in "${missing[@]}"; do [ "$p" = nodejs ] || [ "$p" = npm ] || kept+=("$p"); done
  missing=("${kept[@]+"${kept[@]}"}")
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench: installing ${missing[*]}" >&2
  { $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"; } >&2 ||
    echo "bench: some packages could not be installed; their peers are skipped" >&2
fi
if command -v npm >/dev/null && [ ! -d bench/node/node_modules/better-sqlite3/build/Release ]; then
  echo "bench: npm install in bench/node (builds better-sqlite3 from source when no prebuilt binary is reachable)" >&2
  # Node's headers come with the installed Node, so node-gyp needs nothing from outside.
  nodedir=$(dirname "$(dirname "$(command -v node)")")
  (cd bench/node && npm_config_nodedir="$nodedir" npm install --no-audit --no-fund >&2) ||
    echo "bench: npm install failed; the EJS peer is skipped" >&2
fi

# A plain Release build of the engine and the floor, without the desktop window: the
# command-line host renders the pages, and a process that maps the GUI libraries
# would start every measurement with tens of megabytes more resident memory.
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVANTREL_BENCH=ON -DVANTREL_DESKTOP=OFF >/dev/null
cmake --build "$BUILD" -j2 --target vantrel vantrel_bench_floor >&2

exec /usr/bin/python3 bench/bench.py --engine "$BUILD/vantrel" --floor "$BUILD/bench/vantrel_bench_floor" \
  --work "$BUILD/bench-work" "$@"
