/* Starts a program inside another root directory (the Debian 11 tree of scripts/test-linux) as if
   it had been started here: in this same process, with the same arguments, environment, limits,
   signal dispositions and pending alarm, in the same working directory. In a mount namespace of
   its own it first mounts the host's folders the tests use at their paths in the tree, with
   everything mounted below them as it is now (a folder a test made read-only stays so), and
   /proc. scripts/test-linux builds it with these defined:
     DXL_TREE     the tree's root
     DXL_PROGRAM  the program's path inside the tree
     DXL_MOUNTS   pairs of paths, "host folder or file", "path inside the tree", ...
   Needs root (CAP_SYS_ADMIN and CAP_SYS_CHROOT). */
#define _GNU_SOURCE
#include <errno.h>
#include <limits.h>
#include <sched.h>
#include <stdio.h>
#include <string.h>
#include <sys/mount.h>
#include <unistd.h>

static const char* const kMounts[] = {DXL_MOUNTS};

static int Fail(const char* what, const char* path) {
    fprintf(stderr, "RunInTree: %s %s: %s\n", what, path, strerror(errno));
    return 127;
}

static int InTree(const char* path, char* out, size_t size) {
    return snprintf(out, size, "%s%s", DXL_TREE, path) < (int)size;
}

int main(int argc, char** argv) {
    (void)argc;
    char here[PATH_MAX];
    char target[PATH_MAX];
    if (getcwd(here, sizeof here) == NULL) return Fail("cannot read the working directory", "");
    if (unshare(CLONE_NEWNS) != 0) return Fail("cannot make a mount namespace", "");
    /* Nothing mounted here reaches the host's namespace. */
    if (mount(NULL, "/", NULL, MS_REC | MS_PRIVATE, NULL) != 0) return Fail("cannot detach", "/");
    for (size_t i = 0; i + 1 < sizeof kMounts / sizeof kMounts[0]; i += 2) {
        if (!InTree(kMounts[i + 1], target, sizeof target)) {
            return Fail("too long:", kMounts[i + 1]);
        }
        if (mount(kMounts[i], target, NULL, MS_BIND | MS_REC, NULL) != 0) {
            return Fail("cannot mount", target);
        }
    }
    if (!InTree("/proc", target, sizeof target) || mount("proc", target, "proc", 0, NULL) != 0) {
        return Fail("cannot mount", target);
    }
    if (chroot(DXL_TREE) != 0) return Fail("cannot enter", DXL_TREE);
    if (chdir(here) != 0) return Fail("the working directory is not in the tree:", here);
    execv(DXL_PROGRAM, argv);
    return Fail("cannot start", DXL_PROGRAM);
}
