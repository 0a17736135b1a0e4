#pragma once
// Runs a program as a child process and waits for it with a time limit: how it ended (exit code,
// the signal that killed it, or killed by us after the limit). Its output goes to a file, so that
// a chatty effect can never block it on a full pipe.

#include <chrono>
#include <string>
#include <vector>

namespace ombrelhost
{

struct ChildOutcome
{
    bool started = false;
    bool timedOut = false;  // killed after the time limit
    int exitCode = -1;      // valid when it exited
    int signal = 0;         // the signal that ended it (POSIX), 0 otherwise
    std::string signalName; // "SIGSEGV", or the exception code's name on Windows
    std::string startError; // why it could not be started

    bool Exited() const { return started && !timedOut && signal == 0; }
};

// [any thread] argv[0] is the program's path. Standard output and error go to outputPath.
ChildOutcome RunChildProcess(const std::vector<std::string>& argv, const std::string& outputPath,
                             std::chrono::milliseconds timeLimit);

// The path of the running program, for running itself again.
std::string CurrentProgramPath();

} // namespace ombrelhost
