/* Fault injection for tests, loaded with LD_PRELOAD into a program under test.
 *
 * Counts the calls that change files below one folder and fails exactly one of them, the Nth,
 * as a failing disk or a full one would: write, pwrite, fsync, fdatasync, ftruncate,
 * copy_file_range and close on a descriptor opened below the folder (open, openat, creat and
 * their 64-bit names are watched, dup, dup2, dup3 and fcntl's F_DUPFD carry the mark over), and
 * rename, renameat and renameat2 when either name lies below it. The failed call does nothing,
 * except close, which closes the descriptor as Linux does whatever close reports.
 *
 * Environment:
 *   QUARVEL_FAULT_DIR     the folder (required; without it every call passes)
 *   QUARVEL_FAULT_AT      N, counting from 1 (0 or unset: count only, never fail)
 *   QUARVEL_FAULT_ERRNO   EIO (default), ENOSPC or a number
 *   QUARVEL_FAULT_REPORT  a file that receives the name of the call that was failed
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

#define WATCHED_DESCRIPTORS 65536

static char watchedFolder[PATH_MAX];
static size_t watchedLength;
static long failAt;
static int failErrno = EIO;
static const char* reportPath;
static atomic_long counted;
static atomic_bool watched[WATCHED_DESCRIPTORS];

typedef void (*Function)(void);

/* The next definition of a function, the C library's. (dlsym answers with an object pointer,
 * which ISO C does not convert to a function pointer; the bytes are the same.) */
static Function next(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    Function function;
    memcpy(&function, &symbol, sizeof function);
    return function;
}

__attribute__((constructor)) static void setUp(void) {
    const char* folder = getenv("QUARVEL_FAULT_DIR");
    if (folder && realpath(folder, watchedFolder)) watchedLength = strlen(watchedFolder);
    const char* at = getenv("QUARVEL_FAULT_AT");
    failAt = at ? atol(at) : 0;
    const char* error = getenv("QUARVEL_FAULT_ERRNO");
    if (error && strcmp(error, "ENOSPC") == 0)
        failErrno = ENOSPC;
    else if (error && strcmp(error, "EIO") != 0 && atoi(error) > 0)
        failErrno = atoi(error);
    reportPath = getenv("QUARVEL_FAULT_REPORT");
}

/* A name below the folder; relative names are taken from the working folder. A name relative
 * to another folder's descriptor is not watched (the programs under test do not use them). */
static int below(int folderFd, const char* path) {
    if (watchedLength == 0 || !path) return 0;
    char full[PATH_MAX * 2];
    if (path[0] == '/') {
        snprintf(full, sizeof full, "%s", path);
    } else {
        char cwd[PATH_MAX];
        if (folderFd != AT_FDCWD || !getcwd(cwd, sizeof cwd)) return 0;
        snprintf(full, sizeof full, "%s/%s", cwd, path);
    }
    return strncmp(full, watchedFolder, watchedLength) == 0 && full[watchedLength] == '/';
}

static int isWatched(int fd) { return fd >= 0 && fd < WATCHED_DESCRIPTORS && atomic_load(&watched[fd]); }

static void mark(int fd, int on) {
    if (fd >= 0 && fd < WATCHED_DESCRIPTORS) atomic_store(&watched[fd], on);
}

static void report(const char* call) {
    if (!reportPath) return;
    int (*realOpen)(const char*, int, ...) = (int (*)(const char*, int, ...))next("open");
    ssize_t (*realWrite)(int, const void*, size_t) = (ssize_t (*)(int, const void*, size_t))next("write");
    int (*realClose)(int) = (int (*)(int))next("close");
    const int fd = realOpen(reportPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    char line[64];
    const int length = snprintf(line, sizeof line, "%s #%ld\n", call, failAt);
    if (realWrite(fd, line, (size_t)length) < 0) { /* the test sees no report then */ }
    realClose(fd);
}

/* True when this counted call is the one to fail; errno is set for it. */
static int failsNow(const char* call) {
    const long number = atomic_fetch_add(&counted, 1) + 1;
    if (failAt <= 0 || number != failAt) return 0;
    report(call);
    errno = failErrno;
    return 1;
}

static int opened(int fd, int folderFd, const char* path) {
    if (fd >= 0) mark(fd, below(folderFd, path));
    return fd;
}

static mode_t modeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(arguments, int) : 0;
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    int (*real)(const char*, int, ...) = (int (*)(const char*, int, ...))next("open");
    return opened(real(path, flags, mode), AT_FDCWD, path);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    int (*real)(const char*, int, ...) = (int (*)(const char*, int, ...))next("open64");
    return opened(real(path, flags, mode), AT_FDCWD, path);
}

int openat(int folderFd, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    int (*real)(int, const char*, int, ...) = (int (*)(int, const char*, int, ...))next("openat");
    return opened(real(folderFd, path, flags, mode), folderFd, path);
}

