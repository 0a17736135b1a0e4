#pragma once
// The control functions of an installed test effect. The test opens the same library file the
// code under test loads, so both see one copy of the effect's static configuration and log; the
// library stays open until destruction. Any other effect library opens with no control.

#include "tests/test_effects/TestEffectControl.h"

#include <memory>
#include <string>
#include <vector>

class TestEffectLibrary
{
public:
    // effectFile: the installed library, or empty for none.
    explicit TestEffectLibrary(const std::string& effectFile);

    // False for a library that is no test effect.
    bool hasControl() const { return logProc != nullptr; }
    // All zero for a library that is no test effect.
    TestEffectConfig defaults() const;
    // Takes effect for effects created from now on. These three throw std::logic_error for a library
    // that is no test effect.
    void configure(const TestEffectConfig& config) const;
    TestEffectLog& log() const;
    // Makes the most recently created effect call its host callback, as from its own editor.
    intptr_t callHostFromEffect(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                                float opt = 0.0f) const;
    // Any exported function of the library, or null.
    void* symbol(const char* name) const;

private:
    std::unique_ptr<void, int (*)(void*)> library;
    TestEffectDefaultsProc defaultsProc = nullptr;
    TestEffectConfigureProc configureProc = nullptr;
    TestEffectLogProc logProc = nullptr;
    TestEffectCallHostProc callHostProc = nullptr;
};

// The built test effect's default configuration.
TestEffectConfig testEffectDefaults();

// Index of the first logged call of kind (and, but for process calls, opcode) at or after from, or -1.
// Safe while the effect may still be called.
int findEffectCall(const TestEffectLog& log, int32_t kind, int32_t opcode, int from = 0);
// How many logged dispatcher calls have the opcode.
int countDispatcherCalls(const TestEffectLog& log, int32_t opcode);
// The dispatcher opcodes logged, in order.
std::vector<int32_t> dispatcherOpcodes(const TestEffectLog& log);
