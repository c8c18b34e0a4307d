#!/usr/bin/env bash
# ninja compiles the sample project's sources through zarn and the LLVM adapters with
# "deps = msvc", the build passing /showIncludes itself: the include notes reach ninja as the
# compiler wrote them, names of files on this host, so touching a header rebuilds exactly the
# objects that include it, and a second run has nothing to do.
#
#   ninja_deps_test.sh ZARN TOOLCHAIN_DIR SAMPLE_DIR
set -euo pipefail

zarn=$1
toolchain=$2
sample=$3

source "$(dirname "$0")/common.sh"

command -v ninja >/dev/null || fail "ninja is not installed (Debian package ninja-build)"

make_work_directory ninja-deps
cp -R "$sample" "$work/sample"
cd "$work/sample"
export PATH="$toolchain:$PATH"
unset ZARN_LAUNCHER ZARN_DEPS

cat >build.ninja <<EOF
flags = "-Icalc/public headers" -Igreet -DCALC_SCALE_FACTOR=2 -g -O2
rule cc
  command = $zarn -c \$in -o \$out \$flags /showIncludes
  deps = msvc
build out/calc/sum.obj: cc calc/sum.c
build out/calc/scale.obj: cc calc/scale.c
build out/calc/format.obj: cc calc/format.c
build out/app/main.obj: cc app/main.c
build out/greet/greet.obj: cc greet/greet.cpp
  flags = \$flags -DGREET_BUILD
EOF

echo "== clean build"
ninja >"$work/ninja.out" 2>&1 || {
    cat "$work/ninja.out"
    fail "the clean build failed"
}
if grep -q 'Note: including file' "$work/ninja.out"; then
    cat "$work/ninja.out"
    fail "include notes reached the build's output"
fi
# Every file ninja recorded is one that exists here.
ninja -t deps >"$work/deps"
while read -r file; do
    [ -e "$file" ] || fail "ninja recorded $file, which does not exist"
done < <(grep '^    ' "$work/deps" | sed 's/^ *//')
grep -q '^    calc/public headers/calc.h$' "$work/deps" ||
    fail "ninja did not record calc/public headers/calc.h: $(cat "$work/deps")"
echo "ninja recorded $(grep -c '^    ' "$work/deps") dependencies, every one an existing file"

idle() {
    local output
    output=$(ninja 2>&1) || fail "the second run failed: $output"
    [ "$output" = "ninja: no work to do." ] || fail "the second run did something: $output"
}

idle
while IFS='|' read -r header expected; do
    touch "$work/stamp"
    # Past the file system's time granularity, so a rebuilt object is strictly newer.
    sleep 1
    touch "$header"
    ninja >"$work/ninja.out" 2>&1 || {
        cat "$work/ninja.out"
        fail "the build after touching $header failed"
    }
    rebuilt=$(find out -name '*.obj' -newer "$work/stamp" | sort | tr '\n' ' ')
    [ "$rebuilt" = "$expected" ] || fail "touching $header rebuilt [$rebuilt], expected [$expected]"
    echo "touching $header rebuilt $rebuilt"
    idle
done <<'ROWS'
calc/calc_internal.h|out/calc/scale.obj out/calc/sum.obj 
calc/public headers/calc.h|out/app/main.obj out/calc/format.obj out/calc/scale.obj out/calc/sum.obj 
greet/greet.h|out/app/main.obj out/greet/greet.obj 
ROWS
echo "a second run does nothing"
