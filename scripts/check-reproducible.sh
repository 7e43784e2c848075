#!/usr/bin/env bash
# Builds the last commit twice, in two fresh clones in different folders and
# at different times, with nothing set in the environment, and checks that
# the programs and the packages come out byte for byte the same.
# Where they differ, diffoscope shows how.
#   bash scripts/check-reproducible.sh [PRESET]      (default: default)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
# The second build goes to another file system where there is one (tmpfs
# lists a folder's files in another order than ext4 and gives directories
# other sizes), so nothing of the file system may leak into a package either.
first=$(mktemp -d)
second=$(mktemp -d -p /dev/shm 2> /dev/null || mktemp -d)
trap 'rm -rf "$first" "$second"' EXIT

build() {
    local dir=$1
    git clone --quiet --no-local . "$dir"
    (
        cd "$dir"
        unset SOURCE_DATE_EPOCH
        cmake --preset "$preset" -DBUILD_TESTING=OFF -DPROJECT_BENCHMARKS=OFF > build.log 2>&1 &&
            cmake --build --preset "$preset" >> build.log 2>&1 &&
            cpack --preset "$preset" >> build.log 2>&1
    ) || { tail -30 "$dir/build.log"; return 1; }
}

build "$first/obliczenia"
sleep 2 # a different second for every time stamp that might leak in
build "$second/a-longer-folder-name/obliczenia"

status=0
found=0
# The packages, and the programs as the build leaves them (before cpack
# strips them, which may hide a difference).
for package in "$first/obliczenia/build/$preset/packages/"*.{deb,tar.gz,zip} \
    "$first/obliczenia/build/$preset/bin/"{calka,wartosc}{,.exe}; do
    [ -e "$package" ] || continue
    found=$((found + 1))
    name=${package#"$first/obliczenia/"}
    other="$second/a-longer-folder-name/obliczenia/$name"
    if cmp -s "$package" "$other"; then
        echo "same bytes: $name ($(stat -c %s "$package") bytes, sha256 $(sha256sum < "$package" | cut -c1-16))"
    else
        echo "DIFFERENT: $name"
        if command -v diffoscope > /dev/null; then
            diffoscope --text - "$package" "$other" | head -200 || true
        else
            echo "(install diffoscope to see how they differ)"
        fi
        status=1
    fi
done
if [ "$found" -eq 0 ]; then
    echo "no package was made for preset $preset"
    exit 1
fi
exit $status
