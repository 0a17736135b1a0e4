#pragma once
// A one-line progress bar on a terminal: redrawn in place, only when what it shows changes.

#include "platform/NonCopyable.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace ombrelhost
{

class ProgressBar : private NonCopyable
{
public:
    // Draws nothing unless enabled; stream is borrowed (usually stderr).
    ProgressBar(std::FILE* stream, std::string label, bool enabled);
    ~ProgressBar();

    // fraction from 0 to 1.
    void Update(double fraction);
    // Draws 100 % and ends the line; also done by the destructor.
    void Finish();

    // Whether a stream is a terminal (where a bar that redraws itself makes sense).
    static bool IsTerminal(std::FILE* stream);

private:
    std::FILE* mStream;
    std::string mLabel;
    bool mEnabled;
    bool mFinished = false;
    int mShownPercent = -1;
    std::chrono::steady_clock::time_point mLastDrawn;
};

} // namespace ombrelhost
