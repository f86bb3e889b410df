#!/usr/bin/env bash
# Builds the 32-bit Debian guest in which the shipped program runs, from Debian's packages only,
# into DIR: the kernel (vmlinuz), a small initramfs made here on the host (initrd.gz), the root file
# system as an ext4 image (root.img), which is moved there last. The root comes from
# `debootstrap --foreign`, its second stage and the packages of packages.txt run in a chroot under
# qemu-i386-static (through an i386 binfmt handler registered for the build and removed after).
# The kernel package is only unpacked: its maintainer scripts would build an initramfs under
# emulation, which takes many minutes.
#   build.sh DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/strict.sh"
source "$here/../lib/locales.sh"
out=${1:?usage: build.sh DIR}
work=$out.work
root=$work/root
rm -rf "$work"
mkdir -p "$root"
t0=$SECONDS
say() { echo "guest build: $* ($((SECONDS - t0)) s)"; }

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
# The Debian mirror this machine's apt uses (one-line or deb822 sources).
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk -v s="$codename" '$1 == "deb" && $3 == s { print $2; exit }' || true)
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v s="$codename" '
        /^$/ { if (u != "" && ok) { print u; exit } u = ""; ok = 0 }
        /^URIs:/ { u = $2 }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == s) ok = 1 }
        END { if (u != "" && ok) print u }' | head -n 1 || true)
fi
[ -n "$mirror" ] || { echo "guest build: no Debian mirror for $codename in /etc/apt" >&2; exit 1; }

mounted=()
binfmt=/proc/sys/fs/binfmt_misc
handler=$binfmt/mirlka-i386
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    [ -e "$handler" ] && echo -1 >"$handler"
    return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM

say "debootstrap --foreign from $mirror ($codename, i386)"
debootstrap --arch=i386 --foreign --variant=minbase "$codename" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log" >&2; exit 1; }

# 32-bit programs of the chroot run under qemu-i386-static; "F" opens the emulator now, so the
# chroot needs no copy of it.
[ -d "$binfmt" ] && [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
[ -e "$handler" ] && echo -1 >"$handler"
printf '%s' ':mirlka-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >"$binfmt/register"

mkdir -p "$root/etc/dpkg/dpkg.cfg.d"
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"
say "second stage under qemu-i386-static"
chroot "$root" /debootstrap/debootstrap --second-stage >"$work/second-stage.log" 2>&1 ||
    { tail -n 20 "$work/second-stage.log" "$root/debootstrap/debootstrap.log" >&2 2>/dev/null; exit 1; }

mount -t proc proc "$root/proc" && mounted+=("$root/proc")
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "deb $mirror $codename main" >"$root/etc/apt/sources.list"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
echo 'APT::Install-Recommends "false";' >"$root/etc/apt/apt.conf.d/90mirlka"
mapfile -t packages < <(grep -v '^#' "$here/packages.txt" | grep .)
say "installing ${packages[*]}"
in_root() {
    chroot "$root" /usr/bin/env DEBIAN_FRONTEND=noninteractive LANG=C bash -c "set -e; $1" _ "${@:2}" \
        >>"$work/packages.log" 2>&1 || { tail -n 30 "$work/packages.log" >&2; exit 1; }
}
in_root 'apt-get update -q; apt-get install -y -q "$@"' "${packages[@]}"
enable_bed_locales "$root/etc/locale.gen"
in_root 'locale-gen; cd /tmp && apt-get download -q "$(apt-cache depends linux-image-686 |
    sed -n "s/.*Depends: \(linux-image-[0-9].*\)/\1/p" | head -n 1)"'

say "unpacking the kernel"
# Into the merged /usr: /lib is a link to usr/lib that must stay one.
dpkg-deb --fsys-tarfile "$root"/tmp/linux-image-*.deb | tar -x --keep-directory-symlink -C "$root"
kver=$(ls "$root/lib/modules")
chroot "$root" depmod -a "$kver"
cp "$root/boot/vmlinuz-$kver" "$work/vmlinuz"

say "initramfs"
ird=$work/initramfs
mkdir -p "$ird/bin" "$ird/proc" "$ird/sys" "$ird/dev" "$ird/mods"
cp "$root/bin/busybox" "$ird/bin/busybox"
cp "$here/init" "$ird/init"
# The drivers of the virtio disk, ext4 and the 9p share, each after what it needs.
moddir=$root/lib/modules/$kver
: >"$ird/modules.order"
add_module() {
    local rel deps d
    rel=$(awk -F: -v n="$1" '{ b = $1; sub(/.*\//, "", b); sub(/\.ko(\..*)?$/, "", b) } b == n { print $1; exit }' "$moddir/modules.dep")
    [ -n "$rel" ] || { echo "guest build: no module $1 in $kver" >&2; exit 1; }
    grep -qx "/mods/${rel##*/}" "$ird/modules.order" 2>/dev/null && return 0
    deps=$(awk -F: -v r="$rel" '$1 == r { print $2 }' "$moddir/modules.dep")
    for d in $deps; do
        d=${d##*/}; add_module "${d%%.ko*}"
    done
    case $rel in
    *.ko.xz) xz -dc "$moddir/$rel" >"$ird/mods/$(basename "$rel" .xz)"; rel=${rel%.xz} ;;
    *.ko.zst) zstd -qdc "$moddir/$rel" >"$ird/mods/$(basename "$rel" .zst)"; rel=${rel%.zst} ;;
    *) cp "$moddir/$rel" "$ird/mods/" ;;
    esac
    echo "/mods/${rel##*/}" >>"$ird/modules.order"
}
# ext4 asks for crc32c when it mounts, not as a module dependency.
for m in virtio_pci virtio_blk crc32c_generic ext4 9pnet_virtio 9p; do add_module "$m"; done
(cd "$ird" && find . | LC_ALL=C sort | cpio -o -H newc --quiet | gzip -9n) >"$work/initrd.gz"

say "root image"
rm -rf "$root"/tmp/* "$root"/var/cache/apt/archives/*.deb "$root"/var/lib/apt/lists/* "$root/debootstrap"
mkdir -p "$root/mnt/share"
echo mirlka-guest >"$root/etc/hostname"
umount "$root/proc" && mounted=()
mke2fs -q -t ext4 -L mirlka -d "$root" -E root_owner=0:0 "$work/root.img" 6G
mkdir -p "$out"
mv "$work/vmlinuz" "$work/initrd.gz" "$work/root.img" "$out/"
rm -rf "$work"
say "done: $out"
