#!/usr/bin/env bash
# Prints "URI KEYRING" of the machine's own apt entry for the given Debian
# suite (for instance bookworm), read from its apt configuration: deb822
# .sources files first, then one-line .list files. KEYRING may be empty.
# Exits 1 when no entry names the suite.
set -euo pipefail
suite=$1
shopt -s nullglob

for file in /etc/apt/sources.list.d/*.sources; do
    # Stanzas are separated by blank lines; fields are "Name: value".
    awk -v suite="$suite" '
        function flush() {
            if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uris != "" &&
                enabled != "no") {
                split(uris, u, " ")
                print u[1], keyring
                found = 1
                exit
            }
            types = suites = uris = keyring = enabled = ""
        }
        /^[ \t]*#/ { next }
        /^[ \t]*$/ { flush(); next }
        {
            name = tolower($1); sub(/:$/, "", name)
            value = $0; sub(/^[^:]*:[ \t]*/, "", value)
            if (name == "types") types = value
            else if (name == "suites") suites = value
            else if (name == "uris") uris = value
            else if (name == "signed-by") keyring = value
            else if (name == "enabled") enabled = tolower(value)
        }
        END { if (!found) flush(); exit !found }
    ' "$file" && exit 0
done

for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$file" ] || continue
    # deb [options] URI suite components...
    awk -v suite="$suite" '
        $1 != "deb" { next }
        {
            keyring = ""; i = 2
            if ($2 ~ /^\[/) {
                for (; i <= NF; i++) {
                    if ($i ~ /^\[?signed-by=/) { keyring = $i; sub(/^\[?signed-by=/, "", keyring); sub(/\]$/, "", keyring) }
                    if ($i ~ /\]$/) { i++; break }
                }
            }
            if ($(i + 1) == suite) { print $i, keyring; found = 1; exit }
        }
        END { exit !found }
    ' "$file" && exit 0
done
exit 1
