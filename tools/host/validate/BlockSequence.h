#pragma once
// A run of blocks as the rates group drives an instance: fixed lengths taking turns with a random
// length for every other call, noise in, the host's buffers watched; and the verdict on what came
// out, naming the rate, the block lengths and the layout.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tools/host/validate/ValidationInstance.h"

namespace ombrelhost
{

// Output peaks: an effect passes signal at the reference rate from the first on, and is alive at
// another rate from the second on (noise in at -6 dB).
constexpr double kPassesSignalPeak = 1.0e-3;
constexpr double kAlivePeak = 1.0e-4;
// Output above this (40 dB over full scale) from noise at -6 dB has run away.
constexpr double kRunawayPeak = 100.0;

struct BlockSequence
{
    std::vector<int32_t> fixedLengths;
    int32_t randomLimit = 1024; // random lengths run from 1 to this
    int32_t blocks = 4;         // in all; every other one has a random length

    // "blocks of 2048 samples and random lengths up to 2048"
    std::string Describe() const;
};

struct SequenceFigures
{
    BlockFigures figures;
    // The length of the first block with a non-finite output sample, and of the first block that
    // wrote outside its outputs; 0 when none did.
    int32_t firstNonFiniteLength = 0;
    int32_t firstBufferWriteLength = 0;
};

// [host thread] Runs the sequence through the instance, choosing each random length and the noise
// from random.
SequenceFigures RunSequence(ValidationInstance& instance, const BlockSequence& sequence, std::mt19937_64& random);

// What is wrong with a run, or empty: output not finite or running away, or silent where the effect
// passes signal at the reference rate (referencePeak; 0: not judged). where: "at 44144.1 Hz (stereo)".
std::string SequenceFault(const SequenceFigures& run, const BlockSequence& sequence, double referencePeak,
                          double referenceRate, const std::string& where);

// The writes outside the blocks' outputs over several runs: how many, and where the first was.
struct BufferFindings
{
    int64_t writes = 0;
    int64_t blocks = 0;
    std::string first;

    // where: the run's rate and layout ("at 44144.1 Hz (stereo)").
    void Note(const SequenceFigures& run, int32_t blocksRun, const std::string& where);
};

// A rate as the report shows it: "44144.1 Hz".
std::string RateText(double rate);

} // namespace ombrelhost
