#include "child_process.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

ChildOutcome runInChild(const std::function<void()>& body, const std::string& workDir)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[1]);
        if (!workDir.empty() && chdir(workDir.c_str()) != 0)
            _exit(99);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    close(pipeEnds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        outcome.output.append(buffer, size_t(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    outcome.exited = WIFEXITED(status);
    outcome.exitStatus = outcome.exited ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string dataFolderWithout(const std::vector<std::string>& missing)
{
    char pattern[] = "/tmp/heli-data-XXXXXX";
    fs::path folder = mkdtemp(pattern);
    fs::copy(fs::path(HELI_SOURCE_DIR) / "data", folder / "data");
    for (const std::string& name : missing)
        fs::remove(folder / "data" / name);
    return folder.string();
}
