#!/usr/bin/env bash
# Real builds through zarn, the LLVM adapters and GNU make that used to go silently or loudly
# wrong, each named after its fault:
#   - header names with "$" and "#", which make reads as a variable and a comment;
#   - a generated list file of absolute names, which got the list file's directory in front;
#   - a link whose command line is longer than the system takes;
#   - the C++ library's cached source damaged, or in a cache that cannot be written, or with
#     Debian's archive out of reach (against a cache directory of the test's own, filled from
#     the build's, with a test double of apt-get for the archive).
# The programs then run under Wine, where it is installed.
#
#   build_faults_test.sh ZARN TOOLCHAIN_DIR CMAKE CXX_SOURCE_DIR
set -euo pipefail

zarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
toolchain=$(cd "$2" && pwd)
cmake=$3
cxx_source=$4
fetch_script=$(cd "$(dirname "$0")/../runtime/cxx" && pwd)/fetch_libcxx.sh

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

echo "== the C++ library's cached source: damage found and repaired, local causes named"
if [ ! -f "$cxx_source/manifest" ] || [ ! -x "$toolchain/runtime/cxx/exchange_directories" ]; then
    echo "SKIPPED: the C++ library is not configured, or its source not fetched into $cxx_source"
    exit 0
fi
cache=$work/cache
tree=$cache/llvm-toolchain-14-libcxx
# A test double of apt-get serves Debian's archive: the good tree as the source package holds
# it; unreachable with FAKE_APT=offline; with FAKE_APT=stall, downloading until killed.
archive=$work/archive
mkdir -p "$archive/llvm-toolchain-14_14.0.6" "$work/bin"
cp -R "$cxx_source/libcxx" "$cxx_source/compiler-rt" "$archive/llvm-toolchain-14_14.0.6/"
(cd "$archive" && "$cmake" -E tar cJf llvm-toolchain-14_14.0.6.orig.tar.xz llvm-toolchain-14_14.0.6)
printf 'Version: %s\n' "$(cat "$cxx_source/version")" >"$archive/llvm-toolchain-14_14.0.6-12.dsc"
cat >"$work/bin/apt-get" <<FAKE
#!/bin/sh
case "\$*:\${FAKE_APT:-}" in
*update:offline) echo "W: Failed to fetch http://deb.debian.org/debian/dists/bookworm/InRelease  Temporary failure resolving 'deb.debian.org'" ;;
*:offline) echo "E: Unable to find a source package for llvm-toolchain-14" && exit 100 ;;
*update:*) ;;
*:stall) echo \$\$ >"$work/stalled" && exec sleep 300 ;;
*:*) cp "$archive"/*.orig.tar.xz "$archive"/*.dsc . ;;
esac
FAKE
chmod +x "$work/bin/apt-get"
# The fetch as configure runs it; it becomes the fetch, so it runs in a subshell. With READ_ONLY
# set, the cache directory is a read-only mount for root, whom its mode does not stop.
fetch() {
    [ -z "${READ_ONLY:-}" ] || [ "$(id -u)" != 0 ] ||
        set -- unshare -m sh -c 'mount --bind -o ro "$1" "$1" && shift && exec "$@"' - "$cache"
    PATH="$work/bin:$PATH" exec "$@" sh "$fetch_script" "$tree" "$cmake" \
        "$toolchain/runtime/cxx/exchange_directories" "$work/checked"
}
killed_fetch() { # SIGKILL while it downloads, leaving its temporary directory
    FAKE_APT=stall fetch >/dev/null 2>&1 &
    for _ in $(seq 100); do [ -s "$work/stalled" ] || sleep 0.1; done
    kill -KILL $! && kill "$(cat "$work/stalled")" && rm "$work/stalled"
    ls -d "$cache"/fetch.* >/dev/null || fail "the killed fetch left no temporary directory"
}
# What is done to a whole cache | what the next fetch says (nothing, where empty) | "repaired"
# (status 0, the good tree again) or "named" (status 1, the cause last, the tree untouched)
while IFS='|' read -r what damage said outcome; do
    [ ! -d "$cache" ] || chmod u+w "$cache"
    rm -rf "$cache" && mkdir "$cache" && cp -a "$cxx_source" "$tree"
    sleep 1 # past the check's time granularity
    status=0
    (eval "$damage" && fetch) >"$work/fetch.out" 2>&1 || status=$?
    said=$(eval "echo \"$said\"")
    if [ -n "$said" ]; then grep -qF -- "$said" "$work/fetch.out"; else [ ! -s "$work/fetch.out" ]; fi ||
        fail "$what: the fetch did not say '$said': $(cat "$work/fetch.out")"
    case $outcome:$status in
    repaired:0) diff -r "$cxx_source" "$tree" >/dev/null && [ -z "$(fetch 2>&1)" ] ||
        fail "$what: the tree is not whole again" ;;
    named:1) tail -n 1 "$work/fetch.out" | grep -qF -- "$said" && [ -f "$tree/version" ] ||
        fail "$what: the cause is not the last line, or the tree went" ;;
    *) fail "$what: status $status: $(cat "$work/fetch.out")" ;;
    esac
    [ -z "$(find "$cache" -maxdepth 1 -name 'fetch.*')" ] || fail "$what: a fetch.* stays behind"
    echo "ok: $what"
done <<'ROWS'
no manifest, as in a cache fetched before there were manifests|rm "$tree/manifest"|it has no manifest|repaired
a source file missing|rm "$tree/libcxx/src/string.cpp"|libcxx/src/string.cpp is missing|repaired
a source file the manifest does not name|echo 'int extra;' >"$tree/libcxx/src/extra.cpp"|libcxx/src/extra.cpp is not in the manifest|repaired
a header truncated|truncate -s 100 "$tree/libcxx/include/string"|libcxx/include/string has 100 bytes, not|repaired
a header changed, its size kept|sed -i 's/namespace/NAMESPACE/' "$tree/libcxx/include/vector"|libcxx/include/vector has other contents|repaired
the temporary directory of a fetch killed with SIGKILL|rm "$tree/manifest" && killed_fetch|it has no manifest|repaired
a temporary directory beside a whole tree|mkdir "$cache/fetch.AbC123"||repaired
Debian's archive unreachable|rm "$tree/manifest" && export FAKE_APT=offline|cannot be reached (no network access?): W: Failed to fetch|named
a read-only cache directory|rm "$tree/manifest" && chmod a-w "$cache" && export READ_ONLY=1|cache directory $cache is not writable|named
ROWS
chmod u+w "$cache"
