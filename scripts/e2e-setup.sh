#!/usr/bin/env bash
# Installs what the end-to-end tests of `vantrel serve` need, idempotently: Debian's
# chromium, Node.js and npm when missing, and the pinned playwright-core in
# tests/e2e (no browser download: the tests drive /usr/bin/chromium). Runs as root
# or through sudo; nothing is fetched when everything is in place.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
[ -x /usr/bin/chromium ] || missing+=(chromium)
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cd tests/e2e
wanted=$(node -p "require('./package.json').devDependencies['playwright-core']")
installed=$(node -p "try { require('./node_modules/playwright-core/package.json').version } catch (e) { '' }")
if [ "$wanted" != "$installed" ]; then
  echo "Installing playwright-core $wanted"
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
fi
