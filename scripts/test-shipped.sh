#!/usr/bin/env bash
# Runs the shipped 32-bit program, build/win32/mirlka.exe, where it is meant to run: in a 32-bit
# Debian guest with Debian's own 32-bit Wine, booted under qemu-system-i386 (TCG: no hardware
# virtualisation needed, no 32-bit support in this machine's kernel either). In the guest, against
# the shipped exe: the scripted demo (tools/demo: the host simulator's song before and after) and
# every Wine suite built for i686 (the win32-wine preset). Ends with "N passed, N failed"; exits 1
# on a failure, and 77 with one line saying why when this machine cannot run the guest (no
# emulator, a guest that cannot be built or does not boot); with CI set (not "false"), where every
# machine can run it, that line ends the run with status 1 instead.
# The guest (scripts/guest/) is built once from Debian's packages and kept, with its Wine prefixes,
# under $MIRLKA_GUEST_CACHE (default: /var/cache/mirlka-guest, or $XDG_CACHE_HOME/mirlka-guest),
# keyed by a hash of what goes into it. Files go in and out through a 9p share; every wait is
# bounded, the guest powers itself off, and the emulator this script started is ended on every path.
# MIRLKA_QEMU names the emulator (default: qemu-system-i386). The clone may be in any folder: the
# guest keeps the tree at the same path.
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/lib/strict.sh
source scripts/lib/ctest.sh
t0=$SECONDS
started=$(date +%s)
elapsed() { echo "$((SECONDS - ${1:-$t0})) s"; }
not_here() {
    case ${CI:-false} in
    false | 0 | "")
        echo "shipped exe in a 32-bit guest: not run on this machine: $*"
        exit 77
        ;;
    esac
    echo "shipped exe in a 32-bit guest: not run on this machine: $* (CI=$CI: a failure)"
    exit 1
}
guest_packages=(qemu-system-x86 qemu-user-static debootstrap e2fsprogs cpio gzip xz-utils zstd)

# The emulator and what builds the guest, from Debian.
if [ -z "${MIRLKA_QEMU:-}" ]; then
    bash scripts/setup.sh "${guest_packages[@]}" >/dev/null 2>&1 ||
        not_here "the emulator cannot be installed (scripts/setup.sh ${guest_packages[*]} failed)"
fi
qemu=${MIRLKA_QEMU:-qemu-system-i386}
command -v "$qemu" >/dev/null 2>&1 || not_here "no emulator ($qemu)"
version=$(timeout 30 "$qemu" --version 2>&1 </dev/null) || true
[[ $version == "QEMU emulator version"* ]] ||
    not_here "$qemu does not start as QEMU (${version%%$'\n'*})"

# The guest image, built once per key and kept outside the clone: the image is keyed by what goes
# into it, its prepared Wine prefixes by what makes them.
cache=${MIRLKA_GUEST_CACHE:-${XDG_CACHE_HOME:+$XDG_CACHE_HOME/mirlka-guest}}
cache=${cache:-/var/cache/mirlka-guest}
key=$(cat scripts/guest/build.sh scripts/guest/packages.txt scripts/guest/init scripts/lib/strict.sh \
    scripts/lib/locales.sh | sha256sum | cut -c1-16)
prefixes=$(cat scripts/guest/prepare.sh scripts/wine-env.sh scripts/ui-font.sh scripts/lib/strict.sh \
    scripts/lib/locales.sh | sha256sum | cut -c1-16)
guest=$cache/$key
mkdir -p "$cache" 2>/dev/null || not_here "cannot create the guest's cache $cache"

