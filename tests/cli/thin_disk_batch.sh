#!/bin/sh
# A batch onto a disk whose write-back fails: an ext4 image on a loop device, the image
# in a 4 MiB tmpfs, so that writes land in the page cache and fail only when flushed.
# Every file the batch calls written must read back whole after a remount, and a lost
# one must be refused with its reason and fail the run. Needs root and a loop device;
# skipped (exit 77) elsewhere.
#   tests/cli/thin_disk_batch.sh path/to/strimlo-cli
set -u
cli=$1
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" = 0 ] || skip "a loop device needs root"
for tool in losetup mkfs.ext4 mount umount truncate cmp; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

work=$(mktemp -d)
loop=
cleanup() {
  umount "$work/disk" 2>/dev/null
  [ -n "$loop" ] && losetup -d "$loop" 2>/dev/null
  umount "$work/backing" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/backing" "$work/disk" "$work/good"
mount -t tmpfs -o size=4m tmpfs "$work/backing" 2>/dev/null || skip "cannot mount a tmpfs here"
truncate -s 64M "$work/backing/image"
mkfs.ext4 -q -F -J size=1 -E nodiscard,lazy_itable_init=1 "$work/backing/image" >/dev/null ||
  skip "mkfs.ext4 failed"
loop=$(losetup -f --show "$work/backing/image" 2>/dev/null) || { loop=; skip "no loop device free or allowed"; }
mount -o errors=continue "$loop" "$work/disk" 2>/dev/null || skip "cannot mount the loop device"

# Twelve large JPEGs, 1.3 MB each: far more than the 4 MiB behind the disk.
: > "$work/in.csv"
for i in 10 11 12 13 14 15 16 17 18 19 20 21; do
  echo "isbn13,978-3-16-14841$i,51299,,f$i.jpg,jpg,9,4" >> "$work/in.csv"
done
"$cli" --batch "$work/in.csv" --outdir "$work/good" --jobs 2 --fix-check-digits >/dev/null 2>&1 ||
  fail "the batch fails on a healthy disk"
"$cli" --batch "$work/in.csv" --outdir "$work/disk" --jobs 2 --fix-check-digits > "$work/log" 2>&1
status=$?
cat "$work/log"

# What is on the disk once the page cache is gone.
umount "$work/disk" || fail "cannot unmount"
mount -o ro "$loop" "$work/disk" || fail "cannot mount again"
# A file named in a refusal may be anything; every other one must be whole.
kept=0
for f in "$work/disk"/*.jpg; do
  [ -e "$f" ] || continue
  grep -q "/${f##*/}: " "$work/log" && continue
  cmp -s "$f" "$work/good/${f##*/}" || fail "${f##*/} was reported written but is damaged"
  kept=$((kept + 1))
done
written=$(sed -n 's/^\([0-9]*\) written, \([0-9]*\) refused$/\1/p' "$work/log")
[ -n "$written" ] || fail "no summary"
[ "$written" -le "$kept" ] || fail "$written reported written, $kept whole on disk"
grep -q "refused" "$work/log" && [ "$written" -lt 12 ] || fail "the disk did not run out; nothing was tested"
[ "$status" -eq 1 ] || fail "a batch with lost files exited $status"
grep -q "not on disk\|No space left\|Input/output error" "$work/log" || fail "no reason given"
echo "PASS: $written written and whole, $((12 - written)) refused with their reason"
