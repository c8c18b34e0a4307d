#!/usr/bin/env bash
# Small C and C++ programs built through zarn and the LLVM adapters with nothing set but PATH,
# as a new user would build them, then run under Wine: what the C runtime must do for them.
#
#   runtime_test.sh ZARN TOOLCHAIN_DIR PROGRAMS_DIR
set -euo pipefail

zarn=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
toolchain=$(cd "$2" && pwd)
programs=$(cd "$3" && pwd)

source "$(dirname "$0")/common.sh"

[ -f "$toolchain/runtime/lib/libcmt.lib" ] ||
    fail "the C runtime is not built in $toolchain/runtime (needs LLVM and libwine-dev)"

make_work_directory runtime

cp -R "$programs/." "$work/"
cd "$work"

# zarn with the adapters first on PATH and no other variable: no INCLUDE, no LIB.
user_path="$toolchain:$(dirname "$zarn"):/usr/bin:/bin"
zarn_alone() {
    env -i PATH="$user_path" "$@"
}
build() {
    zarn_alone zarn "$@" >build.log 2>&1 || {
        cat build.log
        fail "zarn $* failed"
    }
}

echo "== building"
build -c plugin.cpp -o plugin.obj
build -dll -o plugin.dll plugin.obj
cxx_library=no
[ -f "$toolchain/runtime/lib/libc++.lib" ] && cxx_library=yes
if [ $cxx_library = yes ]; then
    build -c text_library.cpp -o text_library.obj /EHsc
    build -dll -o text_library.dll text_library.obj
