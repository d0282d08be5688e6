#!/usr/bin/env bash
# Builds the program (Release) and starts it. Needs a graphical session.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
ensure_packages "${app_packages[@]}"
configure_and_build build/release -DCMAKE_BUILD_TYPE=Release
exec build/release/bin/timber-joist "$@"
