#!/usr/bin/env bash
# Installs what is missing, builds QTX and runs every test; then builds it again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test once more there
# (QTX_SANITIZE_PASS=0 skips that second pass).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
QTX_BUILD_TYPE=${QTX_BUILD_TYPE:-Debug} ./scripts/build.sh build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

if [ "${QTX_SANITIZE_PASS:-1}" != 0 ]; then
  echo "Again with AddressSanitizer and UndefinedBehaviorSanitizer:"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQTX_SANITIZE=ON \
        -DQTX_BUILD_BENCH=OFF >/dev/null
  cmake --build build-asan -j "$(nproc)"
  cd build-asan
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
fi
