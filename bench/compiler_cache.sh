#!/usr/bin/env bash
# What a compiler cache, and distcc, give a clean build through zarn and the LLVM adapters.
# Projects (PROJECTS, default all), each built with make -j2 and -MD in one compiler run:
#   sample    examples/sample (five compiles, an archive, a DLL and a program)
#   windows   12 C units that include the runtime's windows.h, in gcc mode
#   cxx       6 C++ units on the C++ library's headers, in gcc mode
#   runtime   the C runtime's sources, each compiled through zarn with -MD
# Ways (WAYS, default all), each a clean build into a fresh directory, in turn, ROUNDS rounds
# (default 5):
#   none                      no launcher (ZARN_DEPS=showincludes: one run, as below)
#   sccache-cold, -warm       ZARN_LAUNCHER=sccache, an empty cache, then every compile in it
#   ccache-cold, -warm        ZARN_LAUNCHER=ccache, direct mode (ccache's default)
#   depend-cold, -warm        ZARN_LAUNCHER=ccache in depend mode (CCACHE_DEPEND)
#   distcc                    gcc-mode projects only: make -j4 with CC="distcc zarn --zarngcc"
#                             to a distccd on 127.0.0.1. One machine: what distcc costs and that
#                             every compile goes through it, not what a farm gains
# and the medians of wall and processor time, the latter of every process of the build: the
# script's children, the sccache server (run in the foreground, as the script's) and distccd
# with its workers. Ratios are to "none". The sccache server and distccd are the script's own
# (free ports, scratch directories), stopped at the end; ccache is the one on PATH from 4.10 on
# or trixie's (toolchain/tests/fetch_ccache.sh, into ZARN_CACHE_DIR, default ~/.cache/zarn).
# ccache keys each compile on the compiler's banner (compiler_check=%compiler%, which runs
# cl.exe without arguments every time); CHECK=banner hashes the same banner, taken once for
# the whole build (compiler_check=string:...), CHECK=mtime the adapter's time stamp (ccache's
# default, which does not notice a new clang-cl).
# Run from the top after the README's first command (or BUILD=dir). What -MD itself costs a
# compile is bench/include_notes.sh's subject.
set -euo pipefail
build=$(cd "${BUILD:-build}" && pwd)
top=$PWD
rounds=${ROUNDS:-5}
projects=${PROJECTS:-sample windows cxx runtime}
ways=${WAYS:-none sccache-cold sccache-warm ccache-cold ccache-warm depend-cold depend-warm distcc}
work=$(mktemp -d)
chmod 755 "$work"
ticks=$(getconf CLK_TCK)

sccache_pid=
distccd_pid=
stop_sccache() {
    if [ -n "$sccache_pid" ]; then
        sccache --stop-server >/dev/null 2>&1 || kill "$sccache_pid" 2>/dev/null || true
        wait "$sccache_pid" 2>/dev/null || true
        sccache_pid=
    fi
}
stop_distccd() {
    if [ -n "$distccd_pid" ]; then
        kill -TERM -- "-$distccd_pid" 2>/dev/null || kill -TERM "$distccd_pid" 2>/dev/null || true
        wait "$distccd_pid" 2>/dev/null || true
        distccd_pid=
    fi
}
trap 'stop_sccache; stop_distccd; rm -rf "$work"' EXIT

wants() { [[ " $ways " == *" $1"* ]]; }

unset LIB INCLUDE ZARN_DEPS ZARN_LAUNCHER CFLAGS CXXFLAGS CPPFLAGS
export PATH="$build/toolchain:$PATH"

# Nothing of the caller's sccache and ccache set-up: no configuration, no shared storage.
while read -r name; do unset "$name"; done < <(env | sed -n 's/^\(SCCACHE_[A-Z_]*\|CCACHE_[A-Z_]*\|DISTCC_[A-Z_]*\)=.*/\1/p')
export SCCACHE_CONF=$work/no-config SCCACHE_IDLE_TIMEOUT=300 CCACHE_CONFIGPATH=$work/ccache.conf \
    CCACHE_COMPILERTYPE=msvc
