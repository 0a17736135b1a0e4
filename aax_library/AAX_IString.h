#pragma once
// The byte-string interface through which every text crosses between host and module.
//
// Its table starts with the destructor. Windows hosts are built by Microsoft's compiler, whose ABI
// gives a virtual destructor one slot, a "deleting destructor" taking flags, where GCC's ABI gives
// two. A GCC build for Windows therefore declares slot 0 as an ordinary function with Microsoft's
// signature, so that Length to both operator= sit where such a host calls them (seven slots).

#include <cstdint>

#if defined(_WIN32) && !defined(_MSC_VER)
#define AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT 1
#endif

class AAX_IString
{
public:
#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
    // Bit 0 of the deleting destructor's flags: free the object's memory after destroying it.
    static constexpr uint32_t kDeleteMemory = 1u;
    // [any thread] Microsoft's deleting destructor: destroys the string, frees it when flags hold
    // kDeleteMemory, and answers its address.
    virtual void* DeletingDestructor(uint32_t flags) = 0;
    // What an implementation's DeletingDestructor does, for the implementation class T.
    template <class T> static void* DestroyForDestructorSlot(T* self, uint32_t flags)
    {
        if ((flags & kDeleteMemory) != 0)
            delete self;
        else
            self->~T();
        return self;
    }
#else
    virtual ~AAX_IString() = default;
#endif
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
#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
    // Destruction goes through slot 0 (or the implementation's own destructor), never through this.
    ~AAX_IString() = default;
#endif
};
