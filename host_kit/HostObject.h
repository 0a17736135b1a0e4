#pragma once
// What every object of the test host shares: its place in the host, its call recording, its
// configured answers and the count of references the module holds on it.
//
// The TestHost owns every host object until it is destroyed, so a module that releases too often
// is caught by the counts instead of freeing memory under itself.

#include "aax_library/host/IACFUnknown.h"
#include "host_kit/CallLog.h"
#include "host_kit/HostConfig.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <string>
#include <utility>

namespace testhost
{

class TestHost;

class HostObject : private NonCopyable
{
public:
    HostObject(TestHost& host, std::string interfaceName);
    virtual ~HostObject() = default;

    // The object's IACFUnknown: the pointer the module sees.
    virtual IACFUnknown* AsUnknown() = 0;

    const std::string& InterfaceName() const { return mInterfaceName; }
    int Id() const { return mId; }
    // "Controller#4": how the object appears in the log and in other calls' arguments.
    std::string Label() const { return mInterfaceName + "#" + std::to_string(mId); }

    // [any thread] reference accounting: references handed out (queries and AddRef) and given
    // back. Outstanding is their difference; a release beyond zero is counted, not applied.
    int AddRefs() const { return mAddRefs.load(); }
    int Releases() const { return mReleases.load(); }
    int Outstanding() const { return mAddRefs.load() - mReleases.load(); }
    int OverReleases() const { return mOverReleases.load(); }

protected:
    // What a query for iid hands out, or null when this object does not serve it.
    virtual IACFUnknown* Lookup(const acfIID& iid) = 0;

    ACFRESULT DoQueryInterface(const acfIID& iid, void** out);
    uint32_t DoAddRef();
    uint32_t DoRelease();

    template <class... Args> void Record(const char* operation, const Args&... args)
    {
        // Formatting a record allocates; with the log off (around audio-path measurements) the
        // host must not.
        if (Logging())
            RecordCall(Call{mInterfaceName, operation, {ToText(args)...}, mId});
    }
    // The configured result for one of this object's operations.
    AAX_Result Answer(const char* operation) const;

    TestHost& Host() const { return mHost; }
    const HostConfig& Config() const;

private:
    bool Logging() const;
    void RecordCall(Call call);

    TestHost& mHost;
    const std::string mInterfaceName;
    const int mId;
    std::atomic<int> mAddRefs{0};
    std::atomic<int> mReleases{0};
    std::atomic<int> mOverReleases{0};
};

} // namespace testhost

// The three IACFUnknown operations and AsUnknown of a host object class.
#define TESTHOST_IACFUNKNOWN()                                                                               \
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override                                         \
    {                                                                                                        \
        return DoQueryInterface(iid, out);                                                                   \
    }                                                                                                        \
    uint32_t AddRef() override                                                                               \
    {                                                                                                        \
        return DoAddRef();                                                                                   \
    }                                                                                                        \
    uint32_t Release() override                                                                              \
    {                                                                                                        \
        return DoRelease();                                                                                  \
    }                                                                                                        \
    IACFUnknown* AsUnknown() override                                                                        \
    {                                                                                                        \
        return this;                                                                                         \
    }