case ${CHECK:-compiler} in
compiler) export CCACHE_COMPILERCHECK=%compiler% ;;
banner) CCACHE_COMPILERCHECK="string:$(cl.exe 2>&1)" && export CCACHE_COMPILERCHECK ;;
mtime) export CCACHE_COMPILERCHECK=mtime ;;
*) echo "CHECK is compiler, banner or mtime" >&2 && exit 1 ;;
esac
: >"$work/ccache.conf"

if wants sccache; then
    command -v sccache >/dev/null || {
        echo "sccache is not installed (Debian package sccache); WAYS= leaves it out" >&2
        exit 1
    }
fi
ccache_dir=
if wants ccache || wants depend; then
    if command -v ccache >/dev/null &&
        ccache --version | head -n 1 | grep -Eq 'version (4\.(1[0-9]|[2-9][0-9])|[5-9])'; then
        ccache_dir=$(dirname "$(command -v ccache)")
    else
        ccache_dir=$(sh "$top/toolchain/tests/fetch_ccache.sh" \
            "${ZARN_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zarn}")
    fi
    echo "$("$ccache_dir/ccache" --version | head -n 1) from $ccache_dir, compiler_check ${CHECK:-compiler}"
fi

# An sccache server with an empty cache, on a port that is free, in the foreground as the
# script's child, so that its processor time can be read.
fresh_sccache() {
    stop_sccache
    rm -rf "$work/sccache"
    export SCCACHE_DIR=$work/sccache
    local attempt
    for attempt in $(seq 20); do
        export SCCACHE_SERVER_PORT=$((20000 + RANDOM % 40000))
        SCCACHE_START_SERVER=1 SCCACHE_NO_DAEMON=1 sccache >"$work/sccache.out" 2>&1 &
        sccache_pid=$!
        for tick in $(seq 50); do
            sccache --show-stats >/dev/null 2>&1 && return 0
            kill -0 "$sccache_pid" 2>/dev/null || break
            sleep 0.1
        done
        stop_sccache
    done
    echo "sccache found no free port: $(cat "$work/sccache.out")" >&2
    exit 1
}

