#!/usr/bin/env bash
# Builds a small C and C++ project (-Wall -Werror -funsigned-char, C++ exceptions, -MD -MP as
# automake writes them) through distcc with zarn in gcc mode, against a plain build in the same
# directory: every compile goes to the distccd the test runs (its own and distcc's logs say so),
# the dependency files are byte-equal, the objects equal bar the COFF time stamp and the names
# clang-cl gives what an anonymous namespace holds (a hash of the name of the file it compiles,
# the server's temporary one), the programs print the same under wine64, and with -g the debug
# information names the client's sources. distccd listens on 127.0.0.1 on a free port, as
# nobody when the test runs as root, and is stopped at the end.
#
#   distcc_test.sh ZARN TOOLCHAIN_DIR PROJECT_DIR
set -euo pipefail

zarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
toolchain=$(cd "$2" && pwd)
project=$(cd "$3" && pwd)

source "$(dirname "$0")/common.sh"

skip() {
    echo "SKIPPED: $*"
    exit 77
}
command -v distcc >/dev/null && command -v distccd >/dev/null ||
    skip "distcc is not installed (Debian package distcc)"
[ -f "$toolchain/runtime/lib/libcmt.lib" ] ||
    fail "the C runtime is not built in $toolchain/runtime (needs LLVM and libwine-dev)"
# The sanitizer and portable builds configure without the C++ library, which the project needs.
[ -f "$toolchain/runtime/lib/libc++.lib" ] ||
    skip "the C++ standard library is not built in $toolchain/runtime"
server_user=()
if [ "$(id -u)" -eq 0 ]; then
    server_user=(--user nobody)
    runuser -u nobody -- test -x "$zarn" ||
        skip "the user nobody, whom distccd runs as, cannot run $zarn (a directory above it is closed)"
fi

make_work_directory distcc
server_pid=
stop_server() {
    if [ -n "$server_pid" ]; then
        # Its workers are in the process group it makes itself.
        kill -TERM -- "-$server_pid" 2>/dev/null || kill -TERM "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    remove_work_directory
}
trap stop_server EXIT

