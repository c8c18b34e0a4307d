#!/usr/bin/env bash
# zarn's own instructions per run (valgrind --tool=callgrind, which counts the same on every
# run, unlike time on a shared machine), for typical compile lines against the stand-in tools:
#   1. an automake compile line (depmode gcc3) through gcc mode;
#   2. the same line without gcc mode, in zarn's own words (two-run -MD);
#   3. a gcc-mode link of objects with -L and -l libraries.
# Only zarn's own process is counted, not the tool's. Needs valgrind. Run from the top after
# building into build/ (or BUILD=dir).
set -euo pipefail
build=${BUILD:-build}
top=$PWD
zarn="$top/$build/zarn"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$top/$build/tests/bin:$PATH"
unset LIB INCLUDE STANDIN_LOG ZARN_DEPS ZARN_LAUNCHER
cd "$work"
mkdir -p lib/.deps L1 L2
printf 'int f(void) { return 0; }\n' >lib/calc.c
: >L1/libw.a
: >L2/libv.a

instructions() { # the command's own instruction count, its children left out
    valgrind --tool=callgrind --callgrind-out-file=cg.out "$@" >/dev/null 2>&1
    callgrind_annotate cg.out 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}

automake=(-DHAVE_CONFIG_H -I. -I.. -std=gnu11 -Wall -g -O2 -fPIC -pthread -I lib
    -MT lib/calc.o -MD -MP -MF lib/.deps/calc.Tpo -c -o lib/calc.o lib/calc.c)
echo "automake compile line, gcc mode:      $(instructions "$zarn" --zarngcc "${automake[@]}")"
own=(-DHAVE_CONFIG_H -I. -I.. -g -O2 -Ilib -MT lib/calc.o -MD -MP -MF lib/.deps/calc.Tpo -c
    -o lib/calc.o lib/calc.c)
echo "the same line without gcc mode:       $(instructions "$zarn" "${own[@]}")"
link=(-o app.exe a.o b.o c.o -LL1 -LL2 -lw -lv -lm -lkernel32)
echo "gcc-mode link with -L and -l:         $(instructions "$zarn" --zarngcc "${link[@]}")"
