#!/usr/bin/env bash
# Builds the sample project through zarn and the LLVM adapters with sccache as the compiler
# launcher (ZARN_LAUNCHER=sccache): a second build from clean takes every compile from the
# cache, the programs run as without the launcher, and the dependency files of both ways are
# the same as without it, also where the cache already holds the same compiles made the other
# way; a launcher of several words ("env VAR=1 sccache") does the same. The test runs a server
# of its own, on a free port with a cache directory of its own, and stops it. Then the same with
# ccache (ZARN_LAUNCHER=ccache), in direct and in depend mode, where a ccache from 4.10 on is at
# hand: on PATH, or trixie's, fetched into zarn's cache directory by fetch_ccache.sh; skipped
# where neither can be had.
#
#   compiler_cache_test.sh ZARN TOOLCHAIN_DIR SAMPLE_DIR CACHE_DIR
set -euo pipefail

zarn=$1
toolchain=$2
sample=$3
cache_dir=${4:-${XDG_CACHE_HOME:-$HOME/.cache}/zarn}
tests=$(cd "$(dirname "$0")" && pwd)

source "$(dirname "$0")/common.sh"

command -v sccache >/dev/null || fail "sccache is not installed (Debian package sccache)"

make_work_directory compiler-cache
stop_cache() {
    if [ -n "${SCCACHE_SERVER_PORT:-}" ]; then
        sccache --stop-server >/dev/null 2>&1 || true
    fi
    remove_work_directory
}
trap stop_cache EXIT

# Nothing of the caller's sccache set-up: no configuration file, no shared storage.
while read -r name; do unset "$name"; done < <(env | sed -n 's/^\(SCCACHE_[A-Z_]*\)=.*/\1/p')
export SCCACHE_DIR=$work/cache SCCACHE_CONF=$work/no-config
# Should the test be killed, the server ends by itself once idle this long (seconds).
export SCCACHE_IDLE_TIMEOUT=300
for attempt in $(seq 20); do
    export SCCACHE_SERVER_PORT=$((20000 + RANDOM % 40000))
    sccache --start-server >"$work/server.out" 2>&1 && break
    # Taken: that server is someone else's, so it is not ours to stop.
    unset SCCACHE_SERVER_PORT
done
[ -n "${SCCACHE_SERVER_PORT:-}" ] || fail "sccache found no free port: $(cat "$work/server.out")"

cp -R "$sample" "$work/sample"
cd "$work/sample"
export PATH="$toolchain:$PATH"
unset ZARN_LAUNCHER ZARN_DEPS

# A clean build into out/; its dependency files are kept under $work/deps-NAME.
build() { # NAME [VARIABLE=VALUE...]
    local name=$1
    shift
    rm -rf out
    env "$@" make --no-print-directory -j2 CC="$zarn" >"$work/make.out" 2>&1 || {
        cat "$work/make.out"
        fail "the $name build failed"
    }
    mkdir "$work/deps-$name"
    (cd out && find . -name '*.d' -exec cp --parents {} "$work/deps-$name" \;)
}

# "HITS MISSES" of the compiles since the counters were last zeroed.
cache_counts() {
    sccache --show-stats | awk '/^Cache hits +[0-9]+$/ { hits = $3 }
        /^Cache misses +[0-9]+$/ { misses = $3 } END { print hits + 0, misses + 0 }'
}

same_dependency_files() { # NAME
    local file
    for file in $(cd "$work/deps-plain" && find . -name '*.d' | sort); do
        cmp -s "$work/deps-plain/$file" "$work/deps-$1/$file" ||
            fail "$file differs with the launcher ($1): $(diff "$work/deps-plain/$file" \
                "$work/deps-$1/$file")"
    done
}

compiles=5
echo "== without the launcher"
build plain
cp out/app.exe out/greet.dll "$work"

echo "== with the launcher, twice from clean, -MD in two runs (ZARN_DEPS=lines)"
# The preprocessing runs go round the launcher: only the compiles are counted.
sccache --zero-stats >/dev/null
build cold ZARN_LAUNCHER=sccache ZARN_DEPS=lines
counts=$(cache_counts)
[ "$counts" = "0 $compiles" ] || fail "the first build: hits and misses $counts, not 0 $compiles"
sccache --zero-stats >/dev/null
build warm ZARN_LAUNCHER=sccache ZARN_DEPS=lines
counts=$(cache_counts)
[ "$counts" = "$compiles 0" ] ||
    fail "the second build: hits and misses $counts, not $compiles 0"
echo "the second build took all $compiles compiles from the cache"
same_dependency_files cold
same_dependency_files warm

echo "== with a launcher of several words, as CMake's launcher lists give them"
sccache --zero-stats >/dev/null
build words "ZARN_LAUNCHER=env ZARN_LAUNCHER_WORD=1 sccache" ZARN_DEPS=lines
[ "$(cache_counts)" = "$compiles 0" ] || fail "through env: hits and misses $(cache_counts)"
same_dependency_files words