start_distccd() {
    local user=() attempt
    [ "$(id -u)" -ne 0 ] || user=(--user nobody)
    mkdir -p "$work/distccd"
    [ ${#user[@]} -eq 0 ] || chown nobody "$work/distccd"
    echo "$build/zarn" >"$work/distcc-commands"
    for attempt in $(seq 20); do
        distcc_port=$((20000 + RANDOM % 40000))
        rm -f "$work/distccd/log"
        DISTCC_CMDLIST=$work/distcc-commands DISTCCD_PATH="$build/toolchain:/usr/bin:/bin" \
            TMPDIR=$work/distccd distccd --daemon --no-detach --listen 127.0.0.1 \
            --allow 127.0.0.1 --port "$distcc_port" "${user[@]}" --jobs 4 \
            --log-file "$work/distccd/log" --log-level info </dev/null &
        distccd_pid=$!
        for tick in $(seq 50); do
            grep -qs 'daemon started' "$work/distccd/log" && return 0
            kill -0 "$distccd_pid" 2>/dev/null || break
            sleep 0.1
        done
        stop_distccd
    done
    echo "distccd did not start: $(tail -n 3 "$work/distccd/log")" >&2
    exit 1
}
if wants distcc; then
    command -v distcc >/dev/null && command -v distccd >/dev/null || {
        echo "distcc is not installed (Debian package distcc); WAYS= leaves it out" >&2
        exit 1
    }
    start_distccd
    mkdir "$work/distcc"
    export DISTCC_HOSTS="127.0.0.1:$distcc_port/4" DISTCC_DIR=$work/distcc \
        DISTCC_LOG=$work/distcc/log DISTCC_VERBOSE=1 DISTCC_FALLBACK=0 DISTCC_SKIP_LOCAL_RETRY=1
fi

# Processor nanoseconds of the processes and of their children they have waited for.
process_cpu_ns() {
    local pid total=0 fields
    for pid in "$@"; do
        fields=$(sed 's/^.*) //' "/proc/$pid/stat" 2>/dev/null) || continue
        total=$((total + $(awk '{ print $12 + $13 + $14 + $15 }' <<<"$fields")))
    done
    echo $((total * 1000000000 / ticks))
}
# The servers of the way: the sccache server, or distccd and its workers.
server_cpu_ns() {
    local pids=()
    [ -z "$sccache_pid" ] || pids+=("$sccache_pid")
    if [ -n "$distccd_pid" ]; then
        pids+=("$distccd_pid")
        pids+=($(ps -o pid= --ppid "$distccd_pid"))
    fi
    process_cpu_ns "${pids[@]}"
}

# The projects as make projects in the scratch directory.
mkdir "$work/runtime" "$work/windows" "$work/cxx"
{
    echo "OBJS = $(cd "$top/toolchain/runtime/src" && ls *.c *.cpp | sed 's/\.[a-z]*$/.obj/' | tr '\n' ' ')"
    echo "all: \$(addprefix \$(O)/,\$(OBJS))"
    for ext in c cpp; do
        printf '$(O)/%%.obj: %s/%%.%s\n\t@mkdir -p $(@D)\n\t$(CC) -c $< -o $@ -O2 /Zl /GS- -MD -MT $@ -MF $(O)/$*.d\n' \
            "$top/toolchain/runtime/src" "$ext"
    done
} >"$work/runtime/Makefile"
for i in $(seq 12); do
    printf '#include <windows.h>\n#include <stdio.h>\nint unit%d(void) { return (int)GetCurrentProcessId() + printf("%d"); }\n' \
        "$i" "$i" >"$work/windows/unit$i.c"
done
headers=(iostream string vector map algorithm memory)
for i in $(seq 6); do
    printf '#include <%s>\n#include <sstream>\nstd::string unit%d(int n) {\n    std::ostringstream out;\n    for (int i = 0; i < n; ++i)\n        out << i;\n    return out.str();\n}\n' \
        "${headers[$((i - 1))]}" "$i" >"$work/cxx/unit$i.cpp"
done
for project in windows cxx; do
    ext=c
    [ $project = windows ] || ext=cpp
    {
        echo "OBJS = $(cd "$work/$project" && ls *.$ext | sed 's/\.[a-z]*$/.o/' | tr '\n' ' ')"
        echo "all: \$(addprefix \$(O)/,\$(OBJS))"
        printf '$(O)/%%.o: %%.%s\n\t@mkdir -p $(@D)\n\t$(CC) -MT $@ -MD -MP -MF $(O)/$*.d -O2 -Wall -c -o $@ $<\n' "$ext"
    } >"$work/$project/Makefile"
done

make_project() { # PROJECT OUT COMPILER [MAKE OPTIONS]
    local project=$1 out=$2 compiler=$3
    shift 3
    case $project in
    sample) env -u MAKEFLAGS make --no-print-directory -s -C "$top/examples/sample" CC="$compiler" \
        O="$out" "$@" >/dev/null ;;
    *) env -u MAKEFLAGS make --no-print-directory -s -C "$work/$project" CC="$compiler" O="$out" \
        "$@" >/dev/null ;;
    esac
}
gcc_mode() { [ "$1" = windows ] || [ "$1" = cxx ]; }

# One clean build of the project the way says, into a fresh directory.
build_way() { # PROJECT WAY OUT
    local project=$1 way=$2 out=$3 compiler=$build/zarn
    ! gcc_mode "$project" || compiler="$build/zarn --zarngcc"
    case $way in
    none) ZARN_DEPS=showincludes make_project "$project" "$out" "$compiler" -j2 ;;
    sccache-*) ZARN_LAUNCHER=sccache make_project "$project" "$out" "$compiler" -j2 ;;
    ccache-* | depend-*) PATH="$ccache_dir:$PATH" ZARN_LAUNCHER=ccache \
        make_project "$project" "$out" "$compiler" -j2 ;;
    distcc) make_project "$project" "$out" "distcc $compiler" -j4 ;;
    esac
}

