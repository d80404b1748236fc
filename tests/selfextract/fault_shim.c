/* Faults a disk or an impatient user bring, for the package tests: loaded into the
 * stub with LD_PRELOAD, it acts on the stub's temporary files (".tovo-*") only.
 *   TOVO_SHIM_FAIL_CLOSE  set: closing such a file reports EIO (the file is closed).
 *   TOVO_SHIM_SLOW_WRITE  set: each write to such a file waits 50 ms first, so that a
 *                         test can act while an entry is being written. */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static int IsTemporaryFile(int fd) {
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = '\0';
    const char* name = strrchr(path, '/');
    return name != NULL && strncmp(name + 1, ".tovo-", 6) == 0;
}

int close(int fd) {
    const int fail = getenv("TOVO_SHIM_FAIL_CLOSE") != NULL && IsTemporaryFile(fd);
    const long result = syscall(SYS_close, fd);
    if (fail) {
        errno = EIO;
        return -1;
    }
    return (int)result;
}

ssize_t write(int fd, const void* buffer, size_t size) {
    if (getenv("TOVO_SHIM_SLOW_WRITE") != NULL && IsTemporaryFile(fd)) {
        const struct timespec pause = {0, 50 * 1000 * 1000};
        nanosleep(&pause, NULL);
    }
    return syscall(SYS_write, fd, buffer, size);
}
