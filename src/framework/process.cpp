#include "process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Counted by the handler, compared by the game's own thread: nothing but the
// handler writes it, so no hangup is lost between a look and the next.
volatile sig_atomic_t hangups = 0;
sig_atomic_t hangupsTaken = 0;

void countHangup(int)
{
    hangups = hangups + 1;
}

} // namespace

void prepareProcess()
{
    // A later open (a data file, the display's connection) must not land on a
    // closed standard stream: the game's messages would go into it.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            open("/dev/null", O_RDWR); // the lowest free descriptor: this one

    // The credits and messages are written best effort: a reader that went
    // away gives a failed write, not the end of the game.
    std::signal(SIGPIPE, SIG_IGN);

    // Without a handler a closed terminal kills the game before SDL can put the
    // display mode back. Left alone when ignored, as under nohup.
    struct sigaction hangup = {};
    hangup.sa_handler = countHangup;
    sigemptyset(&hangup.sa_mask);
    hangup.sa_flags = SA_RESTART;
    struct sigaction inherited = {};
    sigaction(SIGHUP, nullptr, &inherited);
    if (inherited.sa_handler != SIG_IGN)
        sigaction(SIGHUP, &hangup, nullptr);
}

bool takeHangup()
{
    if (hangupsTaken == hangups)
        return false;
    hangupsTaken = hangups;
    return true;
}