fi
# Program | sources | zarn options | arguments, as shell words | exit status | standard output,
# lines separated by \n | a text standard error must hold
rows=$(
    cat <<'ROWS'
hello|hello.c|||3|hi|
hello built with /MD|hello.c|/MD||3|hi|
hello built with /MTd|hello.c|/MTd||3|hi|
arguments with blanks and quotes|arguments.c||plain "two words" 'say "hi"' ""|0|4: [plain] [two words] [say "hi"] []|
a file written and read back|file_round_trip.c|||0|read line 1\nread line 2|
atexit order and exit status|exit_order.c|||1|registered second, runs first\nregistered first, runs last|
64 KB frames|stack_probe.c|||0|589815|
/GS, a short copy|stack_cookie.c|/GS|short|0|copied 5 bytes|
/GS, an overrun|stack_cookie.c|/GS|a-text-much-longer-than-sixteen-bytes-that-overruns-the-array|9||stack buffer overrun detected
a DLL with DllMain, printf and a C++ global|use_plugin.c|plugin.lib||0|plugin global constructed\nplugin attached\nplugin_twice(21)\nmain got 42\nplugin detached\nplugin global destroyed|
C++ globals, local statics, new, exceptions|cxx_globals.cpp|/EHsc||0|construct first\nconstruct second\nconstruct local\nconstruct heap\ndestroy heap\ncaught 6\nmain ends\ndestroy local\ndestroy second\ndestroy first|
wmain|wide_main.c||"wide words"|4|wmain got [wide words]|
WinMain|win_main.c||one "two three"|7|WinMain got [one "two three"] with its instance|
main for the Windows subsystem, as gcc's -mwindows links it|hello.c|--zarngcc -mwindows||3|hi|
_Thread_local in two threads|thread_local.c|||0|main 41, other thread 42|
old POSIX names, one defined by the program|old_names.c|||0|hello 0|
a program's own strlwr, mode_t and wint_t beside the C runtime's headers; sys_errlist|own_definitions.c|/WX||0|own -1 old name 4294967295 1|
intrinsics without processor options|simd.c|-O2||0|intrinsics ok, 9|
Microsoft's intrinsics called without a declaration|ms_intrinsics.c|/WX||0|4 63 3 fffffffffffffffc 42|
a child started by _spawnl and _wspawnv writes after the program|spawn_order.c|/WX||0|first\nchild one\nthen\nchild two\nlast 3 3|
a Windows DLL named with -l|user_library.c|-luser32||0|UPPER|
headers in any case, types and functions as a Windows SDK has them|sdk_headers.c|/WX||0|123 7 1 644 1|
__try, __except and __finally with GetExceptionCode|structured_exceptions.c|||0|finally, abnormal 1\ncaught 0xC0000005|
a null write with a SIGSEGV handler|null_write.c||handler|4|signal 11|
a null write without a handler ends with the access violation's code|null_write.c|||5||
the same, a second run|null_write.c|||5||
the same, a third run|null_write.c|||5||
ROWS
)
# What needs the C++ standard library, with the options Microsoft's documentation gives.
cxx_rows=$(
    cat <<'ROWS'
the README's hello.cpp|hello.cpp|/EHsc||0|hello from C++\nand an exception, caught|
containers and strings|standard_library.cpp|/EHsc /std:c++17|containers|0|4 1 long --|
iostream and sstream|standard_library.cpp|/EHsc /std:c++17|streams|0|ff 2.5 18 words|
an fstream round trip|standard_library.cpp|/EHsc /std:c++17|files|0|line one, 2|
runtime_error caught as exception&|standard_library.cpp|/EHsc /std:c++17|exceptions|0|caught thrown as runtime_error|
new throws bad_alloc|standard_library.cpp|/EHsc /std:c++17|bad_alloc|0|bad_alloc|
threads with a mutex|standard_library.cpp|/EHsc /std:c++17|threads|0|40000|
exception_ptr|standard_library.cpp|/EHsc /std:c++17|exception_ptr|0|rethrown stored|
filesystem|standard_library.cpp|/EHsc /std:c++17|filesystem|0|2 5 0|
type_info names as Microsoft's runtime gives them|standard_library.cpp|/EHsc /std:c++17|typeid|0|struct Derived, int|
a DLL returning a std::string and throwing into the program|use_text_library.cpp|/EHsc text_library.lib||0|30\ncaught refused 7|
an uncaught exception runs the terminate handler|terminate.cpp|/EHsc|handler|7|terminate handler|
an uncaught exception aborts by default|terminate.cpp|/EHsc||3||
std::terminate() aborts by default|terminate.cpp|/EHsc|direct|3||
wide Win32 calls from C++|wide_calls.cpp|/EHsc /WX||0|12 set from C++|
ROWS
)
if [ $cxx_library = yes ]; then
    rows+=$'\n'"$cxx_rows"
else
    echo "SKIPPED the C++ standard library's programs: it is not built in $toolchain/runtime"
fi

names=()
declare -A built=()
while IFS='|' read -r name sources options _; do
    executable="program-${#names[@]}.exe"
    # Rows that only differ in how the program runs share one build.
    if [ -n "${built["$sources $options"]:-}" ]; then
        cp "${built["$sources $options"]}" "$executable"
    else
        # shellcheck disable=SC2086 # the options are words
        build -o "$executable" $sources $options
        built["$sources $options"]=$executable
    fi
    names+=("$name")
done <<<"$rows"
echo "built ${#built[@]} programs for ${#names[@]} rows, and the DLLs"

echo "== the runtime's headers in a dependency file"
build -c hello.c -o hello.obj -MD -MT hello.obj -MF hello.d
for header in /usr/include/wine/wine/msvcrt/stdio.h /usr/include/wine/wine/msvcrt/corecrt.h; do
    grep -qx "	$header \\\\" hello.d || fail "hello.d does not list $header: $(cat hello.d)"
done
echo "hello.d lists Wine's stdio.h and corecrt.h by their POSIX names"

