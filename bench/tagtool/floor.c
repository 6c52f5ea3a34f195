/* The floor brelko-tag is measured against: the least a program must do per
 * file, with THREADS files in flight.
 *   read:  open, fstat, pread the last 128 bytes, close.
 *   read-head: the same, with a pread of the first 10 bytes before the
 *          trailer's: all that show reads (the ID3v2 header too).
 *   write: open, fstat, pread the trailer, pwrite it with the title changed,
 *          fdatasync, close.
 *   write-fsync: the same with fsync, which also puts the new modification
 *          time on disk.
 * Usage: floor read|read-head|write|write-fsync THREADS FILE... */
#define _GNU_SOURCE
#define _FILE_OFFSET_BITS 64
#include <fcntl.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char **files;
static int count, writing, full_sync, with_head;
static atomic_int next_file, failed;
static atomic_ulong sum;

static void one(const char *path)
{
    const int fd = open(path, writing ? O_RDWR : O_RDONLY);
    struct stat info;
    unsigned char trailer[128];
    if (with_head && fd >= 0 && pread(fd, trailer, 10, 0) != 10)
        failed = 1;
    if (fd < 0 || fstat(fd, &info) != 0 || info.st_size < 128 ||
        pread(fd, trailer, 128, info.st_size - 128) != 128) {
        failed = 1;
    } else if (!writing) {
        sum += trailer[3];
    } else {
        memcpy(trailer + 3, "Evening", 7);
        if (pwrite(fd, trailer, 128, info.st_size - 128) != 128 || (full_sync ? fsync(fd) : fdatasync(fd)) != 0)
            failed = 1;
    }
    if (fd >= 0)
        close(fd);
}

static void *work(void *unused)
{
    (void)unused;
    for (int i; (i = atomic_fetch_add(&next_file, 1)) < count;)
        one(files[i]);
    return NULL;
}

int main(int argc, char **argv)
{
    full_sync = strcmp(argv[1], "write-fsync") == 0;
    writing = full_sync || strcmp(argv[1], "write") == 0;
    with_head = strcmp(argv[1], "read-head") == 0;
    if (argc < 3 || (!writing && !with_head && strcmp(argv[1], "read") != 0)) {
        fprintf(stderr, "usage: floor read|read-head|write|write-fsync THREADS FILE...\n");
        return 2;
    }
    const int threads = atoi(argv[2]);
    files = argv + 3;
    count = argc - 3;
    if (threads <= 1) {
        work(NULL);
    } else {
        pthread_t *ids = calloc((size_t)threads, sizeof *ids);
        for (int t = 0; t < threads; ++t)
            pthread_create(&ids[t], NULL, work, NULL);
        for (int t = 0; t < threads; ++t)
            pthread_join(ids[t], NULL);
        free(ids);
    }
    printf("%lu\n", (unsigned long)sum);
    return failed;
}
