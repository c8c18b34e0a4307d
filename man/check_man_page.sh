#!/usr/bin/env bash
# Formats the man page with every groff warning on; any warning, or a missing section, fails.
set -euo pipefail
page=$1

command -v groff >/dev/null || { echo "FAIL: groff is not installed (Debian package groff-base)" >&2; exit 1; }
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1) || { echo "$warnings" >&2; exit 1; }
if [ -n "$warnings" ]; then
    echo "FAIL: groff warns about $page:" >&2
    echo "$warnings" >&2
    exit 1
fi
for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT "EXIT STATUS" FILES EXAMPLES; do
    grep -qx "\.SH \"\{0,1\}$section\"\{0,1\}" "$page" || { echo "FAIL: no $section section" >&2; exit 1; }
done
echo "$page: no warnings, every section present"
