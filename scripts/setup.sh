#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, when missing,
# then configures and builds into build/. Sourced by run.sh and test.sh.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SR_BUILD_DIR:-$ROOT/build}"

PACKAGES=(build-essential cmake git pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-odbc
          libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev unixodbc-dev tdsodbc
          libsqliteodbc clang-format xvfb xauth poppler-utils libgl-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}" \
        || { $SUDO apt-get update && $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; }
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j"$(nproc)" "$@"
