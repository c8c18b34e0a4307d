#!/bin/sh
# Keeps LLVM's libc++ from Debian 12's source package llvm-toolchain-14 in a cache directory,
# checked against its manifest at every configure and fetched anew when it is missing or damaged.
#
# A fetch goes through an apt configuration of its own (no root needed, the system's apt state
# left alone) to the Debian mirror the system already uses, which apt checks against the
# archive's signed index. Only what the C++ library's build needs is kept: libcxx/include,
# libcxx/src and compiler-rt's builtins, with a manifest of each file's size and SHA-256 written
# last. The new tree takes the old one's place in one step (EXCHANGE), so that a build reading
# the cache meanwhile sees one tree or the other, whole. Fetches take turns through a lock file
# beside the tree; a temporary directory left by a fetch that was killed goes with the next one.
#
# The check compares every file's size with the manifest at each run, and hashes the files
# changed since the last check recorded in CHECKED (all of them when the manifest is newer, or
# without a record).
#
#   fetch_libcxx.sh SOURCE_DIR CMAKE EXCHANGE [CHECKED]
# CMAKE unpacks the xz archive, which needs no xz program; EXCHANGE is exchange_directories.
# Status 0 once the tree is whole; otherwise 1, the cause on the last line of standard error.
set -eu
source_dir=$1
cmake=$2
exchange=$3
checked=${4:-}
cache=$(dirname "$source_dir")
lock=$source_dir.lock

fail() {
    echo "$*" >&2
    exit 1
}

# Says what is wrong with the tree in one line, or nothing when it is whole.
damage() {
    [ -e "$source_dir" ] || {
        echo "it is not there"
        return 0
    }
    [ -f "$source_dir/manifest" ] || {
        echo "it has no manifest (a fetch that did not finish, or one made before manifests)"
        return 0
    }
    (cd "$source_dir" && find . ! -type d ! -path ./manifest -printf '%s %P\n') |
        awk 'NR == FNR { path = $0; sub(/^[^ ]* [^ ]* /, "", path); size[path] = $1; next }
             { path = substr($0, index($0, " ") + 1)
               if (!(path in size)) { print path " is not in the manifest"; exit }
               if (size[path] != $1) {
                   print path " has " $1 " bytes, not " size[path]; exit
               }
               delete size[path] }
             END { for (path in size) { print path " is missing"; exit } }' \
            "$source_dir/manifest" - | head -n 1 | grep . && return 0
    hashed_files | hash_damage
}

# The manifest's lines of the files whose contents are to be hashed.
hashed_files() {
    if [ -z "$checked" ] || [ ! -f "$checked" ] || [ "$(cat "$checked")" != "$source_dir" ] ||
        [ -n "$(find "$source_dir/manifest" -newer "$checked")" ]; then
        cat "$source_dir/manifest"
        return
    fi
    (cd "$source_dir" && find . ! -type d ! -path ./manifest -newer "$checked" -printf '%P\n') |
        awk 'NR == FNR { changed[$0]; next }
             { path = $0; sub(/^[^ ]* [^ ]* /, "", path); if (path in changed) print }' \
            - "$source_dir/manifest"
}

# Reads manifest lines and says which file's contents differ, if one does.
hash_damage() {
    awk '{ path = $0; sub(/^[^ ]* [^ ]* /, "", path); print $2 "  " path }' |
        (cd "$source_dir" && LC_ALL=C sha256sum --check --quiet - 2>/dev/null) |
        sed -n 's/: FAILED$/ has other contents than its manifest says/p' | head -n 1
}

# Notes the check as made, with the time it started, so that what changed since is hashed next.
record_check() {
    [ -n "$checked" ] || return 0
    echo "$source_dir" >"$checked.new"
    touch -d "@$1" "$checked.new"
    mv -f "$checked.new" "$checked"
}

# Removes what killed fetches left, when no fetch is running; quietly gives up otherwise.
remove_stale_fetches() {
    for stale in "$cache"/fetch.*; do
        [ -d "$stale" ] || continue
        (flock -n 9 && rm -rf "$cache"/fetch.*) 2>/dev/null 9>>"$lock" || true
        return 0
    done
}

started=$(date +%s)
problem=$(damage)
if [ -z "$problem" ]; then
    record_check "$started"
    remove_stale_fetches
    exit 0
fi

