#!/usr/bin/env bash
# gcc-style builds through "zarn --zarngcc", the LLVM adapters and the C runtime, with nothing
# set but PATH:
#   - an autotools project (a lib*.a library, a program, make check under Wine, and a test of
#     what a mingw-hosted project expects: declaration checks, dirent.h, sys/time.h, POSIX
#     types, a resource compiled by zarn-windres through a suffix rule, intrinsics), then the
#     same project with its library built by libtool and linker options in LDFLAGS: configure's
#     answers (objects named ".o"), a header touch that rebuilds exactly what includes the
#     header, a second make with nothing to do, and the programs' stack reserve;
#   - a plain Makefile with make's own rules and CFLAGS=-Wall -O2 -MD -MP, "-I DIR" with a
#     blank, and "-E -o FILE";
#   - gcc's meaning of library search, whole archives, exceptions, -static, -MMD -o, several
#     sources compiled at once, and GNU ld's stack.
#
#   gcc_mode_test.sh ZARN TOOLCHAIN_DIR PROJECT_DIR
set -euo pipefail

zarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
toolchain=$(cd "$2" && pwd)
project=$(cd "$3" && pwd)

source "$(dirname "$0")/common.sh"

[ -f "$toolchain/runtime/lib/libcmt.lib" ] ||
    fail "the C runtime is not built in $toolchain/runtime (needs LLVM and libwine-dev)"
for tool in autoreconf automake libtoolize; do
    if ! command -v $tool >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages autoconf, automake, libtool)"
        exit 77
    fi
done
if [ ! -x "$wine" ]; then
    echo "SKIPPED: $wine is not installed (Debian package wine64), which make check needs"
    exit 77
fi

make_work_directory gcc-mode
start_wine_server
export PATH="$toolchain:$(dirname "$zarn"):/usr/bin:/bin"
unset LIB INCLUDE ZARN_DEPS CC CFLAGS CPPFLAGS LDFLAGS LIBS

# Runs the program under Wine and checks what it prints.
runs_and_prints() {
    local program=$1 expected=$2 output
    output=$(WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" "$program" 2>"$work/wine.err" |
        tr -d '\r') || fail "$program failed: $(cat "$work/wine.err")"
    [ "$output" = "$expected" ] || fail "$program printed '$output', not '$expected'"
}

# The objects under the directory with their modification times, one per line.
object_times() {
    find . \( -name '*.obj' -o -name '*.o' \) -printf '%p %T@\n' | sort
}

# Touches the header, runs make, and checks that exactly the objects named were compiled again.
rebuilds_exactly() {
    local header=$1 before after changed
    shift
    before=$(object_times)
    sleep 1
    touch "$header"
    make >make.log 2>&1 || fail "make after touching $header failed: $(cat make.log)"
    after=$(object_times)
    changed=$(join <(echo "$before") <(echo "$after") | awk '$2 != $3 {print $1}' | sort | xargs)
    [ "$changed" = "$*" ] || fail "touching $header rebuilt '$changed', not '$*'"
}

nothing_to_do() {
    make V=1 >make.log 2>&1 || fail "a second make failed: $(cat make.log)"
    ! grep -q "zarn --zarngcc" make.log || fail "a second make ran the compiler again: $(cat make.log)"
}

stack_reserve() {
    llvm-readobj --file-headers "$1" | awk '/SizeOfStackReserve/ {print $2}'
}

configure_answers() {
    local answer
    for answer in "option to enable C11 features... -std=gnu11" "dependency style of .*gcc3" \
        "for cos in -lm... yes" "for suffix of object files... o$" \
        "for suffix of executables... .exe" "for windows.h... yes"; do
        grep -q "^checking .*$answer" configure.log ||
            fail "configure did not answer '$answer':$(grep '^checking' configure.log)"
    done
}

