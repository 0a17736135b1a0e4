#pragma once
// The baseline benchmark: a number of effect instances created straight from the effect library,
// each processing one stereo block in place per iteration through its processReplacing, from the
// same test signal copied into its buffers first, as the bridge and the module have it.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

// The registered name of the baseline for that many instances at that block length; an effect label
// ("light") names the effect when it is not the bundled delay.
std::string directBaselineName(int instances, int32_t blockLength, const std::string& effectLabel = {});

// [benchmark thread] The body of the baseline benchmark.
void processEffectsDirectly(benchmark::State& state, const std::string& effectLibrary, int instances,
                            int32_t blockLength);