echo "== dependency files from one compiler run (ZARN_DEPS=showincludes) are the same"
# The sources of the programs above.
sources=$(cut -d'|' -f2 <<<"$rows" | tr ' ' '\n' | grep -E '\.(c|cpp)$' | sort -u)
for source in $sources; do
    options=()
    [ "${source##*.}" = cpp ] && options=(/EHsc /std:c++17)
    build -c "$source" -o deps.obj -MD -MT deps.obj -MF two.d -MP "${options[@]}"
    zarn_alone ZARN_DEPS=showincludes zarn -c "$source" -o deps.obj -MD -MT deps.obj -MF one.d \
        -MP "${options[@]}" >build.log 2>&1 || fail "$source with one compiler run: $(cat build.log)"
    cmp two.d one.d || fail "$source: the dependency files differ: $(diff two.d one.d)"
done
echo "the same, byte for byte, for $(wc -w <<<"$sources") sources"

echo "== the user's INCLUDE comes first, and ZARN_NO_RUNTIME=1 keeps the runtime out"
mkdir "own headers"
printf '#define OWN_STDLIB 1\n' >"own headers/stdlib.h"
printf '#include <stdlib.h>\n#ifndef OWN_STDLIB\n#error not the own stdlib.h\n#endif\n' >own.c
zarn_alone INCLUDE="$work/own headers" zarn -c own.c -o own.obj >own.log 2>&1 ||
    fail "a stdlib.h of the user's INCLUDE did not win: $(cat own.log)"
if zarn_alone ZARN_NO_RUNTIME=1 zarn -c hello.c -o off.obj >off.log 2>&1; then
    fail "hello.c compiled with ZARN_NO_RUNTIME=1"
fi
grep -q "'stdio.h' file not found" off.log || fail "unexpected error: $(cat off.log)"
if zarn_alone ZARN_NO_RUNTIME=1 zarn -c hello.cpp -o off.obj /EHsc >off.log 2>&1; then
    fail "hello.cpp compiled with ZARN_NO_RUNTIME=1"
fi
grep -q "'iostream' file not found" off.log || fail "unexpected error: $(cat off.log)"
echo "own stdlib.h used; without the runtime stdio.h and iostream are not found"

echo "== intrinsics use their instructions only in themselves; an undeclared name is an error"
build -c simd.c -o simd.obj -O2
outside=$(llvm-objdump -d --no-show-raw-insn simd.obj |
    awk '/^[0-9a-f]+ </ { function_name = $2 } /aesenc|pshufb|ymm/ && function_name !~ /^<_mm/ { print function_name }' |
    sort -u | xargs)
[ -z "$outside" ] || fail "AES, SSSE3 or AVX instructions outside the intrinsics, in: $outside"
printf 'int main(void) {\n#ifndef strchr\n    (void) strchr;\n#endif\n    return 0;\n}\n' >undeclared.c
if zarn_alone zarn -c undeclared.c -o undeclared.obj >undeclared.log 2>&1; then
    fail "(void) strchr; without <string.h> compiled"
fi
grep -q "implicitly declaring library function 'strchr'" undeclared.log ||
    fail "unexpected error: $(cat undeclared.log)"
echo "only the intrinsics' own functions use them; (void) strchr; alone is an error"

echo "== running"
if [ ! -x "$wine" ]; then
    echo "SKIPPED running the programs: $wine is not installed (Debian package wine64)"
    exit 0
fi
start_wine_server
index=0
while IFS='|' read -r name _ _ arguments status output error_text; do
    executable="program-$index.exe"
    index=$((index + 1))
    eval "words=($arguments)"
    actual_status=0
    WINEPREFIX=$wine_prefix WINEDEBUG=-all "$wine" "$executable" "${words[@]}" \
        >run.out 2>run.err || actual_status=$?
    actual_output=$(tr -d '\r' <run.out)
    expected_output=$(printf '%b' "$output")
    if [ "$actual_status" != "$status" ] || [ "$actual_output" != "$expected_output" ] ||
        { [ -n "$error_text" ] && ! grep -qF -- "$error_text" run.err; }; then
        echo "-- standard output:"
        cat run.out
        echo "-- standard error:"
        cat run.err
        fail "$name: exit status $actual_status (expected $status)"
    fi
    echo "ok: $name"
done <<<"$rows"
