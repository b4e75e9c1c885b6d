#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite with
# warnings as errors and the benchmarks built, the window tests again on an X
# screen with a window manager (with the real program's placement round trip,
# also without one, and month browsing), the core's tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every fuzz
# target (TAMCAL_FUZZ_SECONDS each, default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DTAMCAL_WERROR=ON -DTAMCAL_BENCH=ON
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build --output-on-failure --timeout 300
scripts/desktop.sh build/tests/widgets/test_widgets
scripts/desktop.sh build/tests/forms/test_forms
scripts/desktop.sh tests/desktop/placement_roundtrip.sh build/bin/tamcal
scripts/desktop.sh --no-wm tests/desktop/placement_roundtrip.sh build/bin/tamcal
scripts/desktop.sh tests/desktop/browse_months.sh build/bin/tamcal
scripts/build.sh build-asan -DTAMCAL_SANITIZE=ON -DTAMCAL_GUI=OFF -DTAMCAL_BENCH=OFF \
    -DTAMCAL_WERROR=ON
ctest --test-dir build-asan --output-on-failure --timeout 300
scripts/fuzz.sh "${TAMCAL_FUZZ_SECONDS:-20}"
