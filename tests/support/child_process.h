#pragma once
// Runs body in a child process in workDir (if given): its standard output and exit status (-1 if
// none; 0 if body returns). SIGKILL ends it after 20 s: SIGTERM is a mere quit request to SDL,
// and SDL may ignore SIGALRM.
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

// A fresh folder holding a copy of the game's data/, to damage or take files from.
inline std::string copyOfData()
{
    char pattern[] = "/tmp/heli-data-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::filesystem::copy("data", folder + "/data");
    return folder;
}

inline std::pair<std::string, int> runInChild(const std::function<void()>& body, const std::string& workDir = "")
{
    char output[] = "/tmp/heli-child-XXXXXX";
    close(mkstemp(output));
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen(output, "w", stdout) || (!workDir.empty() && chdir(workDir.c_str()) != 0))
            _exit(99);
        body();
        std::fflush(stdout);
        std::exit(0); // with exit-time handlers, and a leak check under the sanitizers
    }
    int status = 0;
    pid_t ended = 0;
    for (int waitedMs = 0; (ended = waitpid(child, &status, WNOHANG)) == 0 && waitedMs < 20000; waitedMs += 10)
        usleep(10000);
    const bool late = ended == 0;
    if (late) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    std::ifstream file(output);
    std::string written{std::istreambuf_iterator<char>(file), {}};
    std::remove(output);
    if (late)
        written += "\n[ended by the test's deadline: still running after 20 s]";
    return {written, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}
