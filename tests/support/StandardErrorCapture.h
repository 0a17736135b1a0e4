#pragma once
// What the process writes to standard error while one of these exists, the module's writes
// included: the descriptor itself is redirected, not a stream of this program.

#include "platform/NonCopyable.h"

#include <string>

class StandardErrorCapture : private NonCopyable
{
public:
    // Starts redirecting standard error into a temporary file.
    StandardErrorCapture();
    // Puts standard error back if finish was not called.
    ~StandardErrorCapture();

    // Puts standard error back and answers everything written since construction.
    std::string finish();

private:
    int savedDescriptor = -1;
    std::string file;
    bool finished = false;
};
