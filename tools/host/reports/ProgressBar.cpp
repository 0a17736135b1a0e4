#include "tools/host/reports/ProgressBar.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace ombrelhost
{

namespace
{
constexpr int kBarWidth = 40;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
} // namespace

ProgressBar::ProgressBar(std::FILE* stream, std::string label, bool enabled)
    : mStream(stream), mLabel(std::move(label)), mEnabled(enabled && stream != nullptr)
{
}

ProgressBar::~ProgressBar()
{
    Finish();
}

bool ProgressBar::IsTerminal(std::FILE* stream)
{
    return stream != nullptr && isatty(fileno(stream)) == 1;
}

void ProgressBar::Update(double fraction)
{
    if (!mEnabled || mFinished)
        return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    const auto now = std::chrono::steady_clock::now();
    // Redrawn when the percentage changes, but not more often than a terminal can show.
    if (percent == mShownPercent ||
        (percent < 100 && mShownPercent >= 0 && now - mLastDrawn < kRedrawInterval))
        return;
    mShownPercent = percent;
    mLastDrawn = now;
    const int filled = percent * kBarWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    std::fprintf(mStream, "\r%s [%s] %3d %%", mLabel.c_str(), bar.c_str(), percent);
    std::fflush(mStream);
}

void ProgressBar::Finish()
{
    if (!mEnabled || mFinished)
        return;
    Update(1.0);
    std::fputc('\n', mStream);
    std::fflush(mStream);
    mFinished = true;
}

} // namespace ombrelhost
