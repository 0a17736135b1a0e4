#pragma once
// The module-wide holder of the host-services wrapper: created at start-up, deleted at shut-down,
// used by the library to send trace messages to the host.

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Types.h"
#include "aax_library/host/IACFUnknown.h"

class AAX_IHostServices;

class AAX_CHostServices
{
public:
    // Longest text a trace passes on; longer text is cut.
    static constexpr int kMaxTraceLength = 511;

    // [host thread] with a host and no wrapper yet, creates the wrapper on it; with null, deletes
    // the wrapper; otherwise nothing. Called only by the start-up and shut-down entry points.
    static void Set(IACFUnknown* host);
    // [any thread] the wrapper, or null outside start-up .. shut-down (borrowed).
    static AAX_IHostServices* Get();
    // [any thread] printf-style; without a wrapper returns 0 and does nothing.
    static AAX_Result Trace(int32_t priority, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // [any thread] without a wrapper returns 0 and does nothing.
    static AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note);
};