build_autotools_project() {
    local variant=$1
    shift
    echo "== the autotools project, $variant"
    mkdir "$work/$variant"
    cd "$work/$variant"
    cp -R "$project/lib" "$project/src" "$project/tests" "$project/$variant/." .
    autoreconf -fi >autoreconf.log 2>&1 || fail "autoreconf failed: $(cat autoreconf.log)"
    ./configure --host=x86_64-w64-mingw32 CC="zarn --zarngcc" AR=llvm-ar RANLIB=llvm-ranlib \
        "$@" >configure.log 2>&1 || fail "configure failed: $(cat configure.log config.log)"
    configure_answers
    make >make.log 2>&1 || fail "make failed: $(cat make.log)"
    WINEPREFIX=$wine_prefix WINEDEBUG=-all make check LOG_COMPILER="$wine" >check.log 2>&1 ||
        fail "make check failed: $(cat check.log tests/*.log)"
    grep -q '^PASS: tests/test_calc' check.log || fail "make check passed nothing: $(cat check.log)"
    runs_and_prints src/app.exe "sum=5 hypot=5 c11=1"
    rebuilds_exactly lib/round.h ./lib/calc.o
    # make alone leaves the test program to make check.
    rebuilds_exactly lib/calc.h ./lib/calc.o ./src/app.o
    nothing_to_do
}

build_autotools_project plain WINDRES=zarn-windres
echo "== what a mingw-hosted project expects: configure's answers and tests/test_mingw"
for answer in "for sys/time.h... yes" "for gettimeofday... yes" "whether strchr is declared... yes" \
    "whether strlcpy is declared... no" "for mode_t... yes" "for ssize_t... yes" "for pid_t... yes"; do
    grep -q "^checking $answer" "$work/plain/configure.log" ||
        fail "configure did not answer '$answer':$(grep '^checking' "$work/plain/configure.log")"
done
grep -q '^PASS: tests/test_mingw' "$work/plain/check.log" ||
    fail "tests/test_mingw did not pass: $(cat "$work/plain/check.log" "$work"/plain/tests/*.log)"
[ "$(stack_reserve "$work/plain/src/app.exe")" = 2097152 ] ||
    fail "app.exe reserves $(stack_reserve "$work/plain/src/app.exe") bytes of stack, not GNU ld's"
# libtool hands the linker's options on without "-Wl,".
build_autotools_project libtool --disable-shared LD=link.exe NM=llvm-nm \
    LDFLAGS="-Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va -Wl,--stack,4194304"
[ "$(stack_reserve "$work/libtool/src/app.exe")" = 4194304 ] ||
    fail "libtool's -Wl,--stack gave $(stack_reserve "$work/libtool/src/app.exe") bytes, not 4194304"

echo "== a plain Makefile: make's own rules, -I DIR, -MD -MP without -MT, -E -o"
mkdir "$work/plain-make"
cd "$work/plain-make"
mkdir inc
printf '#define GREETING "hello"\n' >inc/greeting.h
printf '#include <stdio.h>\n#include "greeting.h"\nint main(void) { puts(GREETING); return 0; }\n' \
    >main.c
printf 'int unused;\n' >other.c
cat >Makefile <<'MAKEFILE'
CC = zarn --zarngcc
CFLAGS = -Wall -O2 -MD -MP
CPPFLAGS = -I inc
app.exe: main.o other.o
	$(CC) -o $@ $^
main.i: main.c
	$(CC) $(CPPFLAGS) -E -o $@ main.c
-include main.d other.d
MAKEFILE
make >make.log 2>&1 || fail "make failed: $(cat make.log)"
grep -q '^main.o:' main.d || fail "main.d names no target main.o: $(cat main.d)"
grep -q '^inc/greeting.h:$' main.d || fail "main.d has no empty rule for its header: $(cat main.d)"
runs_and_prints app.exe hello
rebuilds_exactly inc/greeting.h ./main.o
make main.i >make.log 2>&1 || fail "make main.i failed: $(cat make.log)"
grep -q 'puts("hello")' main.i || fail "main.i holds no preprocessed text: $(head -c 400 main.i)"
printf '#include "missing.h"\n' >broken.c
if zarn --zarngcc -E -o broken.i broken.c >/dev/null 2>&1; then
    fail "preprocessing a missing header succeeded"
fi
[ ! -e broken.i ] || fail "a failed -E -o left broken.i behind"

