#!/usr/bin/env bash
# Builds the sample project with GNU make through zarn and the LLVM adapters, checks what it
# made, that the dependency files make exactly the right objects rebuild, and, where Wine is
# installed, runs the program.
#
#   sample_build_test.sh ZARN TOOLCHAIN_DIR SAMPLE_DIR
set -euo pipefail

zarn=$1
toolchain=$2
sample=$3

source "$(dirname "$0")/common.sh"

readobj=$(command -v llvm-readobj || command -v llvm-readobj-14) ||
    fail "llvm-readobj is not installed (Debian package llvm)"

make_work_directory sample

# A copy, so that touching its headers leaves the source tree alone.
cp -R "$sample" "$work/sample"
cd "$work/sample"
export PATH="$toolchain:$PATH"
build() {
    make --no-print-directory -j2 CC="$zarn" "$@"
}

echo "== clean build"
build >"$work/make.out" 2>"$work/make.err" || {
    cat "$work/make.out" "$work/make.err"
    fail "the clean build failed"
}
cat "$work/make.out"
if [ -s "$work/make.err" ]; then
    cat "$work/make.err"
    fail "the clean build wrote to standard error"
fi

echo "== outputs"
objects=(out/calc/sum.obj out/calc/scale.obj out/calc/format.obj out/greet/greet.obj
    out/app/main.obj)
for object in "${objects[@]}"; do
    headers=$("$readobj" --file-headers "$object") || fail "$object is not an object file"
    grep -q '^Format: COFF-x86-64$' <<<"$headers" || fail "$object is not a COFF object"
    ! grep -q 'Magic: MZ' <<<"$headers" || fail "$object is an image, not an object"
done
# The eighth byte, a line end, is dropped by the command substitution.
[ "$(head -c 8 out/calc.lib)" = '!<arch>' ] || fail "out/calc.lib is not an archive"
members=$("$readobj" --file-headers out/calc.lib | grep -c '^Format: COFF-x86-64$') || true
[ "$members" = 3 ] || fail "out/calc.lib holds $members COFF objects, not 3"
image_check() {
    local image=$1 kind=$2 headers
    headers=$("$readobj" --file-headers "$image") || fail "$image is not readable"
    grep -q 'Magic: MZ' <<<"$headers" || fail "$image is not a PE image"
    if [ "$kind" = dll ]; then
        grep -q 'IMAGE_FILE_DLL' <<<"$headers" || fail "$image is not a DLL"
    else
        ! grep -q 'IMAGE_FILE_DLL' <<<"$headers" || fail "$image is a DLL, not a program"
        grep -q 'IMAGE_SUBSYSTEM_WINDOWS_CUI' <<<"$headers" || fail "$image is not a console program"
    fi
}
image_check out/app.exe exe
image_check out/greet.dll dll
imports=$("$readobj" --coff-imports out/app.exe)
for import in 'Name: greet.dll' 'Name: ucrtbase.dll' 'Symbol: greet_message' 'Symbol: fopen'; do
    grep -q "$import" <<<"$imports" || fail "out/app.exe does not import $import"
done
"$readobj" --coff-exports out/greet.dll | grep -q 'Name: greet_message' ||
    fail "out/greet.dll does not export greet_message"
echo "COFF objects, an archive of three, a console program and a DLL"

# Which objects a build remade: those newer than a stamp taken before it.
rebuilt_after_touch() {
    local header=$1
    touch "$work/stamp"
    # Past the file system's time granularity, so a rebuilt object is strictly newer.
    sleep 1
    touch "$header"
    build >"$work/make.out" 2>&1 || {
        cat "$work/make.out"
        fail "the build after touching $header failed"
    }
    find out -name '*.obj' -newer "$work/stamp" | sort | tr '\n' ' '
}

nothing_to_do() {
    local output
    output=$(build 2>&1) || fail "the second build failed: $output"
    [ "$output" = "make: Nothing to be done for 'all'." ] ||
        fail "the second build did something: $output"
}

touches_rebuild_their_dependents() {
    nothing_to_do
    while IFS='|' read -r header expected; do
        rebuilt=$(rebuilt_after_touch "$header")
        [ "$rebuilt" = "$expected" ] ||
            fail "touching $header rebuilt [$rebuilt], expected [$expected]"
        echo "touching $header rebuilt $rebuilt"
        nothing_to_do
    done <<'ROWS'
calc/calc_internal.h|out/calc/scale.obj out/calc/sum.obj 
calc/public headers/calc.h|out/app/main.obj out/calc/format.obj out/calc/scale.obj out/calc/sum.obj 
greet/greet.h|out/app/main.obj out/greet/greet.obj 
ROWS
    echo "a second make does nothing"
}

echo "== dependencies, from a preprocessing run"
touches_rebuild_their_dependents

echo "== dependencies, from the compile's include notes (ZARN_DEPS=showincludes)"
mkdir "$work/two-runs"
(cd out && find . -name '*.d' -exec cp --parents {} "$work/two-runs" \;)
rm -rf out
ZARN_DEPS=showincludes build >"$work/make.out" 2>&1 || {
    cat "$work/make.out"
    fail "the clean build with one compiler run failed"
}
for file in $(cd "$work/two-runs" && find . -name '*.d' | sort); do
    cmp "$work/two-runs/$file" "out/$file" ||
        fail "out/$file differs between two runs and one: $(diff "$work/two-runs/$file" "out/$file")"
done
echo "the dependency files of both ways are the same, byte for byte"
export ZARN_DEPS=showincludes
touches_rebuild_their_dependents
unset ZARN_DEPS

echo "== run"
if [ ! -x "$wine" ]; then
    echo "SKIPPED running out/app.exe: $wine is not installed (Debian package wine64)"
    exit 0
fi
start_wine_server
status=0
WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" out/app.exe "notes file.txt" 5 \
    >"$work/run.out" 2>"$work/run.err" || status=$?
output=$(tr -d '\r' <"$work/run.out")
expected='sum=15 scaled=30 greeting=Hello from greet.dll
read back from "notes file.txt"'
if [ "$status" != 5 ] || [ "$output" != "$expected" ]; then
    cat "$work/run.err"
    fail "out/app.exe exited with $status and printed '$output'"
fi
echo "out/app.exe printed '$expected' and exited with status 5"