echo "== with the launcher, dependencies from the include notes (its default)"
# The cache holds these compiles made without notes: a hit on them would bring none.
sccache --zero-stats >/dev/null
build notes-cold ZARN_LAUNCHER=sccache
counts=$(cache_counts)
[ "$counts" = "0 $compiles" ] ||
    fail "the first build with notes: hits and misses $counts, not 0 $compiles"
sccache --zero-stats >/dev/null
build notes-warm ZARN_LAUNCHER=sccache
counts=$(cache_counts)
[ "$counts" = "$compiles 0" ] ||
    fail "the second build with notes: hits and misses $counts, not $compiles 0"
same_dependency_files notes-cold
same_dependency_files notes-warm
echo "the dependency files of both ways are those made without the launcher"

echo "== ccache"
# "MAJOR MINOR" of the ccache given, nothing if it does not run.
ccache_version() {
    "$1" --version 2>/dev/null | sed -n '1s/^ccache version \([0-9]*\)\.\([0-9]*\).*/\1 \2/p'
}
ccache_usable() { # PROGRAM: from 4.10 on, the first that takes cl.exe's /Tc and /Tp
    local version major minor
    version=$(ccache_version "$1")
    [ -n "$version" ] || return 1
    major=${version% *} minor=${version#* }
    [ "$major" -gt 4 ] || { [ "$major" -eq 4 ] && [ "$minor" -ge 10 ]; }
}
ccache_dir=
if command -v ccache >/dev/null && ccache_usable ccache; then
    ccache_dir=$(dirname "$(command -v ccache)")
elif ccache_dir=$(sh "$tests/fetch_ccache.sh" "$cache_dir" 2>"$work/fetch.err") &&
    ccache_usable "$ccache_dir/ccache"; then
    :
else
    on_path=$( (ccache --version 2>/dev/null || echo none) | head -n 1)
    echo "SKIPPED ccache: none from 4.10 on is on PATH ($on_path), and trixie's could not be" \
        "fetched into $cache_dir: $(tail -n 3 "$work/fetch.err")"
    ccache_dir=
fi
if [ -n "$ccache_dir" ]; then
    # Nothing of the caller's ccache set-up; cl.exe is Microsoft's compiler (from 4.13.3 on
    # ccache needs telling); the compiler's banner keys the cache, so a new clang-cl is noticed.
    while read -r name; do unset "$name"; done < <(env | sed -n 's/^\(CCACHE_[A-Z_]*\)=.*/\1/p')
    : >"$work/ccache.conf"
    export CCACHE_CONFIGPATH=$work/ccache.conf CCACHE_COMPILERTYPE=msvc \
        CCACHE_COMPILERCHECK=%compiler%
    echo "$("$ccache_dir/ccache" --version | head -n 1) from $ccache_dir"
    # "HITS MISSES" of the compiles since the counters were last zeroed.
    ccache_counts() {
        "$ccache_dir/ccache" --print-stats | awk '$1 ~ /^(direct|preprocessed)_cache_hit$/ { hits += $2 }
            $1 == "cache_miss" { misses = $2 } END { print hits + 0, misses + 0 }'
    }
    for mode in direct depend; do
        export CCACHE_DIR=$work/ccache-$mode
        unset CCACHE_DEPEND
        [ $mode = direct ] || export CCACHE_DEPEND=1
        for round in cold warm; do
            "$ccache_dir/ccache" --zero-stats >/dev/null || fail "ccache --zero-stats failed"
            build ccache-$mode-$round ZARN_LAUNCHER=ccache PATH="$ccache_dir:$PATH"
            counts=$(ccache_counts)
            expected="0 $compiles"
            [ $round = cold ] || expected="$compiles 0"
            [ "$counts" = "$expected" ] ||
                fail "ccache, $mode mode, $round: hits and misses $counts, not $expected"
            same_dependency_files ccache-$mode-$round
        done
        echo "$mode mode: the second build took all $compiles compiles from the cache," \
            "the same dependency files"
    done
    cp -R out "$work/ccache-out"
fi

echo "== run"
if [ ! -x "$wine" ]; then
    echo "SKIPPED running out/app.exe: $wine is not installed (Debian package wine64)"
    exit 0
fi
start_wine_server
run_app() { # DIRECTORY
    local status=0
    (cd "$1" && WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" ./app.exe "notes file.txt" 5 \
        >"$work/run.out" 2>"$work/run.err") || status=$?
    echo "$status $(tr -d '\r' <"$work/run.out")"
}
expected=$(run_app "$work")
[[ "$expected" == "5 sum=15 "* ]] ||
    fail "the program built without the launcher: $expected $(cat "$work/run.err")"
actual=$(run_app out)
[ "$actual" = "$expected" ] ||
    fail "the program built from the cache printed '$actual', not '$expected'"
echo "the program built from the cache runs as the one built without it: '$actual'"
if [ -d "$work/ccache-out" ]; then
    actual=$(run_app "$work/ccache-out")
    [ "$actual" = "$expected" ] ||
        fail "the program built from ccache's cache printed '$actual', not '$expected'"
    echo "and so does the one built from ccache's"
fi
