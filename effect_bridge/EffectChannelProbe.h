#pragma once
// How many channels the effect beside the module declares, asked without a processor: the
// description needs it before it may offer a configuration wider than stereo, since an effect
// driven with more channels than it declares would read and write past its arrays.

#include <cstdint>
#include <string>

struct DeclaredChannels
{
    // Whether the effect was created and asked; false when the module, the library, its entry or
    // the effect could not be found.
    bool known = false;
    int32_t inputs = 0;
    int32_t outputs = 0;
    // The effect library's file name, as faults name it.
    std::string libraryFileName;
};

// [host thread] Loads the effect library beside the module, creates the effect, opens it, reads the
// channels it declares, closes it and unloads the library. Shows no message: a library that does
// not load is reported by the processor when an instance is made.
DeclaredChannels probeDeclaredChannels();
