#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as the committed
# .clang-format says, and names the lines that differ. Fix with:
#   clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' | xargs -0 clang-format --dry-run --Werror
