#pragma once
// Runs body in a child process in workDir (if given): its standard output and exit status (-1 if
// none; 0 if body returns). SIGALRM ends it after 20 s: SIGTERM is a mere quit request to SDL.
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

inline std::pair<std::string, int> runInChild(const std::function<void()>& body, const std::string& workDir = "")
{
    char output[] = "/tmp/heli-child-XXXXXX";
    close(mkstemp(output));
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGALRM, SIG_DFL);
        alarm(20);
        if (!std::freopen(output, "w", stdout) || (!workDir.empty() && chdir(workDir.c_str()) != 0))
            _exit(99);
        body();
        std::fflush(stdout);
        std::exit(0); // with exit-time handlers, and a leak check under the sanitizers
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream file(output);
    std::string written{std::istreambuf_iterator<char>(file), {}};
    std::remove(output);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        written += "\n[ended by the test's deadline: still running after 20 s]";
    return {written, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}
