#pragma once
// `validate MODULE --fuzz SECONDS`: random sequences of host operations through the module, each
// in a child process, until the time is up; the first crash, hang or finding is reported with the
// sequence's seed and the numbered operations that led to it. `--reproduce SEED` plays that one
// sequence again in the foreground, printing each operation, for a debugger.

#include "tools/host/validate/ValidateSettings.h"

namespace ombrelhost
{

// [host thread] The fuzzing run (settings.seed set): exit status 1 on a finding.
int RunFuzz(const ValidateSettings& settings);
// [host thread] The child's side: the one sequence of settings.sequenceSeed, each operation
// written to the progress file before it runs.
int RunFuzzSequence(const ValidateSettings& settings);
// [host thread] The sequence of settings.reproduceSeed in this process, each operation printed.
int RunFuzzReproduction(const ValidateSettings& settings);

} // namespace ombrelhost
