#!/usr/bin/env bash
# What -MD costs a compile, with two compiler runs (the default) and with one
# (ZARN_DEPS=showincludes), each against the same compile without -MD:
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

# Runs "$@" once and appends its nanoseconds to the file named by $1.
timed() {
    local file=$1 start
    shift
    start=$(now)
    "$@" >/dev/null
    echo $(($(now) - start)) >>"$file"
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
cd "$work"
printf 'static int twice(int x) { return 2 * x; }\nint f(int x) { return twice(x) + 1; }\n' >small.c
printf '#include <windows.h>\n#include <stdio.h>\nint f(void) { return (int)GetCurrentProcessId() + printf("x"); }\n' >heavy.c

echo "== 1. one compile through zarn and the adapters, $rounds rounds, median"
for source in small.c heavy.c; do
    for mode in plain two one; do compile "$mode" "$source"; done # warm the caches
    for round in $(seq "$rounds"); do
        for mode in plain two one; do timed "$work/$source.$mode" compile "$mode" "$source"; done
    done
    cmp -s "${source%.c}.obj.d" "${source%.c}.obj.d" || true
    plain=$(median_ms "$work/$source.plain")
    two=$(median_ms "$work/$source.two")
    one=$(median_ms "$work/$source.one")
    echo "$source: no -MD $plain ms; two runs $two ms ($(ratio "$two" "$plain")x); one run $one ms ($(ratio "$one" "$plain")x)"
done

echo "== 2. clean build of examples/sample with make -j2, $sample_rounds rounds, median"
sample_build() { # MODE OUT
    local flags=()
    case $1 in
    plain) flags=(DEPFLAGS=) ;;
    one) export ZARN_DEPS=showincludes ;;
    esac
    env -u MAKEFLAGS make --no-print-directory -s -j2 -C "$OLDPWD/examples/sample" \
        CC="$build/zarn" TOOLCHAIN="$build/toolchain" O="$2" "${flags[@]}"
    unset ZARN_DEPS
}
top=$OLDPWD
for round in $(seq "$sample_rounds"); do
    for mode in plain two one; do
        (cd "$top" && timed "$work/sample.$mode" sample_build "$mode" "$work/sample-$mode-$round")
    done
done
plain=$(median_ms "$work/sample.plain")
two=$(median_ms "$work/sample.two")
one=$(median_ms "$work/sample.one")
echo "sample: no -MD $plain ms; two runs $two ms ($(ratio "$two" "$plain")x); one run $one ms ($(ratio "$one" "$plain")x)"
for d in $(cd "$work/sample-two-1" && find . -name '*.d' | sort); do
    cmp -s "$work/sample-two-1/$d" "$work/sample-one-1/$d" || echo "the .d files differ: $d"
done

echo "== 3. peak memory of a -MD compile whose preprocessed output is 200 MB (stand-in compiler)"
"$build/bench/generate_preprocessed" "$work/big.i" 200 1000000 5000
notes=$(grep -o '"[^"]*"' "$work/big.i" | sort -u | head -5000 | sed 's/^"/Note: including file: /; s/"$//')
export PATH="$build/tests/bin:$PATH" STANDIN_PREPROCESSED_FILE="$work/big.i" STANDIN_STDOUT="$notes"
for mode in two one; do
    line=$( { if [ $mode = one ]; then export ZARN_DEPS=showincludes; fi
        /usr/bin/time -f "%e %M" "$build/zarn" -c a.c -MD -MF "$work/a.d" -MT a.obj >/dev/null; } 2>&1 )
    echo "$mode run(s): ${line% *} s, peak memory $(( ${line#* } / 1024 )) MiB"
done
