#!/usr/bin/env bash
# Real builds through zarn, the LLVM adapters and GNU make that used to go silently or loudly
# wrong, each named after its fault:
#   - header names with "$" and "#", which make reads as a variable and a comment;
#   - a generated list file of absolute names, which got the list file's directory in front;
#   - a link whose command line is longer than the system takes.
# The programs then run under Wine, where it is installed.
#
#   build_faults_test.sh ZARN TOOLCHAIN_DIR
set -euo pipefail

zarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
toolchain=$(cd "$2" && pwd)

source "$(dirname "$0")/common.sh"

[ -f "$toolchain/runtime/lib/libcmt.lib" ] ||
    fail "the C runtime is not built in $toolchain/runtime (needs LLVM and libwine-dev)"

make_work_directory faults
cd "$work"
export PATH="$toolchain:$(dirname "$zarn"):$PATH"
unset LIB INCLUDE ZARN_DEPS

# Runs the program under Wine and checks what it prints; says so when Wine is missing.
runs_and_prints() {
    local program=$1 expected=$2 output
    if [ ! -x "$wine" ]; then
        echo "SKIPPED running $program: $wine is not installed (Debian package wine64)"
        return
    fi
    [ -d "$wine_prefix" ] || start_wine_server
    output=$(WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" "$program" 2>"$work/wine.err" |
        tr -d '\r') || fail "$program failed: $(cat "$work/wine.err")"
    [ "$output" = "$expected" ] || fail "$program printed '$output', not '$expected'"
    echo "$program printed '$expected'"
}

echo '== header names with "$" and "#", through make, with two compiler runs and with one'
mkdir -p 'src/my$dir' 'src/C#lib'
printf '#define CFG 40\n' >'src/my$dir/cfg.h'
printf '#define X 2\n' >'src/C#lib/x.h'
cat >src/main.c <<'SOURCE'
#include "my$dir/cfg.h"
#include "C#lib/x.h"
#include <stdio.h>
int main(void) { printf("%d\n", CFG + X); return 0; }
SOURCE
cat >Makefile <<'MAKEFILE'
all: out/prog.exe
out/%.obj: src/%.c
	@mkdir -p $(@D)
	zarn -c $< -o $@ -MD -MT $@ -MF $(@:.obj=.d) -MP
out/prog.exe: out/main.obj
	zarn $^ -o $@
-include out/main.d
MAKEFILE
nothing_to_do() {
    local output
    output=$(make 2>&1) || fail "make failed: $output"
    [ "$output" = "make: Nothing to be done for 'all'." ] || fail "make did something: $output"
}
for mode in two one; do
    rm -rf out
    [ $mode = one ] && export ZARN_DEPS=showincludes
    make >make.log 2>&1 || fail "the first make failed: $(cat make.log)"
    grep -qF 'src/my$$dir/cfg.h' out/main.d || fail "out/main.d: $(cat out/main.d)"
    grep -qF 'src/C\#lib/x.h' out/main.d || fail "out/main.d: $(cat out/main.d)"
    nothing_to_do
    for header in 'src/my$dir/cfg.h' 'src/C#lib/x.h'; do
        sleep 1 # past the file system's time granularity
        touch "$header"
        make >make.log 2>&1 || fail "make after touching $header failed: $(cat make.log)"
        grep -q 'zarn -c src/main.c' make.log || fail "touching $header rebuilt nothing"
        nothing_to_do
    done
    unset ZARN_DEPS
    echo "$mode run(s): each header's touch rebuilds main.obj, and a second make is idle"
done
runs_and_prints out/prog.exe 42

echo "== a list file of absolute names, as find \$PWD writes it"
mkdir -p lists objs
printf 'int part(void) { return 7; }\n' >objs/part.c
printf '#include <stdio.h>\nint part(void);\nint main(void) { printf("part %%d\\n", part()); return 0; }\n' >objs/use.c
zarn -c objs/part.c -o objs/part.obj
zarn -c objs/use.c -o objs/use.obj
find "$PWD/objs" -name '*.obj' | sort >lists/objs.lst
zarn lists/objs.lst -o absolute.exe >link.log 2>&1 || fail "the link failed: $(cat link.log)"
runs_and_prints absolute.exe 'part 7'

echo "== a link whose command line is longer than the system takes"
printf 'static int unused;\n' >nothing.c
zarn -c nothing.c -o nothing.obj
long=$(printf 'd%.0s' $(seq 150))
mkdir "$long"
{
    for _ in $(seq 15000); do echo "$PWD/$long/../nothing.obj"; done
    echo "$PWD/objs/part.obj"
    echo "$PWD/objs/use.obj"
} >many.lst
started=$(date +%s%N)
zarn --zarndbg many.lst -o many.exe >link.log 2>&1 || fail "the long link failed: $(tail -c 2000 link.log)"
echo "linked $(wc -l <many.lst) objects ($(wc -c <many.lst) bytes of names) in $((($(date +%s%N) - started) / 1000000)) ms"
grep -q '^Invoking external process: ``link.exe @' link.log || fail "no response file was used"
leftovers=$(find "${TMPDIR:-/tmp}" -maxdepth 1 -newer many.lst -name 'zarn-*.rsp' 2>/dev/null)
[ -z "$leftovers" ] || fail "response files left behind: $leftovers"
runs_and_prints many.exe 'part 7'
