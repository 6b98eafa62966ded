#!/usr/bin/env bash
# Mutation testing of the portable code against the native unit tests:
# prints the score per file and in total. Builds build/mutate (clang, no
# sanitizers) first; any other arguments go to tools/mutate.py.
#   ./mutate.sh                    # a seeded sample of 40 mutants per file
#   ./mutate.sh --all FILE...      # every mutant of the files named
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh

BUILD="$TAVRIK_ROOT/build/mutate"
tavrik_step "Packages"
tavrik_require_packages

tavrik_step "Configure (native, plain)"
CC=clang CXX=clang++ cmake -S native -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE= -DTAVRIK_PLAIN=ON >/dev/null

tavrik_step "Mutants"
exec python3 tools/mutate.py --build "$BUILD" "$@"
