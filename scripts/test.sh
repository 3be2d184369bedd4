#!/usr/bin/env bash
# Installs what is missing, builds QTX and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
QTX_BUILD_TYPE=${QTX_BUILD_TYPE:-Debug} ./scripts/build.sh build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
