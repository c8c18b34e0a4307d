# Sourced by the scripts that fetch from Debian's archive with an apt configuration of their
# own (the C++ library's source, the compiler cache of the tests).

# The first Debian 12 ("bookworm") mirror of the system's own sources, in either format, or
# Debian's own when the system names none.
debian_mirror() {
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
    echo http://deb.debian.org/debian
}

# The options of a sources.list line that has apt check the archive's signed index with
# Debian's keyring, where it is installed.
debian_source_options() {
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    [ ! -f "$keyring" ] || echo "[signed-by=$keyring]"
}
