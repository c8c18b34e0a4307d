#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what lands where: zarn on the user's
# PATH, the man page, and the adapters off it in libexec/zarn with the C runtime beside them,
# building a C program, and a C++ one when the C++ library is built, from there with nothing
# but PATH set.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2

prefix=$(mktemp -d "${TMPDIR:-/tmp}/zarn-install.XXXXXX")
wine_prefix=$prefix/wineprefix
cleanup() {
    if [ -d "$wine_prefix" ]; then
        WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
        WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
    fi
    rm -rf "$prefix"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/zarn" ] || fail "bin/zarn is not installed"
[ -f "$prefix/share/man/man1/zarn.1" ] || fail "share/man/man1/zarn.1 is not installed"
for tool in cl.exe link.exe lib.exe rc.exe cvtres.exe bare/cl bare/link bare/lib; do
    [ -x "$prefix/libexec/zarn/$tool" ] || fail "libexec/zarn/$tool is not installed"
    [ ! -e "$prefix/bin/$tool" ] || fail "bin/$tool would put it on the user's PATH"
done
[ "$(ls "$prefix/bin" | xargs)" = "zarn zarn-windres" ] ||
    fail "bin holds more than zarn and zarn-windres: $(ls "$prefix/bin")"
# The directories that go on PATH before the system's hide none of its commands (coreutils'
# link above all, so that "command -v link" stays /usr/bin/link), in the build and installed.
system_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
for directory in "$build/toolchain" "$build" "$prefix/libexec/zarn" "$prefix/bin"; do
    for name in $(find "$directory" -maxdepth 1 ! -type d -perm -u+x -printf '%f\n'); do
        ! found=$(PATH=$system_path command -v "$name") || fail "$directory/$name hides $found"
    done
done

"$prefix/bin/zarn" --zarnversion >/dev/null || fail "the installed zarn does not run"
# The installed adapters still find each other's tools and work from the prefix.
work=$prefix/work
mkdir "$work"
printf 'int f(void) { return 1; }\n' >"$work/a.c"
(cd "$work" && PATH="$prefix/libexec/zarn:$PATH" "$prefix/bin/zarn" -c a.c -o a.obj &&
    PATH="$prefix/libexec/zarn:$PATH" "$prefix/bin/zarn" -lib -o a.lib a.obj) ||
    fail "zarn through the installed adapters failed"
[ -s "$work/a.lib" ] || fail "no library from the installed adapters"
echo "installed: bin/zarn, share/man/man1/zarn.1, libexec/zarn/{cl,link,lib}.exe"

runtime=$prefix/libexec/zarn/runtime
for file in lib/libcmt.lib lib/libcmtd.lib lib/msvcrt.lib lib/msvcrtd.lib lib/oldnames.lib \
    lib/ucrtbase.lib lib/kernel32.lib include/stdlib.h; do
    [ -s "$runtime/$file" ] || fail "libexec/zarn/runtime/$file is not installed"
done
# The README's hello.c, with only the prefix's bin and libexec/zarn added to the system's PATH.
printf '#include <stdio.h>\nint main(void){puts("hi");return 3;}\n' >"$work/hello.c"
(cd "$work" && env -i PATH="$prefix/bin:$prefix/libexec/zarn:/usr/bin:/bin" \
    zarn -o hello.exe hello.c) || fail "the installed zarn and adapters did not build hello.c"
if [ -x /usr/lib/wine/wine64 ]; then
    mkdir "$wine_prefix"
    status=0
    output=$(cd "$work" && WINEPREFIX=$wine_prefix WINEDEBUG=-all /usr/lib/wine/wine64 hello.exe \
        2>/dev/null | tr -d '\r') || status=$?
    [ "$output" = hi ] && [ "$status" = 3 ] ||
        fail "hello.exe printed '$output' and exited with $status, not 'hi' and 3"
    echo "hello.c built from the installed tree prints hi and exits with status 3"
else
    echo "hello.c built from the installed tree (not run: /usr/lib/wine/wine64 is not installed)"
fi

# The C++ library and the headers in any case, from where they are installed.
[ -f "$build/toolchain/runtime/lib/libc++.lib" ] || {
    echo "the C++ library is not built: no C++ program from the installed tree"
    exit 0
}
[ -s "$runtime/lib/libc++.lib" ] || fail "libexec/zarn/runtime/lib/libc++.lib is not installed"
grep -q "'$runtime/include'" "$runtime/headers_any_case.yaml" ||
    fail "the installed headers_any_case.yaml does not name the installed headers"
printf '#include <Windows.h>\n#include <iostream>\n#include <vector>\nint main() { std::vector<int> v{1, 2}; std::cout << v.size() << std::endl; return 0; }\n' \
    >"$work/hello.cpp"
(cd "$work" && env -i PATH="$prefix/bin:$prefix/libexec/zarn:/usr/bin:/bin" \
    zarn -o hello_cxx.exe hello.cpp /EHsc) || fail "the installed tree did not build hello.cpp"
if [ -x /usr/lib/wine/wine64 ]; then
    output=$(cd "$work" && WINEPREFIX=$wine_prefix WINEDEBUG=-all /usr/lib/wine/wine64 \
        hello_cxx.exe 2>/dev/null | tr -d '\r') || fail "hello_cxx.exe failed"
    [ "$output" = 2 ] || fail "hello_cxx.exe printed '$output', not 2"
fi
echo "hello.cpp with <Windows.h> and <iostream> built from the installed tree"