# The server writes its log and temporary files where the user it runs as may.
chmod 755 "$work"
mkdir "$work/server"
[ ${#server_user[@]} -eq 0 ] || chown nobody "$work/server"
echo "$zarn" >"$work/commands"
chmod 644 "$work/commands"

for attempt in $(seq 20); do
    port=$((20000 + RANDOM % 40000))
    rm -f "$work/server/distccd.log"
    DISTCC_CMDLIST=$work/commands DISTCCD_PATH="$toolchain:/usr/bin:/bin" TMPDIR=$work/server \
        distccd --daemon --no-detach --listen 127.0.0.1 --allow 127.0.0.1 --port "$port" \
        "${server_user[@]}" --jobs 4 --log-level info --log-file "$work/server/distccd.log" \
        </dev/null &
    server_pid=$!
    for tick in $(seq 50); do
        grep -qs 'daemon started' "$work/server/distccd.log" && break 2
        kill -0 "$server_pid" 2>/dev/null || break
        sleep 0.1
    done
    # Taken (the log says so) or not started: ours to stop either way.
    kill -TERM -- "-$server_pid" 2>/dev/null || kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
done
[ -n "$server_pid" ] ||
    fail "distccd did not start: $(tail -n 3 "$work/server/distccd.log" 2>/dev/null)"
echo "distccd listens on 127.0.0.1:$port (process $server_pid)"

cp -R "$project" "$work/project"
cd "$work/project"
export PATH="$toolchain:$(dirname "$zarn"):/usr/bin:/bin"
unset LIB INCLUDE ZARN_DEPS ZARN_LAUNCHER CFLAGS CXXFLAGS CPPFLAGS
units="src/tally src/guard src/main"

# distcc's own settings: the test's server alone, no local compile when it fails, no state of
# the caller's.
mkdir "$work/client"
export DISTCC_HOSTS="127.0.0.1:$port/4" DISTCC_DIR=$work/client DISTCC_LOG=$work/client/distcc.log \
    DISTCC_VERBOSE=1 DISTCC_FALLBACK=0 DISTCC_SKIP_LOCAL_RETRY=1 DISTCC_BACKOFF_PERIOD=0
unset DISTCC_POTENTIAL_HOSTS DISTCC_SAVE_TEMPS

build() { # NAME DEBUG_OPTION [COMPILER_PREFIX]
    local name=$1 debug=$2 compiler="${3:+$3 }$zarn --zarngcc" unit
    make --no-print-directory clean >/dev/null
    make --no-print-directory -j4 CC="$compiler" CXX="$compiler" \
        CFLAGS="-O2 $debug -Wall -Werror -funsigned-char" >"$work/make.out" 2>&1 || {
        cat "$work/make.out" "$work/server/distccd.log" 2>/dev/null | tail -n 40
        fail "the $name build failed"
    }
    mkdir "$work/$name"
    for unit in $units; do
        cp "$unit.o" "$unit.d" "$work/$name/"
    done
    cp tally.exe "$work/$name/"
}

# The object as llvm-readobj shows it, less what may differ: the time stamp, and the hash in the
# names of an anonymous namespace's members ("?A0x9AF1669B@"), which clang-cl takes from the
# name of the file it compiles.
object_dump() {
    llvm-readobj --file-headers --sections --section-data --symbols --relocations "$1" |
        sed -e '/^File: /d' -e '/TimeDateStamp:/d' -e 's/?A0x[0-9A-F]*@/?A0x@/g'
}

echo "== plain build, then through distcc"
build plain ""
: >"$work/client/distcc.log"
build distcc "" distcc
# distcc's log: each source preprocessed here and compiled on the server, the link here.
sent=$(grep -c "compile src/[a-z]*\.c[p]* on 127\.0\.0\.1:$port/4 completed ok" \
    "$work/client/distcc.log" || true)
served=$(grep -c 'COMPILE_OK' "$work/server/distccd.log" || true)
[ "$sent" -eq 3 ] && [ "$served" -eq 3 ] || {
    cat "$work/client/distcc.log"
    fail "$sent of 3 compiles were sent and $served served, not all 3"
}
! grep -q "compile src/.* on localhost" "$work/client/distcc.log" ||
    fail "a compile ran locally: $(grep "compile src/.* on localhost" "$work/client/distcc.log")"
echo "all 3 compiles went to distccd"

for unit in $units; do
    name=$(basename "$unit")
    cmp -s "$work/plain/$name.d" "$work/distcc/$name.d" ||
        fail "$name.d differs through distcc: $(diff "$work/plain/$name.d" "$work/distcc/$name.d")"
    differences=$(diff <(object_dump "$work/plain/$name.o") <(object_dump "$work/distcc/$name.o")) ||
        fail "$name.o differs through distcc beyond its time stamp: $(head -n 20 <<<"$differences")"
done
echo "dependency files byte-equal, objects equal bar the time stamp and anonymous namespaces"

echo "== with -g through distcc"
: >"$work/client/distcc.log"
build distcc-g -g distcc
[ "$(grep -c "on 127\.0\.0\.1:$port/4 completed ok" "$work/client/distcc.log")" -eq 3 ] ||
    fail "with -g not every compile went to distccd: $(cat "$work/client/distcc.log")"
# The files the line tables name: the client's, from the root, none in the server's directory.
for unit in $units; do
    name=$(basename "$unit")
    files=$(llvm-readobj --codeview "$work/distcc-g/$name.o" | sed -n 's/^ *Filename: \(.*\) (0x[0-9A-F]*)$/\1/p' | sort -u)
    grep -qx "$work/project/$unit\.c[p]*" <<<"$files" ||
        fail "the debug information of $name.o does not name its source: $files"
    ! grep -v '^/' <<<"$files" | grep -q . && ! grep -q "$work/server\|\\\\" <<<"$files" ||
        fail "the debug information of $name.o names files not as the client has them: $files"
done
echo "the debug information names the client's sources"

echo "== run"
if [ ! -x "$wine" ]; then
    echo "SKIPPED running tally.exe: $wine is not installed (Debian package wine64)"
    exit 0
fi
start_wine_server
run() { # DIRECTORY
    (cd "$1" && WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" ./tally.exe 2>"$work/run.err" |
        tr -d '\r') || fail "$1/tally.exe failed: $(cat "$work/run.err")"
}
expected=$(run "$work/plain")
grep -qx 'cleanup after step -2' <<<"$expected" && grep -qx 'high characters: 2' <<<"$expected" ||
    fail "the plain build's program printed: $expected"
for name in distcc distcc-g; do
    actual=$(run "$work/$name")
    [ "$actual" = "$expected" ] || fail "the $name build's program printed '$actual', not '$expected'"
done
echo "the programs built through distcc print what the plain one does"
