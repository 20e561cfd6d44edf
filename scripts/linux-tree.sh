# Sourced by scripts/setup, scripts/package-linux and scripts/test-linux (never run by itself):
# the Debian 11 "bullseye" tree in which the Linux release is built and tested, and the file
# systems mounted into it while commands run there. A script mounts only in a mount namespace of
# its own (linux_tree_private_mounts), so that its mounts end with it however it ends and never
# show in the tree for anyone else; it also undoes them on exit (linux_tree_unmount_all in its
# EXIT trap), as a script it calls, in the same namespace, may need the tree as it was.

linux_tree=$PWD/build-deps/bullseye

# Runs the calling script ($1, from the checkout's root) again with its arguments in a mount
# namespace of its own, unless it already runs in one that a script of these made.
linux_tree_private_mounts() {
    [ -z "${DXL_PRIVATE_MOUNTS:-}" ] || return 0
    local script=$1
    shift
    exec unshare --mount --propagation private env DXL_PRIVATE_MOUNTS=1 "$PWD/$script" "$@"
}

# Mount points at or below the tree, as /proc/self/mountinfo lists them (octal escapes decoded),
# deepest first; a point mounted twice is listed twice.
linux_tree_mount_points() {
    python3 - "$linux_tree" <<'POINTS'
import re, sys
root = sys.argv[1].rstrip("/")
points = []
with open("/proc/self/mountinfo") as table:
    for line in table:
        point = re.sub(r"\\([0-7]{3})", lambda m: chr(int(m.group(1), 8)), line.split()[4])
        if point == root or point.startswith(root + "/"):
            points.append(point)
for point in sorted(points, reverse=True):
    print(point)
POINTS
}

linux_tree_unmount_all() {
    local point
    while IFS= read -r point; do
        umount "$point" 2>/dev/null || umount -l "$point"
    done < <(linux_tree_mount_points)
}

# Refuses to go on while anything is still mounted in the tree (before it is removed).
linux_tree_require_unmounted() {
    linux_tree_unmount_all
    if [ -n "$(linux_tree_mount_points)" ]; then
        echo "Still mounted in $linux_tree:" >&2
        linux_tree_mount_points >&2
        exit 1
    fi
}

# Mounts the host's folder (or file) $1 at $2 inside the tree; "ro" as $3 makes it read-only.
linux_tree_bind() {
    local target=$linux_tree$2
    if [ -d "$1" ]; then
        mkdir -p "$target"
    else
        mkdir -p "$(dirname "$target")"
        [ -e "$target" ] || : >"$target"
    fi
    mount --bind "$1" "$target"
    if [ "${3:-}" = ro ]; then mount -o remount,bind,ro "$target"; fi
}

# /proc inside the tree (the loader's /dev/fd and /proc/self links, apt's and GCC's needs).
linux_tree_mount_proc() {
    mountpoint -q "$linux_tree/proc" || mount -t proc proc "$linux_tree/proc"
}

# Runs a command inside the tree with a clean environment.
linux_tree_run() {
    chroot "$linux_tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
