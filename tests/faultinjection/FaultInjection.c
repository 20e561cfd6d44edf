/* A library preloaded (LD_PRELOAD) into the shipped program to make the system calls that the
 * program's file handling relies on go wrong on request, the way a disk, a file system or another
 * process can make them go wrong. Chosen by the environment:
 *
 *   DXL_FAULT_CALL    write, fsync, link, rename, renameat2, fstat, open or unlink; several
 *                     separated by commas, each counted on its own
 *   DXL_FAULT_PATH    only calls on a path holding this text count (for a descriptor: its path;
 *                     for link and the renames: the new name)
 *   DXL_FAULT_AT      the first counted call that goes wrong (1 when unset)
 *   DXL_FAULT_TIMES   how many counted calls from there go wrong; 0: all of them (1 when unset)
 *   DXL_FAULT_ACTION  fail: the call fails with DXL_FAULT_ERRNO (a name such as EIO, or a
 *                     number; EIO when unset; a list separated by commas gives one per call);
 *                     truncate: the file is emptied, then the call made; swap: another file of
 *                     the same size (all 'X') takes the file's name, then the call made; link: a
 *                     symbolic link to DXL_FAULT_LINK_TARGET takes the file's name, then the call
 *                     made
 *   DXL_FAULT_COUNT_FILE  receives, at exit, the number of counted calls
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

typedef ssize_t (*WriteCall)(int, const void*, size_t);
typedef int (*FsyncCall)(int);
typedef int (*LinkCall)(const char*, const char*);
typedef int (*RenameCall)(const char*, const char*);
typedef int (*Rename2Call)(int, const char*, int, const char*, unsigned);
typedef int (*FstatCall)(int, struct stat*);
typedef int (*OpenCall)(const char*, int, ...);
typedef int (*UnlinkCall)(const char*);

static long counted;
static int busy; /* the injector's own calls are never counted */

static void* Next(const char* name) { return dlsym(RTLD_NEXT, name); }

static const char* Setting(const char* name) {
    const char* value = getenv(name);
    return value != NULL && value[0] != '\0' ? value : NULL;
}

static long NumberSetting(const char* name, long fallback) {
    const char* value = Setting(name);
    return value != NULL ? strtol(value, NULL, 10) : fallback;
}

/* The position of `call` in the list DXL_FAULT_CALL, or -1. */
static int CallIndex(const char* call) {
    const char* list = Setting("DXL_FAULT_CALL");
    const size_t length = strlen(call);
    for (int index = 0; list != NULL; ++index) {
        if (strncmp(list, call, length) == 0 && (list[length] == ',' || list[length] == '\0')) {
            return index;
        }
        list = strchr(list, ',');
        if (list != NULL) ++list;
    }
    return -1;
}

static int ErrorSetting(int index) {
    static const struct { const char* name; int number; } names[] = {
        {"EIO", EIO},       {"ENOSPC", ENOSPC}, {"EPERM", EPERM},   {"EINVAL", EINVAL},
        {"ENOSYS", ENOSYS}, {"EFBIG", EFBIG},   {"EXDEV", EXDEV},   {"EACCES", EACCES},
        {"EOPNOTSUPP", EOPNOTSUPP},             {"EEXIST", EEXIST}, {"EINTR", EINTR},
    };
    const char* value = Setting("DXL_FAULT_ERRNO");
    if (value == NULL) return EIO;
    for (const char* next; index > 0 && (next = strchr(value, ',')) != NULL; --index) {
        value = next + 1;
    }
    const size_t length = strcspn(value, ",");
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (strlen(names[i].name) == length && strncmp(value, names[i].name, length) == 0) {
            return names[i].number;
        }
    }
    return (int)strtol(value, NULL, 10);
}

static void DescriptorPath(int fd, char* path, size_t size) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t got = readlink(link, path, size - 1);
    path[got > 0 ? got : 0] = '\0';
}

/* True when this call of `call` on `path` is one that goes wrong. */
static int Chosen(const char* call, const char* path) {
    static long countedOf[8];
    const int index = busy ? -1 : CallIndex(call);
    if (index < 0 || index >= 8) return 0;
    const char* part = Setting("DXL_FAULT_PATH");
    if (part != NULL && (path == NULL || strstr(path, part) == NULL)) return 0;
    ++counted;
    const long n = ++countedOf[index];
    const long at = NumberSetting("DXL_FAULT_AT", 1);
    const long times = NumberSetting("DXL_FAULT_TIMES", 1);
    return n >= at && (times == 0 || n < at + times);
}

