#include "data_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

SDL_RWops* openFailed(const char* path, int error)
{
    SDL_SetError("Couldn't open %s: %s", path, std::strerror(error));
    return nullptr;
}

} // namespace

SDL_RWops* openDataFile(const char* path)
{
    // Without O_NONBLOCK the open of a FIFO waits for a writer; for the regular
    // file that is checked for next the flag changes nothing.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1)
        return openFailed(path, errno);
    struct stat status;
    if (fstat(fd, &status) != 0) {
        int error = errno;
        close(fd);
        return openFailed(path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        close(fd);
        SDL_SetError("%s is not a regular file", path);
        return nullptr;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        int error = errno;
        close(fd);
        return openFailed(path, error);
    }
    SDL_RWops* stream = SDL_RWFromFP(file, 1);
    if (!stream)
        std::fclose(file);
    return stream;
}
