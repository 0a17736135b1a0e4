#include "tools/host/validate/BlockSequence.h"

#include "tools/host/validate/ValidationGroup.h"

#include <algorithm>

namespace ombrelhost
{

std::string BlockSequence::Describe() const
{
    std::string text = "blocks of ";
    for (size_t i = 0; i < fixedLengths.size(); ++i)
        text += (i == 0 ? "" : i + 1 == fixedLengths.size() ? " and " : ", ") + std::to_string(fixedLengths[i]);
    return text + " samples and random lengths up to " + std::to_string(randomLimit);
}

SequenceFigures RunSequence(ValidationInstance& instance, const BlockSequence& sequence, std::mt19937_64& random)
{
    SequenceFigures run;
    const SignalSource noise = Noise(static_cast<uint32_t>(random()));
    std::uniform_int_distribution<int32_t> randomLength(1, std::max(1, sequence.randomLimit));
    int64_t position = 0;
    for (int32_t block = 0; block < sequence.blocks; ++block)
    {
        const bool fixed = block % 2 == 0 && !sequence.fixedLengths.empty();
        const int32_t length =
            fixed ? sequence.fixedLengths[static_cast<size_t>(block / 2) % sequence.fixedLengths.size()]
                  : randomLength(random);
        const int64_t nonFinite = run.figures.nonFinite;
        const int64_t writes = run.figures.bufferWrites;
        instance.RunBlock(length, noise, position, run.figures);
        position += length;
        if (run.firstNonFiniteLength == 0 && run.figures.nonFinite > nonFinite)
            run.firstNonFiniteLength = length;
        if (run.firstBufferWriteLength == 0 && run.figures.bufferWrites > writes)
            run.firstBufferWriteLength = length;
    }
    return run;
}

std::string SequenceFault(const SequenceFigures& run, const BlockSequence& sequence, double referencePeak,
                          double referenceRate, const std::string& where)
{
    if (run.figures.nonFinite > 0)
        return std::to_string(run.figures.nonFinite) + " output samples are not finite " + where + ", " +
               sequence.Describe() + ", the first in a block of " + std::to_string(run.firstNonFiniteLength);
    if (run.figures.peak > kRunawayPeak)
        return "the output runs away " + where + ", " + sequence.Describe() + " (peak " +
               FormatFigure("%.3g", run.figures.peak) + " from noise at -6 dB)";
    if (referencePeak >= kPassesSignalPeak && run.figures.peak < kAlivePeak)
        return "no output " + where + ", " + sequence.Describe() + " (peak " +
               FormatFigure("%.3g", run.figures.peak) + "), where " + RateText(referenceRate) + " gives peak " +
               FormatFigure("%.3g", referencePeak);
    return {};
}

void BufferFindings::Note(const SequenceFigures& run, int32_t blocksRun, const std::string& where)
{
    blocks += blocksRun;
    writes += run.figures.bufferWrites;
    if (first.empty() && run.figures.bufferWrites > 0)
        first = run.figures.firstBufferWrite + ", in a block of " + std::to_string(run.firstBufferWriteLength) +
                " samples " + where;
}

std::string RateText(double rate)
{
    return FormatFigure("%.6g", rate) + " Hz";
}

} // namespace ombrelhost
