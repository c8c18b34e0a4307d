#!/usr/bin/env bash
# zarn.exe's cost per run under wine64, against a minimal Win32 program that only starts the
# same tool and waits (bench/spawn_floor_win32.c), both in the same run: rounds of RUNS runs
# each (default 5 rounds of 40), alternating, so that a drift of the machine's speed favours
# neither. The tool is the stand-in compiler of the Windows build, found along Wine's PATH.
# Needs hyperfine and python3. Run from the top after building the Windows build:
#   cmake -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake && cmake --build build-win -j2
set -euo pipefail
build=$(cd "${BUILD_WIN:-build-win}" && pwd)
runs=${RUNS:-40}
rounds=${ROUNDS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wine=/usr/lib/wine/wine64
export WINEPREFIX=${ZARN_WINEPREFIX:-${TMPDIR:-/tmp}/zarn-wine-$(id -u)}
export WINEDEBUG=-all
# Wine adds WINEPATH to the Windows PATH: the stand-in cl.exe, in Windows form.
export WINEPATH="Z:${build//\//\\}\\tests\\bin"
unset LIB STANDIN_LOG
cd "$work"
"$wine" "$build/zarn.exe" --zarnversion >/dev/null # start the Wine server and warm up

zarn=("$wine" "$build/zarn.exe" -c a.c -o a.obj)
floor=("$wine" "$build/bench/spawn_floor_win32.exe" cl.exe /nologo /c /Foa.obj /Tca.c)
mean() {
    python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][0]['mean'])" "$1"
}
zarn_total=0
floor_total=0
for round in $(seq "$rounds"); do
    hyperfine -N -w 3 -r "$runs" --export-json "$work/zarn.json" "${zarn[*]}" >/dev/null
    hyperfine -N -w 3 -r "$runs" --export-json "$work/floor.json" "${floor[*]}" >/dev/null
    zarn_total=$(awk -v a="$zarn_total" -v b="$(mean "$work/zarn.json")" 'BEGIN { print a + b }')
    floor_total=$(awk -v a="$floor_total" -v b="$(mean "$work/floor.json")" 'BEGIN { print a + b }')
done
awk -v z="$zarn_total" -v f="$floor_total" -v n="$rounds" -v r="$runs" 'BEGIN {
    printf "zarn.exe -c a.c -o a.obj under wine64: %.2f ms\n", z / n * 1000
    printf "spawn-and-wait floor under wine64:      %.2f ms\n", f / n * 1000
    printf "overhead per run: %.2f ms (ratio %.3f), %d rounds of %d runs\n", (z - f) / n * 1000, z / f, n, r
}'
