#!/usr/bin/env bash
# zarn's speed against the floor, each figure a ratio measured here and now:
#   1. per-run overhead: zarn -c a.c -o a.obj against the stand-in compiler called directly with
#      the translated command line, and against a minimal C program that only spawns it;
#   2. output pass-through: a tool writing 200 MB to standard output, through zarn and through cat;
#   3. dependency scan: a -MD compile whose preprocessed output is 200 MB with 1,000,000 #line
#      directives naming 5,000 files: wall time and zarn's peak memory;
#   4. the sample project's full build through zarn against the same steps run directly.
# Needs hyperfine and /usr/bin/time (Debian: hyperfine time). Run from the top after building
# into build/ (or BUILD=dir). RUNS sets the number of runs of the first figure (default 1000).
set -euo pipefail
build=${BUILD:-build}
runs=${RUNS:-1000}
top=$PWD
zarn="$top/$build/zarn"
floor="$top/$build/bench/spawn_floor"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$top/$build/tests/bin:$PATH"
unset LIB STANDIN_LOG
cd "$work"

mean() { # hyperfine's JSON export -> mean seconds of command N
    python3 -c "import json,sys; print(json.load(open(sys.argv[1]))['results'][int(sys.argv[2])]['mean'])" "$1" "$2"
}
ratio() { awk "BEGIN{printf \"%.3f\", $1/$2}"; }
ms() { awk "BEGIN{printf \"%.3f ms\", $1*1000}"; }

echo "== 1. per-run overhead ($runs runs each, in 10 alternating rounds)"
# Alternating rounds keep a drift of the machine's speed from favouring one command.
for round in $(seq 10); do
    hyperfine -N --style none --runs $((runs / 10)) --warmup 20 --export-json "overhead-$round.json" \
        "$zarn -c a.c -o a.obj" \
        "cl.exe /nologo /c /Foa.obj /Tca.c" \
        "$floor cl.exe /nologo /c /Foa.obj /Tca.c" > /dev/null 2>&1
done
overall() { # the mean of command N over all rounds
    python3 -c "import json,sys; print(sum(json.load(open(f))['results'][int(sys.argv[1])]['mean'] for f in sys.argv[2:]) / len(sys.argv[2:]))" "$1" overhead-*.json
}
z=$(overall 0); d=$(overall 1); f=$(overall 2)
echo "zarn: $(ms "$z")   tool directly: $(ms "$d")   floor (spawn and wait): $(ms "$f")"
echo "zarn / floor = $(ratio "$z" "$f")   zarn / tool directly = $(ratio "$z" "$d")   (target: zarn / floor <= 1.10)"

echo "== 2. output pass-through (200 MB on standard output)"
head -c $((200 * 1024 * 1024)) /dev/urandom > big.out
export STANDIN_STDOUT_FILE="$work/big.out"
hyperfine --style none --runs 10 --warmup 1 --export-json through.json \
    "$zarn -c a.c | cat > /dev/null" \
    "cl.exe /nologo /c /Tca.c | cat | cat > /dev/null" > /dev/null
z=$(mean through.json 0); c=$(mean through.json 1)
echo "through zarn: $(ms "$z")   through cat: $(ms "$c")   zarn / cat = $(ratio "$z" "$c")   (target <= 1.5)"
unset STANDIN_STDOUT_FILE

echo "== 3. dependency scan (200 MB, 1,000,000 #line directives, 5,000 files)"
"$top/$build/bench/generate_preprocessed" pre.i 200 1000000 5000
size=$(stat -c %s pre.i)
export STANDIN_PREPROCESSED_FILE="$work/pre.i"
hyperfine --style none --runs 5 --warmup 1 --export-json scan.json \
    "$zarn -c a.c -MD -MF a.d -MT a.obj" \
    "cl.exe /nologo /E /c /Tca.c | cat > /dev/null" > /dev/null
z=$(mean scan.json 0); c=$(mean scan.json 1)
peak=$( { /usr/bin/time -f %M "$zarn" -c a.c -MD -MF a.d -MT a.obj; } 2>&1 )
echo "zarn -MD compile: $(ms "$z")   the preprocessing run alone into cat: $(ms "$c")"
echo "zarn's own time ~ $(ms "$(awk "BEGIN{print $z-$c}")") (target < 1000 ms)   peak memory $((peak / 1024)) MiB = $(awk "BEGIN{printf \"%.2f\", $peak*1024/$size}") x the output (target < 1.3)"
unset STANDIN_PREPROCESSED_FILE

echo "== 4. the sample project's full build"
if [ -x "$top/bench/toolchain_build.sh" ]; then
    (cd "$top" && BUILD=$build bench/toolchain_build.sh)
else
    echo "bench/toolchain_build.sh not found: skipped"
fi
