#!/usr/bin/env bash
# Checks the Linux packages of a preset as Debian and a user meet them:
#   1. lintian: no error and no warning (info and pedantic tags are shown);
#   2. the .tar.gz holds the same tree as the .deb;
#   3. with --install (as root, on Debian): apt installs the .deb, calka and
#      wartosc run from PATH with their exact output, man finds the English
#      and Polish pages, and a purge leaves none of the package's files.
#   bash scripts/check-deb.sh PRESET [--install]
# The packages must have been made first (cpack --preset PRESET).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
install=${2:-}
packages=build/$preset/packages
deb=$(ls "$packages"/obliczenia_*.deb)
tgz=$(ls "$packages"/obliczenia-*.tar.gz)
echo "== $deb ($(stat -c %s "$deb") bytes), $tgz ($(stat -c %s "$tgz") bytes)"
dpkg-deb --field "$deb" Package Version Architecture Depends Installed-Size

echo "== lintian"
lintian --fail-on error,warning --display-info --pedantic --display-experimental "$deb"
echo "lintian: no error, no warning"

echo "== the same tree in both packages"
deb_tree=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's#^\./##' -e 's#^usr/\{0,1\}##' -e 's#/$##' |
    grep -v '^$' | sort)
tgz_tree=$(tar -tzf "$tgz" | sed -e 's#^[^/]*/##' -e 's#/$##' | grep -v '^$' | sort)
if [ "$deb_tree" != "$tgz_tree" ]; then
    diff <(echo "$deb_tree") <(echo "$tgz_tree") || true
    echo "FAILED: the .deb (<) and the .tar.gz (>) hold different trees"
    exit 1
fi
echo "$(echo "$deb_tree" | wc -l) entries, the same in both"

[ "$install" = --install ] || exit 0

echo "== install, use and purge"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "./$deb" > /dev/null
for program in calka wartosc; do
    path=$(command -v "$program")
    [ "$path" = "/usr/bin/$program" ] || { echo "FAILED: $program found at '$path'"; exit 1; }
    python3 tests/process/run_case.py --program "$program" --case exact_output -- "$program"
    for language in en pl; do
        page=$(man -L "$language" -w "$program")
        case "$language:$page" in
        en:/usr/share/man/man1/"$program".1.gz | pl:/usr/share/man/pl/man1/"$program".1.gz)
            echo "man -L $language -w $program: $page" ;;
        *) echo "FAILED: man -L $language -w $program gives '$page'"; exit 1 ;;
        esac
    done
done
files=$(dpkg -L obliczenia)
apt-get purge -y -qq obliczenia > /dev/null
left=()
while IFS= read -r path; do
    # Shared folders such as /usr/bin stay; a file or a folder of its own must go.
    if [ -e "$path" ] && { [ ! -d "$path" ] || [ "$path" = /usr/share/doc/obliczenia ]; }; then
        left+=("$path")
    fi
done <<< "$files"
if dpkg -s obliczenia > /dev/null 2>&1; then
    echo "FAILED: dpkg still knows the package after the purge"
    exit 1
fi
if [ ${#left[@]} -gt 0 ]; then
    printf 'FAILED: left after the purge: %s\n' "${left[@]}"
    exit 1
fi
echo "purged: none of the $(echo "$files" | wc -l) paths of the package is left"
