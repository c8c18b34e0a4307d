#!/usr/bin/env bash
# A whole "-MD" compile through build/zarn against the stand-in compiler, whose preprocessing
# run writes a large synthetic output: zarn's wall time and peak memory against the output size.
# Usage: bench/dependency_scan.sh [MEGABYTES] [DIRECTIVES] [DISTINCT_FILES]   (from the top)
set -euo pipefail
megabytes=${1:-200}
directives=${2:-1000000}
distinct=${3:-5000}
build=${BUILD:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/generate_preprocessed" "$work/out.i" "$megabytes" "$directives" "$distinct"
size=$(stat -c %s "$work/out.i")
export PATH="$PWD/$build/tests/bin:$PATH" STANDIN_PREPROCESSED_FILE="$work/out.i"

# The stand-in alone, writing the same bytes into a pipe that is read and dropped: the floor.
floor=$( { /usr/bin/time -f "%e" cl.exe /nologo /E /c /Tca.c > /dev/null; } 2>&1 )
best=""
for run in 1 2 3; do
    line=$( { /usr/bin/time -f "%e %M" "$build/zarn" -c a.c -MD -MF "$work/a.d" -MT a.obj; } 2>&1 )
    if [ -z "$best" ] || awk "BEGIN{exit !(${line% *} < ${best% *})}"; then best=$line; fi
done
seconds=${best% *}
peak_kib=${best#* }
echo "output: $size bytes, $directives directives, $distinct files; $(grep -c $'^\t' "$work/a.d") in a.d"
echo "stand-in alone: ${floor} s"
echo "zarn -MD run:   ${seconds} s wall (best of 3), peak memory $((peak_kib / 1024)) MiB = $(awk "BEGIN{printf \"%.2f\", $peak_kib*1024/$size}") x output"
