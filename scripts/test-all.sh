#!/usr/bin/env bash
# Configures, builds and tests every preset whose toolchain is on this machine,
# then says which passed, which failed and which were skipped and why.
# With CI=true a skipped preset is a failure: CI must test them all.
set -u
cd "$(dirname "$0")/.."

# The longest (Windows, under wine) first, so that it overlaps the others.
presets=(windows-i686 default clang sanitize linux-i686 linux-arm64 linux-armhf linux-s390x)
declare -A why_skipped=()
passed=() failed=() skipped=()

probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'int main() { return 0; }\n' > "$probe_dir/probe.cpp"

have() { command -v "$1" > /dev/null 2>&1; }

# Prints nothing when the preset can be built and run here, else the reason.
missing_for() {
    case "$1" in
    default)
        have g++ || echo "g++ is not installed" ;;
    clang)
        have clang++ || echo "clang++ is not installed" ;;
    sanitize)
        g++ -fsanitize=address,undefined "$probe_dir/probe.cpp" -o "$probe_dir/asan" 2> /dev/null ||
            echo "g++ cannot link with AddressSanitizer and UndefinedBehaviorSanitizer" ;;
    linux-*)
        # A Debian cross target: its compiler and qemu's emulator for it.
        local triple cpu
        triple=$(cmake --preset "$1" -N 2> /dev/null |
            sed -n 's/^ *PROJECT_CROSS_TRIPLE="\(.*\)"$/\1/p')
        cpu=$(dpkg-architecture -t "$triple" -qDEB_HOST_GNU_CPU 2> /dev/null |
            sed 's/^i[3-6]86$/i386/')
        if ! have "$triple-g++"; then
            echo "$triple-g++ is not installed (g++-$triple)"
        elif [ -z "$cpu" ] || ! have "qemu-$cpu"; then
            echo "qemu-${cpu:-?} is not installed (qemu-user), or dpkg-architecture is missing"
        fi ;;
    windows-i686)
        if ! have i686-w64-mingw32-g++-posix; then
            echo "i686-w64-mingw32-g++-posix is not installed (g++-mingw-w64-i686)"
        elif ! wine --version > /dev/null 2>&1; then
            echo "wine cannot run 32-bit programs here (install wine32; on a kernel without" \
                "32-bit support, register qemu-i386 with binfmt_misc as .ci/run does)"
        fi ;;
    esac
}

for preset in "${presets[@]}"; do
    reason=$(missing_for "$preset")
    if [ -n "$reason" ]; then
        why_skipped[$preset]=$reason
    fi
done

# Two presets at a time by default (TEST_ALL_JOBS): much of a preset's time
# is spent waiting on programs under emulators and in their pauses. Each
# preset's output goes to build/logs/<preset>.log and is shown when it ends.
max_jobs=${TEST_ALL_JOBS:-2}
log_dir=build/logs
mkdir -p "$log_dir"
declare -A preset_of_pid=() started=()

finish_one() {
    local pid status preset
    wait -n -p pid
    status=$?
    preset=${preset_of_pid[$pid]}
    unset "preset_of_pid[$pid]"
    echo "== $preset"
    cat "$log_dir/$preset.log"
    if [ "$status" -eq 0 ]; then
        passed+=("$preset ($((SECONDS - started[$preset])) s)")
    else
        failed+=("$preset")
        echo "== $preset FAILED (exit status $status); its log: $log_dir/$preset.log"
    fi
}

for preset in "${presets[@]}"; do
    if [ -n "${why_skipped[$preset]:-}" ]; then
        echo "== $preset: SKIPPED: ${why_skipped[$preset]}"
        skipped+=("$preset")
        continue
    fi
    while [ "${#preset_of_pid[@]}" -ge "$max_jobs" ]; do
        finish_one
    done
    started[$preset]=$SECONDS
    cmake --workflow --preset "$preset" > "$log_dir/$preset.log" 2>&1 &
    preset_of_pid[$!]=$preset
done
while [ "${#preset_of_pid[@]}" -gt 0 ]; do
    finish_one
done

echo
echo "== summary"
echo "passed:  ${passed[*]:-none}"
echo "failed:  ${failed[*]:-none}"
for preset in "${skipped[@]}"; do
    echo "skipped: $preset: ${why_skipped[$preset]}"
done

if [ ${#failed[@]} -gt 0 ]; then
    exit 1
fi
if [ ${#skipped[@]} -gt 0 ] && [ "${CI:-}" = true ]; then
    echo "CI requires every preset; ${#skipped[@]} skipped"
    exit 1
fi
exit 0
