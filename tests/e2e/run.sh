#!/usr/bin/env bash
# CTest entry of the end-to-end tests: installs what is missing, then runs the
# tests against the given vantrel binary.
#   tests/e2e/run.sh path/to/vantrel
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 VANTREL_BINARY" >&2
  exit 2
fi
VANTREL_BIN="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
"$here/../../scripts/e2e-setup.sh"
cd "$here"
VANTREL_BIN="$VANTREL_BIN" exec node --test serve.test.mjs
