#pragma once
// A rate change without release: the host gives a live instance a new rate, goes on running blocks
// and expects the plug-in to follow: it may pass its input through for a moment, must take the new
// rate off the audio thread, tell the host its latency again, and then process at the new rate.

#include "tools/host/validate/BlockSequence.h"

#include <vector>

namespace ombrelhost
{

class GroupContext;
class ValidationInstance;

// [host thread] Changes the instance's rate to each of rates in turn. After each, blocks of 256
// samples run (a millisecond apart, as a host's) until the module reports its latency again, for at
// most 10 s; then the sequence runs at the new rate and must be finite, alive where
// referencePeak says the effect passes signal, and write nothing outside its outputs (noted in
// buffers). One result: "rate change without release (LAYOUT)".
void CheckRateChanges(GroupContext& context, ValidationInstance& instance, const std::vector<double>& rates,
                      const BlockSequence& sequence, double referencePeak, BufferFindings& buffers);

} // namespace ombrelhost