/* Another file of the same size, all 'X', takes the name `path`. */
static void Swap(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0) return;
    char other[4096 + 8];
    snprintf(other, sizeof other, "%s.swap", path);
    const int fd = ((OpenCall)Next("open"))(other, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return;
    char block[4096];
    memset(block, 'X', sizeof block);
    for (off_t left = info.st_size; left > 0;) {
        const size_t piece = left < (off_t)sizeof block ? (size_t)left : sizeof block;
        if (((WriteCall)Next("write"))(fd, block, piece) != (ssize_t)piece) break;
        left -= (off_t)piece;
    }
    close(fd);
    ((RenameCall)Next("rename"))(other, path);
}

/* A symbolic link to DXL_FAULT_LINK_TARGET takes the name `path`. */
static void PutLink(const char* path) {
    const char* target = Setting("DXL_FAULT_LINK_TARGET");
    if (target == NULL) return;
    char link[4096 + 8];
    snprintf(link, sizeof link, "%s.link", path);
    if (symlink(target, link) == 0) ((RenameCall)Next("rename"))(link, path);
}

/* Does what the chosen action does before the call; true when the call is to fail instead. */
static int Inject(const char* call, const char* path) {
    const char* action = Setting("DXL_FAULT_ACTION");
    busy = 1;
    int fail = 0;
    if (action != NULL && strcmp(action, "truncate") == 0) {
        if (path != NULL) truncate(path, 0);
    } else if (action != NULL && strcmp(action, "swap") == 0) {
        if (path != NULL) Swap(path);
    } else if (action != NULL && strcmp(action, "link") == 0) {
        if (path != NULL) PutLink(path);
    } else {
        fail = 1;
    }
    busy = 0;
    if (fail) errno = ErrorSetting(CallIndex(call));
    return fail;
}

static int InjectOnDescriptor(const char* call, int fd) {
    if (busy || CallIndex(call) < 0) return 0;
    char path[4096];
    DescriptorPath(fd, path, sizeof path);
    return Chosen(call, path) && Inject(call, path);
}

__attribute__((destructor)) static void ReportCount(void) {
    const char* file = Setting("DXL_FAULT_COUNT_FILE");
    if (file == NULL) return;
    busy = 1;
    FILE* out = fopen(file, "w");
    if (out != NULL) {
        fprintf(out, "%ld\n", counted);
        fclose(out);
    }
}

ssize_t write(int fd, const void* data, size_t size) {
    if (InjectOnDescriptor("write", fd)) return -1;
    return ((WriteCall)Next("write"))(fd, data, size);
}

int fsync(int fd) {
    if (InjectOnDescriptor("fsync", fd)) return -1;
    return ((FsyncCall)Next("fsync"))(fd);
}

int fstat(int fd, struct stat* info) {
    if (InjectOnDescriptor("fstat", fd)) return -1;
    return ((FstatCall)Next("fstat"))(fd, info);
}

/* Before glibc 2.33 a program's fstat calls these instead (the Debian 11 tree of the release
   archive's check). */
typedef int (*VersionedFstatCall)(int, int, struct stat*);
typedef int (*VersionedFstat64Call)(int, int, struct stat64*);

int __fxstat(int version, int fd, struct stat* info) {
    if (InjectOnDescriptor("fstat", fd)) return -1;
    return ((VersionedFstatCall)Next("__fxstat"))(version, fd, info);
}

int __fxstat64(int version, int fd, struct stat64* info) {
    if (InjectOnDescriptor("fstat", fd)) return -1;
    return ((VersionedFstat64Call)Next("__fxstat64"))(version, fd, info);
}

int link(const char* from, const char* to) {
    if (Chosen("link", to) && Inject("link", from)) return -1;
    return ((LinkCall)Next("link"))(from, to);
}

int rename(const char* from, const char* to) {
    if (Chosen("rename", to) && Inject("rename", from)) return -1;
    return ((RenameCall)Next("rename"))(from, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    if (Chosen("renameat2", to) && Inject("renameat2", from)) return -1;
    return ((Rename2Call)Next("renameat2"))(fromFolder, from, toFolder, to, flags);
}

int unlink(const char* path) {
    if (Chosen("unlink", path) && Inject("unlink", path)) return -1;
    return ((UnlinkCall)Next("unlink"))(path);
}

static int OpenWith(const char* name, const char* path, int flags, va_list rest) {
    const int takesMode = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    const mode_t mode = takesMode ? va_arg(rest, mode_t) : 0;
    if (Chosen("open", path) && Inject("open", path)) return -1;
    return ((OpenCall)Next(name))(path, flags, mode);
}

int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const int fd = OpenWith("open", path, flags, rest);
    va_end(rest);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const int fd = OpenWith("open64", path, flags, rest);
    va_end(rest);
    return fd;
}
