#pragma once
// Runs the body of a host call so that nothing unwinds into the host: whatever the body throws
// becomes ACF_E_UNEXPECTED.

#include "aax_library/AAX_Types.h"

// [any thread] The body's result, or ACF_E_UNEXPECTED when it threw.
template <typename Body> AAX_Result GuardHostCall(Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}
