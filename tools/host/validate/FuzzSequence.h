#pragma once
// The operations of one fuzzing sequence, made from its seed alone, and the seed of each sequence
// of a run, made from the run's seed and the sequence's index: a finding's sequence seed is all a
// developer needs to replay it.

#include "tools/host/validate/FuzzOperation.h"

#include <cstdint>
#include <vector>

namespace ombrelhost
{

// The seed of the run's sequence at index (counted from 0).
std::uint64_t FuzzSequenceSeed(std::uint64_t runSeed, std::uint64_t index);

// The sequence: it loads the module and creates an instance first, then draws operations that make
// sense for what it has open at that point, and ends anywhere (everything still open is then torn
// down), so every operation also meets a teardown right after it.
std::vector<FuzzOperation> MakeFuzzSequence(std::uint64_t sequenceSeed);

// The rates a sequence moves an instance to.
const std::vector<double>& FuzzRates();

} // namespace ombrelhost
