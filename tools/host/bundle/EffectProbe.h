#pragma once
// Asks a VST 2 effect library about itself, as `bundle` needs before it wraps the effect: loads it,
// creates and opens the effect, starts it running (some effects know their latency only then) and
// reads its name, vendor, product code, channel counts and latency.
//
// A third-party effect may crash or hang while it starts, so the command asks in a child process
// (this program again, with the hidden option below) and only reads the answers back.

#include "tools/host/bundle/EffectFacts.h"

#include <string>

namespace ombrelhost
{

// The hidden option of `bundle` that makes the program the asking child: the facts go into the file.
constexpr const char* kProbeIntoOption = "probe-into";

// Whether the file starts as this system's libraries do (ELF here, PE on Windows): another system's
// effect cannot be loaded and asked, only bundled from what the user says of it.
bool IsLibraryOfThisSystem(const std::string& libraryPath);

// [host thread] In this process. False with a reason when the library cannot be loaded or gives no
// effect.
bool ReadEffectFacts(const std::string& libraryPath, EffectFacts& facts, std::string& error);

// [host thread] The same in a child process running `programPath bundle LIBRARY --probe-into FILE`;
// a crash or a hang of the effect is a reason like any other.
bool ProbeEffect(const std::string& programPath, const std::string& libraryPath, EffectFacts& facts,
                 std::string& error);

} // namespace ombrelhost
