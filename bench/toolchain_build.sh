#!/usr/bin/env bash
# A full clean build of examples/sample through zarn and the LLVM adapters, against the same
# tool runs made directly with LLVM's tools: for each source a preprocessing run (what -MD
# costs) and a compile, then the archive, the DLL and the program, with the C runtime's
# headers and libraries on INCLUDE and LIB as the adapters put them.
# Both are serial, so the difference is what zarn and the adapters add.
# Usage: bench/toolchain_build.sh [ROUNDS]   (from the top, after building zarn in $BUILD)
set -euo pipefail
rounds=${1:-3}
build=$(cd "${BUILD:-build}" && pwd)
sample=$PWD/examples/sample
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

first_of() {
    local name
    for name in "$@"; do
        command -v "$name" && return 0
    done
    echo "none of $* is installed" >&2
    exit 1
}
clang_cl=$(first_of clang-cl clang-cl-14)
lld_link=$(first_of lld-link lld-link-14)
llvm_lib=$(first_of llvm-lib llvm-lib-14)
wine_include=/usr/include/wine/wine
runtime=$build/toolchain/runtime

through_zarn() {
    make --no-print-directory -s -C "$sample" CC="$build/zarn" TOOLCHAIN="$build/toolchain" \
        O="$1" >/dev/null
}

# The command lines zarn's build hands the adapters, as the adapters pass them on.
direct() {
    local out=$1 source object
    local flags=(/nologo /c /Ogityb2 /Gs /Zi "/Icalc/public headers" /Igreet)
    export INCLUDE="$runtime/include;$wine_include/msvcrt;$wine_include/windows"
    export LIB="$runtime/lib;/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
    mkdir -p "$out/calc" "$out/greet" "$out/app"
    cd "$sample"
    for source in calc/sum.c calc/scale.c calc/format.c app/main.c greet/greet.cpp; do
        object=$out/${source%.*}.obj
        local defines=(/DCALC_SCALE_FACTOR=2)
        local language=/Tc
        if [ "$source" = greet/greet.cpp ]; then
            defines+=(/DGREET_BUILD)
            language=/Tp
        fi
        "$clang_cl" /E "${flags[@]}" "/Fo$object" "${defines[@]}" /clang:-fuse-line-directives \
            "$language$source" >/dev/null
        "$clang_cl" "${flags[@]}" "/Fo$object" "${defines[@]}" "$language$source"
    done
    "$llvm_lib" /nologo "/OUT:$out/calc.lib" "$out/calc/sum.obj" "$out/calc/scale.obj" \
        "$out/calc/format.obj"
    "$lld_link" /nologo /dll "/OUT:$out/greet.dll" /DEBUG /INCREMENTAL:NO "$out/greet/greet.obj"
    "$lld_link" /nologo "/OUT:$out/app.exe" /DEBUG /INCREMENTAL:NO "$out/app/main.obj" \
        "$out/calc.lib" "$out/greet.lib"
    cd - >/dev/null
}

now() {
    date +%s.%N
}

# Seconds of the fastest of the rounds, each into a fresh output directory.
fastest() {
    local how=$1 best="" round start seconds
    for round in $(seq "$rounds"); do
        start=$(now)
        "$how" "$work/$how-$round"
        seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')
        [ -f "$work/$how-$round/app.exe" ] || { echo "$how made no app.exe" >&2; exit 1; }
        if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$seconds
        fi
    done
    echo "$best"
}

zarn_seconds=$(fastest through_zarn)
direct_seconds=$(fastest direct)
echo "clean build of examples/sample, serial, fastest of $rounds:"
echo "  through zarn and the adapters: $zarn_seconds s"
echo "  LLVM tools called directly:    $direct_seconds s"
