#pragma once
// A render against a stored one (--reference): the same input through a fresh instance must give
// the same output, within a tolerance, from one build of the effect or the module to the next.

#include <string>

namespace ombrelhost
{

class GroupContext;

// [host thread] Renders validate's reference input (noise of a fixed seed, then silence for the
// tail; one second at 48 kHz in blocks of 512, stereo when the run covers it, else the run's first
// layout) through a fresh instance and compares it with the WAV file at path, sample by sample.
// Without a file there, the render is written there and the check is skipped, saying so.
void RunReferenceCheck(GroupContext& context, const std::string& path, double tolerance);

// The check's name in the report.
constexpr const char* kReferenceCheckName = "reference render";

} // namespace ombrelhost
