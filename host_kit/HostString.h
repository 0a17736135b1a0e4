#pragma once
// The host's own AAX_IString: what the host hands the module to write a text into.

#include "aax_library/AAX_IString.h"

#include <string>

namespace testhost
{

class HostString : public AAX_IString
{
public:
    HostString() = default;
    explicit HostString(const char* text) { Set(text); }
    explicit HostString(std::string text) : mText(std::move(text)) {}
    HostString(const HostString& other) : AAX_IString(), mText(other.mText) {}
    // Virtual on every platform: where slot 0 is Microsoft's deleting destructor (see AAX_IString),
    // this destructor follows the interface's seven slots and the deleting destructor calls it.
    virtual ~HostString() = default;

    uint32_t Length() const override { return static_cast<uint32_t>(mText.size()); }
    uint32_t MaxLength() const override { return kMaxLength; }
    const char* Get() const override { return mText.c_str(); }
    void Set(const char* text) override { mText = text != nullptr ? text : ""; }
    AAX_IString& operator=(const char* text) override
    {
        Set(text);
        return *this;
    }
    AAX_IString& operator=(const AAX_IString& other) override
    {
        if (&other != this)
            Set(other.Get());
        return *this;
    }
    HostString& operator=(const HostString& other)
    {
        mText = other.mText;
        return *this;
    }

    const std::string& Text() const { return mText; }

    static constexpr uint32_t kMaxLength = 0xFFFFFFFEu;

#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
    // [any thread]
    void* DeletingDestructor(uint32_t flags) override;
#endif

private:
    std::string mText;
};

} // namespace testhost
