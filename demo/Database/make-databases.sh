#!/usr/bin/env bash
# Creates the sample application's databases from their SQL sources with the
# sqlcipher shell:
#   VantrelKVT.QDB    the catalogue: made again whenever VantrelKVT.sql is newer
#   VantrelLocal.QDB  the local store: made only when missing, so that the
#                     selections a user saved survive a rebuild
# usage: make-databases.sh [--fresh] [FOLDER]
#   FOLDER   where the .QDB files go (default: this script's folder)
#   --fresh  make both anew (tests start from the SQL sources alone)
# Each file is written under a temporary name and renamed into place, so a build
# running at the same time never sees half a database.
set -euo pipefail
src=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fresh=0
if [ "${1:-}" = "--fresh" ]; then fresh=1; shift; fi
dest=${1:-$src}
mkdir -p "$dest"

make_db() {  # make_db NAME
  local sql="$src/$1.sql" db="$dest/$1.QDB"
  local tmp
  tmp=$(mktemp "$dest/.$1.XXXXXX")
  rm -f "$tmp"
  if ! sqlcipher -bail "$tmp" < "$sql" > /dev/null; then
    rm -f "$tmp"
    echo "make-databases: $sql failed" >&2
    exit 1
  fi
  mv -f "$tmp" "$db"
}

if [ $fresh = 1 ] || [ ! -f "$dest/VantrelKVT.QDB" ] || [ "$src/VantrelKVT.sql" -nt "$dest/VantrelKVT.QDB" ]; then
  make_db VantrelKVT
fi
if [ $fresh = 1 ] || [ ! -f "$dest/VantrelLocal.QDB" ]; then
  make_db VantrelLocal
fi
