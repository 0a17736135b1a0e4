#include "aax_library/AAX_CString.h"

AAX_CString::AAX_CString(const char* text) : mText(text != nullptr ? text : "") {}

AAX_CString::AAX_CString(const AAX_IString& other) : AAX_CString(other.Get()) {}

#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
void* AAX_CString::DeletingDestructor(uint32_t flags)
{
    return DestroyForDestructorSlot(this, flags);
}
#endif

AAX_CString& AAX_CString::operator=(const AAX_CString& other)
{
    mText = other.mText;
    return *this;
}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t>(mText.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::Get() const
{
    return mText.c_str();
}

void AAX_CString::Set(const char* text)
{
    // A null text is read as the empty string rather than dereferenced.
    if (text == nullptr)
        mText.clear();
    else
        mText.assign(text);
}

AAX_IString& AAX_CString::operator=(const char* text)
{
    Set(text);
    return *this;
}

AAX_IString& AAX_CString::operator=(const AAX_IString& other)
{
    if (&other != this)
        Set(other.Get());
    return *this;
}

bool AAX_CString::operator==(const AAX_CString& other) const
{
    return mText == other.mText;
}

void AAX_CString::SubString(uint32_t first, uint32_t length, AAX_IString* out) const
{
    if (out == nullptr)
        return;
    const std::string::size_type start = first <= mText.size() ? first : mText.size();
    *out = mText.substr(start, length).c_str();
}

void AAX_CString::Append(const char* text)
{
    if (text != nullptr)
        mText.append(text);
}

void AAX_CString::Append(const AAX_CString& other)
{
    mText.append(other.mText);
}
