#pragma once
// What the tests make the installed test effect do as if from its own editor: the effect's program
// menu, and waiting for the refresh that a display-update request starts.

#include "tests/aax_adapter/ModuleBundle.h"
#include "tests/support/TestWaiting.h"

#include <cstdint>

// Selects a program of the most recently created test effect the way its own program menu does:
// with a display-update request, or (asksForDisplayUpdate false) silently, as an effect that
// changes its values without telling the host. -1 when the effect cannot.
inline intptr_t selectEffectProgram(const ModuleBundle& bundle, int32_t program, bool asksForDisplayUpdate)
{
    const auto select = bundle.effectFunction<TestEffectSelectProgramProc>(kTestEffectSelectProgramName);
    return select != nullptr ? select(program, asksForDisplayUpdate ? 1 : 0) : -1;
}

// Waits for the end of a refresh that starts after the log position `from`: its last call into the
// effect reads the program, after everything it reports has reached the host.
inline bool refreshEnded(const ModuleBundle& bundle, int from)
{
    return waitFor([&]
                   { return findEffectCall(bundle.log(), kTestCallDispatcher, effGetProgram, from) >= 0; });
}

// The effect asks for a display update, and the refresh it starts runs to its end.
inline bool refreshAfterDisplayRequest(const ModuleBundle& bundle)
{
    const int from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    bundle.callHostFromEffect(audioMasterUpdateDisplay);
    return refreshEnded(bundle, from);
}

// The test effect with `parameters` parameters and two programs: program 0 holds 0.25 everywhere,
// program 1 holds program1Values.
template <size_t Count> TestEffectConfig twoProgramEffect(const float (&program1Values)[Count])
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = static_cast<int32_t>(Count);
    config.numPrograms = 2;
    config.seedsProgramValues = 1;
    for (size_t i = 0; i < Count; ++i)
    {
        config.programValues[0][i] = 0.25f;
        config.programValues[1][i] = program1Values[i];
    }
    return config;
}