echo "== gcc's meaning: library search, whole archives, exceptions through C, -static, -MMD -o"
mkdir "$work/meaning"
cd "$work/meaning"
mkdir L1 L2 lib
# Returns the status the program ends with under Wine.
status_of() {
    local status=0
    WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" "$1" >/dev/null 2>"$work/wine.err" || status=$?
    echo "$status"
}
expect_status() {
    local what=$1 program=$2 expected=$3 got
    got=$(status_of "$program")
    [ "$got" = "$expected" ] || fail "$what: $program ended with $got, not $expected"
}
for n in 1 2 9; do
    printf 'int w(void) { return %s; }\n' $n >w$n.c
done
# gcc's object names, several sources in one command.
zarn --zarngcc -c w1.c w2.c w9.c
llvm-ar rc L1/libw.a w1.o && llvm-ar rc L2/libw.a w2.o && llvm-ar rc libw.a w9.o
printf 'int w(void);\nint main(void) { return w(); }\n' >m.c
zarn --zarngcc -o m1.exe m.c -LL1 -LL2 -lw && expect_status "-L in order" m1.exe 1
zarn --zarngcc -o m2.exe m.c -lw -LL1 && expect_status "-L after -l" m2.exe 1
printf 'extern int registered;\nstruct R { R() { registered = 42; } } r;\n' >reg.cpp
printf 'int registered;\nint main() { return registered; }\n' >main.cpp
zarn --zarngcc -c reg.cpp -o reg.o && llvm-ar rc libreg.a reg.o
zarn --zarngcc -o whole.exe main.cpp -Wl,--whole-archive libreg.a -Wl,--no-whole-archive &&
    expect_status "--whole-archive" whole.exe 42
printf 'void call_back(void (*f)(void)) { f(); }\n' >cb.c
cat >throw.cpp <<'CXX'
#include <stdexcept>
extern "C" void call_back(void (*f)(void));
static void thrower() { throw std::runtime_error("through C"); }
int main() {
    try {
        call_back(thrower);
    } catch (const std::exception&) {
        return 7;
    }
    return 1;
}
CXX
zarn --zarngcc -O2 -o throw.exe throw.cpp cb.c && expect_status "an exception through C" throw.exe 7
printf '__declspec(dllexport) int foo(void) { return 5; }\n' >foo_dll.c
printf 'int foo(void) { return 6; }\n' >foo_static.c
zarn --zarngcc -shared -o foo.dll foo_dll.c -Wl,--out-implib,lib/libfoo.dll.a
zarn --zarngcc -c foo_static.c -o foo_static.o && llvm-ar rc lib/libfoo.a foo_static.o
rm foo.dll
printf 'int foo(void);\nint main(void) { return foo(); }\n' >use_foo.c
zarn --zarngcc -static -o use_foo.exe use_foo.c -Llib -lfoo -lpthread -ldl -lrt &&
    expect_status "-static" use_foo.exe 6
printf '#define V 3\n' >prog.h
printf '#include <stdio.h>\n#include "prog.h"\nint main(void) { return V; }\n' >prog.c
printf 'prog.exe: prog.c\n\tzarn --zarngcc -MMD -o $@ prog.c\n-include prog.d\n' >Makefile
make >make.log 2>&1 || fail "make failed: $(cat make.log)"
[ "$(head -n 1 prog.d)" = "prog.exe: \\" ] || fail "prog.d names another target: $(cat prog.d)"
! grep -q runtime/include prog.d || fail "-MMD listed the toolchain's own headers: $(cat prog.d)"
sleep 1
printf '#define V 4\n' >prog.h
make >make.log 2>&1 || fail "make after a header change failed: $(cat make.log)"
expect_status "-MMD -o, a header changed" prog.exe 4

# GNU ld's 2 MiB of stack, where link.exe reserves 1 MiB.
cat >stack.c <<'C'
#include <string.h>
int main(int argc, char **argv) {
    volatile char big[1536 * 1024];
    memset((char *)big, argc, sizeof big);
    return big[argc * 1000] - argc;
}
C
zarn --zarngcc -o stack.exe stack.c && expect_status "a frame of 1.5 MiB" stack.exe 0

echo "gcc mode builds: autotools, libtool and a plain Makefile"
