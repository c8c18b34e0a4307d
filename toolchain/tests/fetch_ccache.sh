#!/bin/sh
# Fetches ccache from Debian 13 ("trixie"), whose 4.11 reads zarn's command lines (Debian 12
# has 4.7), with the libraries it needs, into a directory of its own under the cache directory,
# once, and prints the directory of a "ccache" that runs it with trixie's own loader and
# libraries (nothing of the system's is replaced). Through an apt configuration of its own (no
# root needed, the system's apt state left alone) from the Debian mirror the system already
# uses, which apt checks against the archive's signed index. The directory
# (CACHE_DIR/ccache-VERSION) appears whole or not at all.
#   fetch_ccache.sh CACHE_DIR
set -eu
cache=$1

# A ccache fetched before, that runs.
for found in "$cache"/ccache-*/bin/ccache; do
    if [ -x "$found" ] && "$found" --version >/dev/null 2>&1; then
        dirname "$found"
        exit 0
    fi
done

command -v apt-get >/dev/null || { echo "apt-get is not installed" >&2; exit 1; }
command -v dpkg >/dev/null || { echo "dpkg is not installed" >&2; exit 1; }
mkdir -p "$cache"
work=$(mktemp -d "$cache/ccache-fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM

. "$(dirname "$0")/../debian_mirror.sh"
mirror=$(debian_mirror | head -n 1)
options=$(debian_source_options)
echo "deb ${options:+$options }$mirror trixie main" >"$work/sources.list"
mkdir -p "$work/parts" "$work/preferences" "$work/lists/partial" "$work/cache/archives/partial" \
    "$work/download" "$work/root"
apt_with() { # apt-get or apt-cache, with the configuration above
    "$@" -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts" \
        -o Dir::Etc::PreferencesParts="$work/preferences" \
        -o Dir::Etc::Preferences="$work/preferences/none" -o Dir::State::Lists="$work/lists" \
        -o Dir::Cache="$work/cache" -o Debug::NoLocking=1 -o APT::Sandbox::User="$(id -un)"
}
failed() {
    grep -E '^(E|W|Err):' "$work/apt.log" | head -n 3 >&2
    exit 1
}
echo "-- fetching ccache from Debian trixie at $mirror" >&2
apt_with apt-get -q update >"$work/apt.log" 2>&1 || failed
# ccache and what it depends on (the first of each alternative), trixie's versions.
packages="ccache $(apt_with apt-cache show ccache 2>>"$work/apt.log" |
    sed -n '1,/^$/s/^Depends: //p' | tr ',' '\n' | sed 's/|.*//; s/(.*//; s/[ \t]//g' |
    tr '\n' ' ')"
[ "$packages" != "ccache " ] || failed
# shellcheck disable=SC2086 # package names, one word each
(cd "$work/download" && apt_with apt-get -q download $packages) >>"$work/apt.log" 2>&1 || failed
for package in "$work"/download/*.deb; do
    dpkg -x "$package" "$work/root"
done
loader=$(ls "$work"/root/usr/lib/*/ld-linux*.so.* 2>/dev/null | head -n 1)
[ -n "$loader" ] || { echo "trixie's libc6 brought no loader" >&2; exit 1; }
libraries=${loader%/*}
libraries=${libraries#"$work/root/"}
mkdir "$work/bin"
cat >"$work/bin/ccache" <<EOF
#!/bin/sh
# trixie's ccache with trixie's loader and libraries, which the compilers it runs do not see.
root=\$(cd "\$(dirname "\$0")/../root" && pwd)
exec "\$root/$libraries/${loader##*/}" --library-path "\$root/$libraries" "\$root/usr/bin/ccache" "\$@"
EOF
chmod 755 "$work/bin/ccache"
version=$("$work/bin/ccache" --version | sed -n '1s/^ccache version //p')
[ -n "$version" ] || { echo "trixie's ccache does not run here" >&2; exit 1; }
mkdir "$work/ccache"
mv "$work/bin" "$work/root" "$work/ccache/"
# Another run may have fetched it meanwhile; either copy is whole.
mv -T "$work/ccache" "$cache/ccache-$version" 2>/dev/null || [ -x "$cache/ccache-$version/bin/ccache" ]
echo "$cache/ccache-$version/bin"
