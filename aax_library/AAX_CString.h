#pragma once
// The library's byte string: no character set is assumed, every length counts bytes.

#include "aax_library/AAX_IString.h"

#include <string>

class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    AAX_CString(const char* text); // a null text gives the empty string
    AAX_CString(const AAX_CString& other) = default;
    AAX_CString(const AAX_IString& other);
    // Virtual on every platform: where slot 0 is Microsoft's deleting destructor (see AAX_IString),
    // this destructor follows the interface's seven slots and the deleting destructor calls it.
    virtual ~AAX_CString() = default;

    AAX_CString& operator=(const AAX_CString& other);

    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Set(const char* text) override;
    AAX_IString& operator=(const char* text) override;
    AAX_IString& operator=(const AAX_IString& other) override;

    bool operator==(const AAX_CString& other) const;
    bool operator!=(const AAX_CString& other) const { return !(*this == other); }

    // out := at most `length` bytes starting at byte `first` (first is clamped to the length).
    void SubString(uint32_t first, uint32_t length, AAX_IString* out) const;

    void Append(const char* text);
    void Append(const AAX_CString& other);
    void Clear() { mText.clear(); }
    const std::string& StdString() const { return mText; }

#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
    void* DeletingDestructor(uint32_t flags) override;
#endif

private:
    std::string mText;
};
