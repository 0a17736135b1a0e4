#pragma once
// The byte-string interface through which every text crosses between host and module.

#include <cstdint>

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;
    // Number of bytes, without the terminator.
    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    // The zero-terminated text; valid until the next change.
    virtual const char* Get() const = 0;
    virtual void Set(const char* text) = 0;
    virtual AAX_IString& operator=(const char* text) = 0;
    virtual AAX_IString& operator=(const AAX_IString& other) = 0;

protected:
    // Declared because the virtual assignment above suppresses the implicit ones; only the
    // implementations copy.
    AAX_IString() = default;
    AAX_IString(const AAX_IString&) = default;
};
