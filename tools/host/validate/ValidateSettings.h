#pragma once
// Everything `validate` is asked to do, as its options set it. The validator hands the same
// settings to each group's child process on its command line (ValidateCommand.cpp, ChildArguments).

#include "tools/host/session/ChannelLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrelhost
{

struct ValidateSettings
{
    std::string module; // as given; the module file itself once resolved
    int strictness = 5;
    // --seed: every random choice of the run follows from it. Without one the validator picks a
    // seed and prints it, so that any run can be repeated.
    std::optional<std::uint64_t> seed;
    std::string layoutText = "all";
    // Empty for "all": every layout the module describes, known once a group has opened it.
    std::vector<ChannelLayout> layouts;
    double timeoutSeconds = 0.0; // each group's time limit; 0: by strictness
    std::string jsonPath;
    std::string junitPath;
    bool inProcess = false;
    // --repeat: the whole run this many times, repetition r (from 1) with the seed + r - 1.
    int repeat = 1;
    // --only, --skip: regular expressions over check and group names (CheckSelection); empty: none.
    std::string only;
    std::string skip;
    // --reference: a render compared with this WAV file (written when there is none), within
    // --tolerance per sample.
    std::string referencePath;
    double tolerance = 1.0e-6;
    // --config: a JSON file setting any of these options; the command line wins.
    std::string configPath;
    // --fuzz SECONDS: random sequences of host operations instead of the checks (0: none);
    // --reproduce SEED: one sequence again, in this process.
    double fuzzSeconds = 0.0;
    std::optional<std::uint64_t> reproduceSeed;
    // The child's side: the one group it runs and where it writes its steps and results.
    std::string group;
    std::string progressPath;
    // The child's side of --fuzz: the one sequence it plays.
    std::optional<std::uint64_t> sequenceSeed;
};

} // namespace ombrelhost