int openat64(int folderFd, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    int (*real)(int, const char*, int, ...) = (int (*)(int, const char*, int, ...))next("openat64");
    return opened(real(folderFd, path, flags, mode), folderFd, path);
}

int creat(const char* path, mode_t mode) { return open(path, O_WRONLY | O_CREAT | O_TRUNC, mode); }
int creat64(const char* path, mode_t mode) { return open(path, O_WRONLY | O_CREAT | O_TRUNC, mode); }

int dup(int fd) {
    int (*real)(int) = (int (*)(int))next("dup");
    const int copy = real(fd);
    if (copy >= 0) mark(copy, isWatched(fd));
    return copy;
}

int dup2(int fd, int target) {
    int (*real)(int, int) = (int (*)(int, int))next("dup2");
    const int copy = real(fd, target);
    if (copy >= 0 && copy != fd) mark(copy, isWatched(fd));
    return copy;
}

int dup3(int fd, int target, int flags) {
    int (*real)(int, int, int) = (int (*)(int, int, int))next("dup3");
    const int copy = real(fd, target, flags);
    if (copy >= 0) mark(copy, isWatched(fd));
    return copy;
}

int fcntl(int fd, int command, ...) {
    va_list arguments;
    va_start(arguments, command);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int (*real)(int, int, ...) = (int (*)(int, int, ...))next("fcntl");
    const int result = real(fd, command, argument);
    if (result >= 0 && (command == F_DUPFD || command == F_DUPFD_CLOEXEC)) mark(result, isWatched(fd));
    return result;
}

ssize_t write(int fd, const void* data, size_t length) {
    ssize_t (*real)(int, const void*, size_t) = (ssize_t (*)(int, const void*, size_t))next("write");
    if (isWatched(fd) && failsNow("write")) return -1;
    return real(fd, data, length);
}

ssize_t pwrite(int fd, const void* data, size_t length, off_t offset) {
    ssize_t (*real)(int, const void*, size_t, off_t) = (ssize_t (*)(int, const void*, size_t, off_t))next("pwrite");
    if (isWatched(fd) && failsNow("pwrite")) return -1;
    return real(fd, data, length, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t length, off_t offset) {
    ssize_t (*real)(int, const void*, size_t, off_t) = (ssize_t (*)(int, const void*, size_t, off_t))next("pwrite64");
    if (isWatched(fd) && failsNow("pwrite")) return -1;
    return real(fd, data, length, offset);
}

int fsync(int fd) {
    int (*real)(int) = (int (*)(int))next("fsync");
    if (isWatched(fd) && failsNow("fsync")) return -1;
    return real(fd);
}

int fdatasync(int fd) {
    int (*real)(int) = (int (*)(int))next("fdatasync");
    if (isWatched(fd) && failsNow("fdatasync")) return -1;
    return real(fd);
}

int ftruncate(int fd, off_t length) {
    int (*real)(int, off_t) = (int (*)(int, off_t))next("ftruncate");
    if (isWatched(fd) && failsNow("ftruncate")) return -1;
    return real(fd, length);
}

int ftruncate64(int fd, off_t length) {
    int (*real)(int, off_t) = (int (*)(int, off_t))next("ftruncate64");
    if (isWatched(fd) && failsNow("ftruncate")) return -1;
    return real(fd, length);
}

ssize_t copy_file_range(int from, off_t* fromOffset, int to, off_t* toOffset, size_t length, unsigned flags) {
    ssize_t (*real)(int, off_t*, int, off_t*, size_t, unsigned) = (ssize_t (*)(int, off_t*, int, off_t*, size_t, unsigned))next("copy_file_range");
    if ((isWatched(from) || isWatched(to)) && failsNow("copy_file_range")) return -1;
    return real(from, fromOffset, to, toOffset, length, flags);
}

int close(int fd) {
    int (*real)(int) = (int (*)(int))next("close");
    const int counts = isWatched(fd);
    mark(fd, 0);
    const int result = real(fd);
    if (counts && failsNow("close")) return -1;
    return result;
}

int rename(const char* from, const char* to) {
    int (*real)(const char*, const char*) = (int (*)(const char*, const char*))next("rename");
    if ((below(AT_FDCWD, from) || below(AT_FDCWD, to)) && failsNow("rename")) return -1;
    return real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    int (*real)(int, const char*, int, const char*) = (int (*)(int, const char*, int, const char*))next("renameat");
    if ((below(fromFolder, from) || below(toFolder, to)) && failsNow("renameat")) return -1;
    return real(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    int (*real)(int, const char*, int, const char*, unsigned) = (int (*)(int, const char*, int, const char*, unsigned))next("renameat2");
    if ((below(fromFolder, from) || below(toFolder, to)) && failsNow("renameat2")) return -1;
    return real(fromFolder, from, toFolder, to, flags);
}
