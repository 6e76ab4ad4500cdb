#pragma once
// Runs body in a child process in workDir (if given), so that what ends the
// process (fatal errors, exit status) can be checked; a body that returns ends
// it with status 0. After 20 s SIGALRM ends it: SDL makes SIGTERM a mere quit
// request, which a mission or the menu may never act on.
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct ChildOutcome {
    std::string output; // standard output, then a note if the deadline ended the child
    int exitStatus = -1; // -1 unless it ended through exit
};

inline ChildOutcome runInChild(const std::function<void()>& body, const std::string& workDir = "")
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {"no pipe"};
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGALRM, SIG_DFL);
        alarm(20);
        dup2(pipeEnds[1], STDOUT_FILENO);
        if (!workDir.empty() && chdir(workDir.c_str()) != 0)
            _exit(99);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    close(pipeEnds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        outcome.output.append(buffer, size_t(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        outcome.output += "\n[ended by the test's deadline: still running after 20 s]";
    return outcome;
}
