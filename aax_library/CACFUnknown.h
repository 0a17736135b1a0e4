#pragma once
// Reference counting and interface lookup for every object the module hands to the host.
//
// An object derives first from its public host-facing interface and second from CACFUnknown; the
// public interface's QueryInterface, AddRef and Release forward to GetOuterUnknown() (see
// ACF_DECLARE_STANDARD_UNKNOWN). Objects are born with count 0; the host's first successful
// QueryInterface makes it 1, and the release that brings it back to 0 deletes the object.

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/host/IACFUnknown.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <cstdint>

class CACFUnknown : private NonCopyable
{
public:
    CACFUnknown();

    virtual ~CACFUnknown();
    // Hook for a derived class's second construction stage; nothing here uses it.
    virtual ACFRESULT ConstructHook();
    // [any thread] called by the release that brings the count to 0, just before DeleteSelf.
    virtual void FinalReleaseHook();
    // [any thread]
    virtual void DeleteSelf();
    // [any thread] on success *out holds a counted reference; otherwise *out is null.
    virtual ACFRESULT InternalQueryInterface(const acfIID& iid, void** out);
    // [any thread] returns the new count.
    virtual uint32_t InternalAddRef();
    // [any thread] returns the new count; the call that reaches 0 destroys the object.
    virtual uint32_t InternalRelease();

    // The unknown the public interfaces forward to (this object's private unknown; no aggregation).
    IACFUnknown* GetOuterUnknown() const { return mOuterUnknown; }
    uint32_t GetRefCount() const { return mRefCount.load(); }

    // [any thread] number of CACFUnknown objects alive in this module.
    static uint32_t GetActiveObjectCount();

    // The object's own IACFUnknown, routed to its Internal* operations.
    class PrivateUnknown : public IACFUnknown
    {
    public:
        explicit PrivateUnknown(CACFUnknown* owner) : mOwner(owner) {}
        ACFRESULT QueryInterface(const acfIID& iid, void** out) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown* mOwner; // borrowed: the object this unknown is embedded in
    };

protected:
    IACFUnknown* GetPrivateUnknown() { return &mPrivateUnknown; }

    // [any thread] Answers a query with one of the object's interfaces: *out is that interface,
    // with a counted reference taken.
    template <class Interface> static ACFRESULT AnswerInterface(Interface* face, void** out)
    {
        *out = face;
        face->AddRef();
        return ACF_OK;
    }

private:
    std::atomic<uint32_t> mRefCount{0};
    IACFUnknown* mOuterUnknown;
    PrivateUnknown mPrivateUnknown;
};

// Implements a public interface's three IACFUnknown operations by forwarding to the controlling
// unknown. Place inside the public section of a class derived from an IACFUnknown interface and
// from CACFUnknown.
#define ACF_DECLARE_STANDARD_UNKNOWN()                                                                       \
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override                                         \
    {                                                                                                        \
        return GetOuterUnknown()->QueryInterface(iid, out);                                                  \
    }                                                                                                        \
    uint32_t AddRef() override                                                                               \
    {                                                                                                        \
        return GetOuterUnknown()->AddRef();                                                                  \
    }                                                                                                        \
    uint32_t Release() override                                                                              \
    {                                                                                                        \
        return GetOuterUnknown()->Release();                                                                 \
    }
