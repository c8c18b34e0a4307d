#!/bin/sh
# Fetches LLVM's libc++ from Debian 12's source package llvm-toolchain-14 into a cache directory,
# once: through an apt configuration of its own (no root needed, the system's apt state left
# alone) from the Debian mirror the system already uses, which apt checks against the archive's
# signed index. Only what the C++ library's build needs is kept: libcxx/include, libcxx/src and
# compiler-rt's builtins. The directory appears whole or not at all.
#   fetch_libcxx.sh SOURCE_DIR CMAKE
# (CMAKE unpacks the xz archive, which needs no xz program.)
set -eu
source_dir=$1
cmake=$2
[ ! -f "$source_dir/version" ] || exit 0
command -v apt-get >/dev/null || { echo "apt-get is not installed" >&2; exit 1; }
cache=$(dirname "$source_dir")
mkdir -p "$cache"
work=$(mktemp -d "$cache/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM

# The first Debian 12 ("bookworm") mirror of the system's own sources, in either format.
system_mirror() {
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             { types = uris = suites = ""
               for (i = 1; i <= NF; i++) {
                   if ($i ~ /^Types:/) types = $i " "
                   else if ($i ~ /^URIs:/) uris = $i
                   else if ($i ~ /^Suites:/) suites = $i " "
               }
               if (types ~ /[ \t]deb[ \t]/ && suites ~ /[ \t]bookworm[ \t]/) {
                   split(uris, words, /[ \t]+/); print words[2]; exit
               } }' "$file"
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" { i = 2
                           if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
                           if ($(i + 1) == "bookworm") { print $i; exit } }' "$file"
    done
}
mirror=$(system_mirror | head -n 1)
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
options=""
[ ! -f "$keyring" ] || options="[signed-by=$keyring] "
echo "deb-src ${options}$mirror bookworm main" >"$work/sources.list"
mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/download" \
    "$work/tree"
run_apt() {
    apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts" \
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1 \
        -o APT::Sandbox::User="$(id -un)" "$@"
}
echo "-- fetching llvm-toolchain-14's source from $mirror"
run_apt update >"$work/apt.log" 2>&1 &&
    (cd "$work/download" && run_apt source --download-only llvm-toolchain-14) >>"$work/apt.log" 2>&1 ||
    { grep -E '^(E|W|Err):' "$work/apt.log" | head -n 3 >&2; exit 1; }

tarball=$(ls "$work"/download/llvm-toolchain-14_*.orig.tar.xz 2>/dev/null) || {
    grep -E '^(E|W|Err):' "$work/apt.log" | head -n 3 >&2
    exit 1
}
top=$(basename "$tarball" .orig.tar.xz)
echo "-- extracting libc++ from $(basename "$tarball")"
(cd "$work/tree" && "$cmake" -E tar xf "$tarball" "$top/libcxx/include" "$top/libcxx/src" \
    "$top/libcxx/LICENSE.TXT" "$top/compiler-rt/lib/builtins")
sed -n 's/^Version: //p' "$work"/download/*.dsc >"$work/tree/$top/version"
# Another build may have fetched it meanwhile; either copy is whole.
mv -T "$work/tree/$top" "$source_dir" 2>/dev/null || [ -f "$source_dir/version" ]