qpid=""
share=""
stop_guest() {
    if [ -n "$qpid" ]; then kill "$qpid" 2>/dev/null && wait "$qpid" 2>/dev/null || true; fi
    qpid=""
}
cleanup() {
    stop_guest
    if [ -n "$share" ]; then rm -rf "$share"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Boots the guest on `share` with its job; the console goes to share/console. Waits at most
# boot_limit seconds for the guest's first line and job_limit for the guest to power off.
# Returns 2 when it did not boot, 1 when it did not end in time (call it as `boot … || status=$?`).
boot() {
    local image_mode=$1 job_limit=$2 boot_limit=120 tb=$SECONDS
    : >"$share/console"
    # -cpu max alone crashes every Wine process in the guest kernel (SMAP on Wine's return path).
    timeout -k 10 "$job_limit" "$qemu" -cpu max,-smap -accel tcg,thread=multi -smp 2 -m 3G \
        -kernel "$guest/vmlinuz" -initrd "$guest/initrd.gz" \
        -append "console=ttyS0 panic=1 loglevel=3 mitigations=off" \
        -drive "file=$guest/root.img,if=virtio,format=raw$image_mode" \
        -virtfs "local,path=$share,mount_tag=share,security_model=none,id=share" \
        -nic none -nographic -no-reboot -monitor none -serial "file:$share/console" \
        </dev/null >"$share/qemu.log" 2>&1 &
    qpid=$!
    tail -n +1 -f --pid="$qpid" "$share/console" 2>/dev/null | sed -u 's/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r$//' &
    local shown=$!
    until grep -q "mirlka-guest: booted" "$share/console"; do
        if ! kill -0 "$qpid" 2>/dev/null || [ $((SECONDS - tb)) -ge $boot_limit ]; then
            stop_guest
            wait "$shown" 2>/dev/null || true
            return 2
        fi
        sleep 1
    done
    echo "guest boot: $(elapsed "$tb") to its first line"
    # The demo's result is the run's first.
    (until grep -q "^mirlka-guest: the demo ended" "$share/console"; do
        kill -0 "$qpid" 2>/dev/null || exit 0
        sleep 1
    done
    echo "first result: $(($(date +%s) - started)) s after this command started") &
    local first=$!
    local status=0
    wait "$qpid" || status=$?
    qpid=""
    wait "$shown" "$first" 2>/dev/null || true
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then return 1; fi
}

new_share() {
    share=$(mktemp -d /var/tmp/mirlka-guest-share.XXXXXX)
    chmod 755 "$share"
    cp scripts/guest/job.sh "$share/"
    mkdir -p "$share/out"
}

why_not_booted() {
    local last
    last=$(grep -hv '^\s*$' "$share/console" "$share/qemu.log" 2>/dev/null | tail -n 1) || true
    echo "the guest did not boot within 120 s (${last:-no output})"
}

# The step of the guest's job that failed, as the job said it ("mirlka-guest: … failed: …").
guest_failure() {
    tail -n 1 "$share/out/failed" 2>/dev/null || echo "mirlka-guest: no step said it failed"
}

# Runs hold the image's lock shared; building it or preparing its prefixes holds it alone.
exec 8>"$cache/$key.lock"
if [ ! -f "$guest/prepared-$prefixes" ]; then
    flock -w 3600 8 || not_here "the guest $guest stayed in use by another run for an hour"
fi
if [ ! -f "$guest/root.img" ]; then
    echo "guest: building the 32-bit Debian guest $guest (once; kept for later runs)"
    tg=$SECONDS
    rm -rf "$guest"
    bash scripts/guest/build.sh "$guest" >"$cache/$key.build.log" 2>&1 ||
        not_here "the guest could not be built ($(tail -n 1 "$cache/$key.build.log"); log: $cache/$key.build.log)"
    echo "guest build: $(elapsed "$tg") for the image"
fi
if [ ! -f "$guest/prepared-$prefixes" ]; then
    # A boot on the image itself: the beds' 32-bit Wine prefixes, kept in it.
    tg=$SECONDS
    rm -f "$guest"/prepared-*
    new_share
    echo "MODE=prepare" >"$share/job.env"
    cp scripts/guest/prepare.sh "$share/"
    tar -cf "$share/scripts.tar" scripts
    booted=0
    boot "" 3600 || booted=$?
    case $booted in
    2) not_here "$(why_not_booted)" ;;
    1) not_here "the guest did not make its Wine prefixes within 3600 s" ;;
    esac
    cp "$share/console" "$guest/prepare.log"
    grep -q '^prepared' "$share/out/results" 2>/dev/null ||
        not_here "the guest did not make its Wine prefixes: $(guest_failure) (see $guest/prepare.log)"
    rm -rf "$share"
    share=""
    touch "$guest/prepared-$prefixes"
    echo "guest build: $(elapsed "$tg") for its Wine prefixes"
fi
flock -s -w 3600 8 || not_here "the guest $guest stayed locked for an hour"
echo "guest: $guest ($(elapsed) so far)"

# The shipped program and the suites built for i686, here on the host.
tb=$SECONDS
if ! bash scripts/setup.sh >/dev/null; then
    echo "shipped exe in a 32-bit guest: scripts/setup.sh failed"
    echo "0 passed, 1 failed"
    exit 1
fi
if ! { cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null &&
    cmake --preset win32-wine >/dev/null && cmake --build --preset win32-wine >/dev/null; }; then
    echo "shipped exe in a 32-bit guest: the win32 or win32-wine build failed"
    echo "0 passed, 1 failed"
    exit 1
fi
echo "host build: $(elapsed "$tb") (win32, win32-wine)"

new_share
echo "MODE=run" >"$share/job.env"
echo "ROOT=$(printf '%q' "$root")" >>"$share/job.env"
# The tree, which the guest puts at the same path, without object files and the host's Wine beds.
tar -C "$root" -cf "$share/tree.tar" --exclude='*.obj' --exclude='*.o' --exclude='*.a' \
    --exclude='build/win32-wine/wine-env*' scripts tests docs/mirlka.html CMakePresets.json \
    CMakeLists.txt build/win32/mirlka.exe build/win32-wine
tr=$SECONDS
booted=0
boot ",snapshot=on" 3600 || booted=$?
case $booted in
2) not_here "$(why_not_booted)" ;;
1) echo "shipped exe in a 32-bit guest: the guest did not end within 3600 s" ;;
esac
echo "guest run: $(elapsed "$tr") from start to power-off"
[ ! -s "$share/out/failed" ] || echo "shipped exe in a 32-bit guest: $(guest_failure)"

# The guest's results: its demo is one test, each ctest case one more.
passed=0 failed=0
results=$share/out/results
if demo=$(grep '^demo ' "$results" 2>/dev/null); then
    read -r _ status seconds <<<"$demo"
    echo "guest demo: $seconds s, exit $status"
    if [ "$status" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
else
    echo "guest demo: no result"
    failed=$((failed + 1))
fi
if summary=$(ctest_summary "$share/out/ctest.log"); then
    read -r p f line <<<"$summary"
    passed=$((passed + p))
    failed=$((failed + f))
    echo "guest suites: $(awk '$1 == "suites" { print $2 }' "$results") s, $line"
else
    echo "guest suites: no result"
    failed=$((failed + 1))
fi
echo "shipped exe in a 32-bit guest: $(elapsed) in all"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || exit 1