if [ -e "$source_dir" ]; then
    echo "-- The cached libc++ source in $source_dir is damaged: $problem; fetching it anew"
fi
error=$(mkdir -p "$cache" 2>&1) ||
    fail "the cache directory $cache cannot be made: ${error##*: }; choose another with -DZARN_CACHE_DIR=DIR"
error=$(touch "$lock" 2>&1) ||
    fail "the cache directory $cache is not writable: ${error##*: }; choose another with -DZARN_CACHE_DIR=DIR"
# The lock is the open file: it goes when this shell ends, however it ends. The long-running
# tools do not get it, so that one left running by a killed fetch holds no other fetch up.
exec 9>>"$lock"
if ! flock -n 9; then
    echo "-- Waiting for another fetch into $cache"
    flock 9
fi
# That other fetch may have made it whole.
if [ -z "$(damage)" ]; then
    record_check "$started"
    exit 0
fi
command -v apt-get >/dev/null || fail "apt-get is not installed, which fetches libc++'s source"
rm -rf "$cache"/fetch.*
work=$(mktemp -d "$cache/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM

. "$(dirname "$0")/../../debian_mirror.sh"
mirror=$(debian_mirror | head -n 1)
options=$(debian_source_options)
echo "deb-src ${options:+$options }$mirror bookworm main" >"$work/sources.list"
mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/download" \
    "$work/tree"
run_apt() {
    apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts" \
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1 \
        -o APT::Sandbox::User="$(id -un)" "$@" 9>&-
}
# apt's own words for what went wrong, on one line.
apt_failure() {
    reason=$({ grep '^W: Failed to fetch' "$work/apt.log" || grep -E '^(E|Err):' "$work/apt.log"; } |
        head -n 1)
    if grep -qE 'Temporary failure resolving|Could not resolve|Could not connect|unreachable|timed out' \
        "$work/apt.log"; then
        fail "Debian's archive at $mirror cannot be reached (no network access?): $reason"
    fi
    fail "Debian's archive at $mirror did not give llvm-toolchain-14's source: $reason"
}
echo "-- Fetching libc++ from Debian's llvm-toolchain-14 source (130 MB) from $mirror into $source_dir"
run_apt update >"$work/apt.log" 2>&1 || apt_failure
(cd "$work/download" && run_apt source --download-only llvm-toolchain-14) >>"$work/apt.log" 2>&1 ||
    apt_failure
tarball=$(ls "$work"/download/llvm-toolchain-14_*.orig.tar.xz 2>/dev/null) || apt_failure
top=$(basename "$tarball" .orig.tar.xz)
echo "-- Extracting libc++ from $(basename "$tarball")"
(cd "$work/tree" && "$cmake" -E tar xf "$tarball" "$top/libcxx/include" "$top/libcxx/src" \
    "$top/libcxx/LICENSE.TXT" "$top/compiler-rt/lib/builtins" 9>&-) >"$work/tar.log" 2>&1 ||
    fail "$(basename "$tarball") could not be unpacked: $(tail -n 1 "$work/tar.log")"
tree=$work/tree/$top
sed -n 's/^Version: //p' "$work"/download/*.dsc >"$tree/version"
# The manifest comes last, and with it the tree is whole: "SIZE SHA256 PATH" for each file.
(cd "$tree" && find . ! -type d -printf '%s %P\n' >"$work/sizes" &&
    find . ! -type d -printf '%P\0' | LC_ALL=C sort -z | xargs -0 sha256sum >"$work/hashes")
awk 'NR == FNR { size[substr($0, index($0, " ") + 1)] = $1; next }
     { print size[substr($0, 67)], $1, substr($0, 67) }' "$work/sizes" "$work/hashes" \
    >"$tree/manifest"

# In place of the old tree in one step where the file system can, else in two renames.
if [ ! -e "$source_dir" ] && [ ! -L "$source_dir" ]; then
    mv -T "$tree" "$source_dir"
else
    status=0
    "$exchange" "$tree" "$source_dir" || status=$?
    if [ $status = 2 ]; then
        mv -T "$source_dir" "$work/old" && mv -T "$tree" "$source_dir"
    elif [ $status != 0 ]; then
        fail "the fetched tree could not take the place of $source_dir"
    fi
fi
record_check "$started"
echo "-- libc++ $(cat "$source_dir/version") is in $source_dir"
