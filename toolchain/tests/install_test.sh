#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what lands where: zarn on the user's
# PATH, the man page, and the adapters off it in libexec/zarn, working from there.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2

prefix=$(mktemp -d "${TMPDIR:-/tmp}/zarn-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/zarn" ] || fail "bin/zarn is not installed"
[ -f "$prefix/share/man/man1/zarn.1" ] || fail "share/man/man1/zarn.1 is not installed"
for tool in cl.exe link.exe lib.exe; do
    [ -x "$prefix/libexec/zarn/$tool" ] || fail "libexec/zarn/$tool is not installed"
    [ ! -e "$prefix/bin/$tool" ] || fail "bin/$tool would put it on the user's PATH"
done
[ "$(ls "$prefix/bin")" = zarn ] || fail "bin holds more than zarn: $(ls "$prefix/bin")"

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