now() { date +%s%N; }

# The processor time of the shell's finished children, from the output of times, which must
# run in the script's own shell (a command substitution would have children of its own).
children_cpu_ns() {
    awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%.0f", (u[1] * 60 + u[2] + s[1] * 60 + s[2]) * 1e9 }' "$work/times"
}

# Appends the wall and processor nanoseconds of one build to $work/PROJECT.WAY(.cpu). Every
# build of a project goes to the same directory, as a clean rebuild does: ccache keys a
# compile for cl.exe on its object's directory too (unless hash_dir is off).
timed() { # PROJECT WAY
    local out=$work/out-$1 start cpu
    times >"$work/times"
    cpu=$(($(children_cpu_ns) + $(server_cpu_ns)))
    start=$(now)
    build_way "$1" "$2" "$out"
    echo $(($(now) - start)) >>"$work/$1.$2"
    times >"$work/times"
    echo $(($(children_cpu_ns) + $(server_cpu_ns) - cpu)) >>"$work/$1.$2.cpu"
    rm -rf "$out"
}

median_ms() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.0f", m / 1e6 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

sccache_counts() {
    sccache --show-stats | awk '/^Cache hits +[0-9]+$/ { hits = $3 }
        /^Cache misses +[0-9]+$/ { misses = $3 } END { print hits + 0, misses + 0 }'
}
ccache_counts() {
    "$ccache_dir/ccache" --print-stats | awk '$1 ~ /^(direct|preprocessed)_cache_hit$/ { hits += $2 }
        $1 == "cache_miss" { misses = $2 } END { print hits + 0, misses + 0 }'
}

echo "== clean builds, $rounds rounds, medians (load before: $(cut -d' ' -f1-3 /proc/loadavg))"
for project in $projects; do
    build_way "$project" none "$work/warm-up" # the page cache, the headers, the tools
    rm -rf "$work/warm-up"
    for round in $(seq "$rounds"); do
        counts=()
        for way in $ways; do
            case $way in
            distcc) gcc_mode "$project" || continue ;;
            sccache-cold) fresh_sccache ;;
            ccache-cold | depend-cold)
                export CCACHE_DIR=$work/ccache-$way
                rm -rf "$CCACHE_DIR"
                unset CCACHE_DEPEND
                [ $way = ccache-cold ] || export CCACHE_DEPEND=1
                ;;
            esac
            case $way in
            sccache-*) sccache --zero-stats >/dev/null ;;
            ccache-* | depend-*) "$ccache_dir/ccache" --zero-stats >/dev/null ;;
            distcc) : >"$work/distcc/log" ;;
            esac
            timed "$project" "$way"
            case $way in
            sccache-*) counts+=("$way $(sccache_counts)") ;;
            ccache-* | depend-*) counts+=("$way $(ccache_counts)") ;;
            distcc) counts+=("distcc $(grep -c 'on 127\.0\.0\.1:.* completed ok' "$work/distcc/log" || true) sent, $(grep -c 'compile .* on localhost completed ok' "$work/distcc/log" || true) local") ;;
            esac
            [ $way != sccache-warm ] || stop_sccache
        done
        (IFS=';' && echo "$project, round $round: hits and misses ${counts[*]}")
    done
    for way in $ways; do
        [ -f "$work/$project.$way" ] || continue
        none=$(median_ms "$work/$project.none")
        none_cpu=$(median_ms "$work/$project.none.cpu")
        wall=$(median_ms "$work/$project.$way")
        cpu=$(median_ms "$work/$project.$way.cpu")
        printf '%s, %s: wall %s ms (%sx), processor %s ms (%sx)\n' "$project" "$way" "$wall" \
            "$(ratio "$wall" "$none")" "$cpu" "$(ratio "$cpu" "$none_cpu")"
    done
done
echo "(load after: $(cut -d' ' -f1-3 /proc/loadavg))"
