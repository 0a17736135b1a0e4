#pragma once
// The exception a wrapper throws when the host breaks the component model in a way the wrapper
// cannot answer with a fallback. Every entry point catches it.

#include "aax_library/AAX_Types.h"

#include <exception>

class AAX_CACFException : public std::exception
{
public:
    explicit AAX_CACFException(ACFRESULT code) : mCode(code) {}
    ACFRESULT Code() const { return mCode; }
    const char* what() const noexcept override { return "host component model failure"; }

private:
    ACFRESULT mCode;
};
