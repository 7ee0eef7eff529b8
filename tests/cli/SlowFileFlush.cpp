// Loaded into tavrel-cli (LD_PRELOAD) by the interruption tests: flushing a regular file
// takes two seconds, so that a test can signal or kill the program while its temporary
// file exists. Folders flush as usual.
#include <dlfcn.h>
#include <sys/stat.h>

#include <ctime>

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        timespec pause{2, 0};
        while (nanosleep(&pause, &pause) != 0) {
        }
    }
    return real(fd);
}
