#!/usr/bin/env bash
# What a compiler cache gives a clean build through zarn and the LLVM adapters: two builds,
#   sample    examples/sample with make -j2 (five compiles, an archive, a DLL and a program)
#   runtime   the C runtime's sources, each compiled through zarn with -MD, make -j2
# each from clean in three ways, in turn, ROUNDS rounds (default 5), and the medians:
#   none      no launcher
#   cold      ZARN_LAUNCHER=sccache with an empty cache
#   warm      ZARN_LAUNCHER=sccache again, every compile in the cache
# and all that for both ways of -MD: two compiler runs (the default) and one
# (ZARN_DEPS=showincludes). The sccache server is the script's own (a free port, a cache
# directory in a scratch directory), started afresh for each cold build and stopped at the
# end. What -MD itself costs a compile is bench/include_notes.sh's subject.
# Run from the top after the README's first command (or BUILD=dir).
set -euo pipefail
build=$(cd "${BUILD:-build}" && pwd)
top=$PWD
rounds=${ROUNDS:-5}
work=$(mktemp -d)
command -v sccache >/dev/null || {
    echo "sccache is not installed (Debian package sccache)" >&2
    exit 1
}

stop_server() {
    if [ -n "${SCCACHE_SERVER_PORT:-}" ]; then
        sccache --stop-server >/dev/null 2>&1 || true
        unset SCCACHE_SERVER_PORT
    fi
}
trap 'stop_server; rm -rf "$work"' EXIT

# Nothing of the caller's sccache set-up: no configuration file, no shared storage.
while read -r name; do unset "$name"; done < <(env | sed -n 's/^\(SCCACHE_[A-Z_]*\)=.*/\1/p')
export SCCACHE_CONF=$work/no-config SCCACHE_IDLE_TIMEOUT=300
unset LIB INCLUDE ZARN_DEPS ZARN_LAUNCHER
export PATH="$build/toolchain:$PATH"

# A server with an empty cache, on a port that is free.
fresh_server() {
    stop_server
    rm -rf "$work/cache"
    export SCCACHE_DIR=$work/cache
    local attempt
    for attempt in $(seq 20); do
        export SCCACHE_SERVER_PORT=$((20000 + RANDOM % 40000))
        sccache --start-server >"$work/server.out" 2>&1 && return 0
        unset SCCACHE_SERVER_PORT
    done
    echo "sccache found no free port: $(cat "$work/server.out")" >&2
    exit 1
}

# The C runtime's sources as a make project, compiled as the build compiles them.
mkdir "$work/runtime"
{
    echo "OBJS = $(cd "$top/toolchain/runtime/src" && ls *.c *.cpp | sed 's/\.[a-z]*$/.obj/' | tr '\n' ' ')"
    echo "all: \$(addprefix \$(O)/,\$(OBJS))"
    for ext in c cpp; do
        printf '$(O)/%%.obj: %s/%%.%s\n\t@mkdir -p $(@D)\n\t%s -c $< -o $@ -O2 /Zl /GS- -MD -MT $@ -MF $(O)/$*.d\n' \
            "$top/toolchain/runtime/src" "$ext" "$build/zarn"
    done
} >"$work/runtime/Makefile"

build_sample() { # OUT
    env -u MAKEFLAGS make --no-print-directory -s -j2 -C "$top/examples/sample" CC="$build/zarn" \
        O="$1" >/dev/null
}
build_runtime() { # OUT
    env -u MAKEFLAGS make --no-print-directory -s -j2 -C "$work/runtime" O="$1" >/dev/null
}

now() { date +%s%N; }

# Appends the wall nanoseconds of one build into a fresh directory to $work/PROJECT.WAY.
timed() { # PROJECT WAY ROUND
    local out=$work/out-$1-$2-$3 start
    start=$(now)
    "build_$1" "$out"
    echo $(($(now) - start)) >>"$work/$1.$2"
    rm -rf "$out"
}

median_ms() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.0f", m / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "== clean builds, $rounds rounds, medians (load before: $(cut -d' ' -f1-3 /proc/loadavg))"
for project in sample runtime; do
    "build_$project" "$work/warm-up" # the page cache, Wine's headers, the tools
    rm -rf "$work/warm-up"
    for round in $(seq "$rounds"); do
        for deps in two one; do
            [ $deps = one ] && export ZARN_DEPS=showincludes
            timed "$project" "none-$deps" "$round"
            fresh_server
            ZARN_LAUNCHER=sccache timed "$project" "cold-$deps" "$round"
            ZARN_LAUNCHER=sccache timed "$project" "warm-$deps" "$round"
            unset ZARN_DEPS
            counts=$(sccache --show-stats | awk '/^Cache hits +[0-9]+$/ { hits = $3 }
                /^Cache misses +[0-9]+$/ { misses = $3 } END { print hits + 0, misses + 0 }')
            echo "$project, $deps run(s), round $round: cache hits and misses $counts"
        done
    done
    for deps in two one; do
        none=$(median_ms "$work/$project.none-$deps")
        cold=$(median_ms "$work/$project.cold-$deps")
        warm=$(median_ms "$work/$project.warm-$deps")
        printf '%s, -MD in %s run(s): no launcher %s ms; sccache cold %s ms (%sx); warm %s ms (%sx)\n' \
            "$project" "$deps" "$none" "$cold" "$(ratio "$cold" "$none")" "$warm" \
            "$(ratio "$warm" "$none")"
    done
done
echo "(load after: $(cut -d' ' -f1-3 /proc/loadavg))"
