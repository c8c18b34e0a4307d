#!/usr/bin/env bash
# What -MD costs a compile, with two compiler runs (the default) and with one
# (ZARN_DEPS=showincludes), each against the same compile without -MD, as medians over the
# rounds (and, for a machine shared with other work, as the median of each round's own ratio):
#   1. one translation unit through zarn and the LLVM adapters: a small one, and one that
#      includes the runtime's windows.h; the three ways run in turn, ROUNDS rounds (default 25);
#   2. a clean build of examples/sample with make -j2, the three ways in turn (SAMPLE_ROUNDS,
#      default 5);
#   3. zarn's peak memory for a -MD compile whose preprocessed output is 200 MB (the stand-in
#      compiler), both ways.
# Run from the top after the README's first command (or BUILD=dir). Needs /usr/bin/time.
set -euo pipefail
build=$(cd "${BUILD:-build}" && pwd)
rounds=${ROUNDS:-25}
sample_rounds=${SAMPLE_ROUNDS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset LIB INCLUDE ZARN_DEPS

now() { date +%s%N; }

# Median milliseconds of the lines (nanoseconds) in a file.
median_ms() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1e6 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# Runs "$@" once and appends its wall nanoseconds to the file named by $1, and the processor
# time (user and system, of every process it waited for) to $1.cpu.
timed() {
    local file=$1 start before
    shift
    times >"$work/times" # in this shell: a command substitution would have its own children
    before=$(cpu_ns)
    start=$(now)
    "$@" >/dev/null
    echo $(($(now) - start)) >>"$file"
    times >"$work/times"
    echo $(($(cpu_ns) - before)) >>"$file.cpu"
}

# The processor time of the shell's finished children, from the output of times, in
# nanoseconds.
cpu_ns() {
    awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%.0f", (u[1] * 60 + u[2] + s[1] * 60 + s[2]) * 1e9 }' "$work/times"
}

# The median of the ratios of two ways within each round: what is left of a load that comes
# and goes on a shared machine, since the ways of one round run side by side.
round_ratio() { # FILE FILE
    paste "$1" "$2" | awk '{ print $1 / $2 }' | sort -n |
        awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The medians of the three ways, wall and processor time, and their ratios to no -MD: of the
# medians, and the median of each round's own ratio.
report() { # NAME FILE-PREFIX
    local kind plain two one
    for kind in "" .cpu; do
        plain=$(median_ms "$2.plain$kind")
        two=$(median_ms "$2.two$kind")
        one=$(median_ms "$2.one$kind")
        printf '%s %s: no -MD %s ms; two runs %s ms (%sx, by round %sx); one run %s ms (%sx, by round %sx)\n' \
            "$1" "$([ -z "$kind" ] && echo wall || echo cpu)" "$plain" "$two" \
            "$(ratio "$two" "$plain")" "$(round_ratio "$2.two$kind" "$2.plain$kind")" "$one" \
            "$(ratio "$one" "$plain")" "$(round_ratio "$2.one$kind" "$2.plain$kind")"
    done
}

compile() { # MODE SOURCE
    local mode=$1 source=$2 object=$work/${2%.c}.obj
    case $mode in
    plain) "$build/zarn" -c "$source" -o "$object" -O2 ;;
    two) "$build/zarn" -c "$source" -o "$object" -O2 -MD -MT "$object" -MF "$object.d" -MP ;;
    one) ZARN_DEPS=showincludes "$build/zarn" -c "$source" -o "$object" -O2 -MD -MT "$object" \
        -MF "$object.d" -MP ;;
    esac
}

export PATH="$build/toolchain:$PATH"
top=$PWD
cd "$work"
printf 'static int twice(int x) { return 2 * x; }\nint f(int x) { return twice(x) + 1; }\n' >small.c
printf '#include <windows.h>\n#include <stdio.h>\nint f(void) { return (int)GetCurrentProcessId() + printf("x"); }\n' >heavy.c

echo "== 1. one compile through zarn and the adapters, $rounds rounds, median"
for source in small.c heavy.c; do
    for mode in plain two one; do compile "$mode" "$source"; done # warm the caches
    for round in $(seq "$rounds"); do
        for mode in plain two one; do timed "$work/$source.$mode" compile "$mode" "$source"; done
    done
    report "$source" "$work/$source"
done

echo "== 2. clean build of examples/sample with make -j2, $sample_rounds rounds, median"
sample_build() { # MODE OUT
    local flags=()
    case $1 in
    plain) flags=(DEPFLAGS=) ;;
    one) export ZARN_DEPS=showincludes ;;
    esac
    env -u MAKEFLAGS make --no-print-directory -s -j2 -C "$top/examples/sample" \
        CC="$build/zarn" TOOLCHAIN="$build/toolchain" O="$2" "${flags[@]}"
    unset ZARN_DEPS
}
for round in $(seq "$sample_rounds"); do
    for mode in plain two one; do
        timed "$work/sample.$mode" sample_build "$mode" "$work/sample-$mode-$round"
    done
done
report sample "$work/sample"

echo "== 3. peak memory of a -MD compile whose preprocessed output is 200 MB (stand-in compiler)"
"$build/bench/generate_preprocessed" "$work/big.i" 200 1000000 5000
# In one run the compiler writes no preprocessed text, only its notes: one for each file.
grep -o '"[^"]*"' "$work/big.i" | sort -u | sed 's/^"/Note: including file: /; s/"$//' >"$work/notes"
export PATH="$build/tests/bin:$PATH" STANDIN_PREPROCESSED_FILE="$work/big.i" \
    STANDIN_STDOUT_FILE="$work/notes"
for mode in two one; do
    line=$( { if [ $mode = one ]; then export ZARN_DEPS=showincludes; fi
        /usr/bin/time -f "%e %M" "$build/zarn" -c a.c -MD -MF "$work/a.d" -MT a.obj >/dev/null; } 2>&1 )
    echo "$mode run(s): ${line% *} s, peak memory $(( ${line#* } / 1024 )) MiB"
done
