#!/usr/bin/env bash
# Checks that every C++ source under src/, helper/ and tests/ is formatted by the project's
# .clang-format; prints the places that are not. `--fix` reformats them instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/install-missing.sh"
install_missing clang-format
cd "$root"
mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'helper/*.cpp' 'helper/*.h' \
                                     'tests/*.cpp' 'tests/*.h')
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${sources[@]}"
else
    clang-format --dry-run -Werror "${sources[@]}"
    echo "formatting: ${#sources[@]} files as .clang-format says"
fi
