#pragma once
// Runs the built reference host (or any program) as a user would: a child process with its own
// working folder and environment, its output captured, its end reported as an exit code or a
// signal, and a generous time limit after which it is killed.

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e
{

struct RunResult
{
    int exitCode = -1; // valid when the process exited
    int signal = 0;    // the signal that ended it, 0 when it exited
    bool timedOut = false;
    std::string out;
    std::string err;

    bool Exited() const { return signal == 0 && !timedOut; }
    // For assertion messages.
    std::string Describe() const;
};

// (name, value) sets a variable; (name, nothing) removes it.
using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

RunResult RunProgram(const std::vector<std::string>& argv, const std::string& workingFolder,
                     const Environment& environment = {},
                     std::chrono::seconds timeLimit = std::chrono::seconds(300));

// The program on PATH, or empty.
std::string FindOnPath(const std::string& name);

} // namespace e2e
