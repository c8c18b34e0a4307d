# What the end-to-end scripts share (sourced): failing with a message, and a scratch directory
# with a Wine prefix of its own, both gone when the script ends.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

wine=/usr/lib/wine/wine64

# Makes $work, a fresh directory named after the script's subject, with $wine_prefix inside it.
make_work_directory() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/zarn-$1.XXXXXX")
    wine_prefix=$work/wineprefix
    trap remove_work_directory EXIT
}

remove_work_directory() {
    # Wine leaves its server and services running after the program ends.
    if [ -d "$wine_prefix" ]; then
        WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
        WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
    fi
    rm -rf "$work"
}

# Makes the Wine prefix and keeps one Wine server up for it until the script ends: a program
# that starts just as a server started by the one before is leaving fails ("recvmsg: Connection
# reset by peer"), with a status that tells nothing.
start_wine_server() {
    mkdir -p "$wine_prefix"
    WINEPREFIX=$wine_prefix /usr/lib/wine/wineserver -p
}
