#!/bin/bash
# The guest's job, run as its first process from the share that the host mounted (scripts/guest/init
# hands over to it). job.env in the share says what to do:
#   MODE=prepare  make the beds' 32-bit Wine prefixes once, kept in the cached image (prepare.sh)
#   MODE=run      run, against the shipped mirlka.exe, the scripted demo and the Wine suites built
#                 for i686, in a copy of the host's tree at the host's own path
# Everything it has to tell goes to share/out; whatever happens, the guest powers off at the end.
share=/mnt/share
out=$share/out
finish() {
    sync
    /bin/busybox poweroff -f
    echo o >/proc/sysrq-trigger
}
trap finish EXIT
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
hostname mirlka-guest
source "$share/job.env"
mkdir -p "$out"
echo "mirlka-guest: the job starts ($MODE)"
t0=$(date +%s)
elapsed() { echo $(($(date +%s) - t0)); }

# The prefixes live in the image under the bed kept here; a run moves them into the tree's bed.
kept=/var/lib/mirlka-bed

prepare() {
    mkdir -p /opt/mirlka && tar -C /opt/mirlka -xf "$share/scripts.tar"
    bash "$share/prepare.sh" /opt/mirlka/scripts "$kept" && echo "prepared $(elapsed)" >>"$out/results"
    rm -rf /opt/mirlka
}

# The scripted session of scripts/run.sh, with the shipped program, the i686 simulator and demo.
demo() {
    local bed=$ROOT/build/win32-wine program=$ROOT/build/shipped-demo
    mkdir -p "$program"
    cp "$ROOT/build/win32/mirlka.exe" "$ROOT/docs/mirlka.html" "$bed/hostsim.exe" "$bed/demo.exe" "$program/"
    timeout 600 "$ROOT/scripts/demo-session.sh" "$bed" "$program" 300
}

run() {
    tar -C / -xf "$share/tree.tar"
    local state
    for state in "$kept"/wine-env*; do
        mkdir -p "$ROOT/build/win32-wine/${state##*/}"
        mv "$state/prefix" "$ROOT/build/win32-wine/${state##*/}/"
    done
    echo "job: the tree is in place ($(elapsed) s)"
    cd "$ROOT" || return
    local t1 status
    t1=$(date +%s)
    demo
    status=$?
    echo "mirlka-guest: the demo ended with status $status"
    "$ROOT/scripts/wine-env.sh" stop build/win32-wine
    echo "demo $status $(($(date +%s) - t1))" >>"$out/results"
    t1=$(date +%s)
    timeout 2400 ctest --preset win32-wine 2>&1 | tee "$out/ctest.log"
    "$ROOT/scripts/wine-env.sh" stop build/win32-wine
    echo "suites $(($(date +%s) - t1))" >>"$out/results"
}

"$MODE"
echo "mirlka-guest: the job ends ($(elapsed) s)"
