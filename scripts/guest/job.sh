#!/bin/bash
# The guest's job, run as its first process from the share that the host mounted (scripts/guest/init
# hands over to it). job.env in the share says what to do:
#   MODE=prepare  make the beds' 32-bit Wine prefixes once, kept in the cached image (prepare.sh)
#   MODE=run      run, against the shipped mirlka.exe, the scripted demo and the Wine suites built
#                 for i686, in a copy of the host's tree at the host's own path (ROOT)
# Everything it has to tell goes to share/out; whatever happens, the guest powers off at the end.
# A step that fails stops the job and says on the console which step it was and what failed, in a
# line "mirlka-guest: … failed …" that is also kept in share/out/failed.
set -Eeuo pipefail
share=/mnt/share
out=$share/out
step="starting the job"
failed() {
    local status=$1 line=$2 command=$3
    echo "mirlka-guest: $step failed: $command (status $status, job.sh line $line)" | tee -a "$out/failed"
}
finish() {
    sync
    /bin/busybox poweroff -f
    echo o >/proc/sysrq-trigger
}
trap 'failed $? $LINENO "$BASH_COMMAND"' ERR
trap finish EXIT
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
mkdir -p "$out"
step="mounting /tmp, /run and /dev's file systems"
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
hostname mirlka-guest
source "$share/job.env"
echo "mirlka-guest: the job starts ($MODE)"
t0=$(date +%s)
elapsed() { echo $(($(date +%s) - t0)); }

# The prefixes live in the image under the bed kept here; a run moves them into the tree's bed.
kept=/var/lib/mirlka-bed
# The tree of a run, on the image's disk: the host's path may lie under /tmp, which is a small
# tmpfs here, so the tree is bound over that path instead of unpacked there.
tree=/var/lib/mirlka-tree

prepare() {
    step="unpacking the scripts"
    mkdir -p /opt/mirlka
    tar -C /opt/mirlka -xf "$share/scripts.tar"
    step="making the beds' Wine prefixes (prepare.sh)"
    bash "$share/prepare.sh" /opt/mirlka/scripts "$kept"
    echo "prepared $(elapsed)" >>"$out/results"
    rm -rf /opt/mirlka
}

run() {
    step="unpacking the tree"
    rm -rf "$tree"
    mkdir -p "$tree"
    tar -C "$tree" -xf "$share/tree.tar"
    step="moving the kept Wine prefixes into the tree"
    local state
    for state in "$kept"/wine-env*; do
        mkdir -p "$tree/build/win32-wine/${state##*/}"
        mv "$state/prefix" "$tree/build/win32-wine/${state##*/}/"
    done
    step="binding the tree over $ROOT"
    mkdir -p "$ROOT"
    mount --bind "$tree" "$ROOT"
    cd "$ROOT"
    echo "job: the tree is in place ($(elapsed) s)"

    # The scripted session of scripts/run.sh, with the shipped program, the i686 simulator and demo.
    step="the demo"
    source scripts/lib/program.sh
    program_folder build/shipped-demo build/win32/mirlka.exe build/win32-wine
    local t1 status=0
    t1=$(date +%s)
    timeout 600 scripts/demo-session.sh build/win32-wine build/shipped-demo 300 || status=$?
    echo "mirlka-guest: the demo ended with status $status"
    scripts/wine-env.sh stop build/win32-wine
    echo "demo $status $(($(date +%s) - t1))" >>"$out/results"

    step="the suites"
    t1=$(date +%s)
    # A failing case is a result, told by the summary that the host reads from ctest.log.
    timeout 2400 ctest --preset win32-wine 2>&1 | tee "$out/ctest.log" || true
    scripts/wine-env.sh stop build/win32-wine
    echo "suites $(($(date +%s) - t1))" >>"$out/results"
}

"$MODE"
echo "mirlka-guest: the job ends ($(elapsed) s)"
