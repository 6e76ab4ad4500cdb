#pragma once
// Runs a piece of the game in a child process, so that paths which end the
// process (fatal errors, exit status) can be checked from a test.
#include <functional>
#include <string>
#include <vector>

struct ChildOutcome {
    std::string output; // everything the child wrote to standard output
    bool exited = false; // ended through exit, not a signal
    int exitStatus = -1;
};

// The child changes into workDir (when given) before running body; a body
// that returns ends the child with status 0.
ChildOutcome runInChild(const std::function<void()>& body, const std::string& workDir = "");

// A fresh folder holding a copy of the game's data/ without the named files.
std::string dataFolderWithout(const std::vector<std::string>& missing);
