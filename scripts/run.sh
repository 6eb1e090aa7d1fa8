#!/usr/bin/env bash
# Builds the program and starts it on the embedded demo database (created on first run).
# Extra arguments go to the program, e.g. --database DIR or --odbc "DRIVER={FreeTDS};...".
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh" --target stockrequest stockrequest-sql
exec "${SR_BUILD_DIR:-$ROOT/build}/src/stockrequest" "$@"
