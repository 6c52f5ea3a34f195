/* The floor the taggers are measured against: the least a program must do
 * per file. read: open, fstat, pread the last 128 bytes, close. write: the
 * same open, pwrite 128 bytes over the trailer, fsync, close. */
#define _FILE_OFFSET_BITS 64
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2 || (strcmp(argv[1], "read") != 0 && strcmp(argv[1], "write") != 0)) {
        fprintf(stderr, "usage: floor read|write FILE...\n");
        return 2;
    }
    const int writing = strcmp(argv[1], "write") == 0;
    unsigned long sum = 0;
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        const int fd = open(argv[i], writing ? O_RDWR : O_RDONLY);
        struct stat info;
        char trailer[128];
        if (fd < 0 || fstat(fd, &info) != 0 || info.st_size < 128) {
            failed = 1;
        } else if (!writing) {
            if (pread(fd, trailer, 128, info.st_size - 128) != 128)
                failed = 1;
            sum += (unsigned char)trailer[3];
        } else {
            memset(trailer, ' ', sizeof trailer);
            memcpy(trailer, "TAGEvening", 10);
            if (pwrite(fd, trailer, 128, info.st_size - 128) != 128 || fsync(fd) != 0)
                failed = 1;
        }
        if (fd >= 0)
            close(fd);
    }
    printf("%lu\n", sum);
    return failed;
}
