#pragma once
// Runs a program of this build as a user runs it, from inside a test running under Windows: a
// process of its own, its output collected in a file, its exit code, and a bound on how long it
// may take.

#include <chrono>
#include <string>
#include <vector>

struct ProgramRun
{
    bool finished = false; // false: it was ended when its time ran out, or it did not start
    unsigned long exitCode = 0;
    std::string output; // standard output and standard error, interleaved
    std::string Describe() const;
};

// Runs program with the arguments in the folder (which must exist), its output through a file there.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder, std::chrono::seconds limit);
