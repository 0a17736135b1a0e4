#pragma once
// The test host's record of every call the module makes on it, in order, with its arguments as
// text. Tests read it to check what the module asked of the host, in which order, with what.

#include "aax_library/AAX_Types.h"

#include <cstdint>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testhost
{

struct Call
{
    std::string interface; // the host object's family, e.g. "Controller", "PropertyMap"
    std::string operation; // e.g. "GetSampleRate"
    std::vector<std::string> args;
    int object = 0; // the host object's id, unique within one TestHost
    // The thread the module called on: some calls must never come from the audio thread.
    std::thread::id thread = std::this_thread::get_id();

    // "Controller#4.GetSampleRate(a, b)"
    std::string ToString() const;
};

class CallLog
{
public:
    // [any thread]
    void Add(Call call);
    void Clear();
    // Recording can be switched off around code that must not see host-side allocations.
    void SetEnabled(bool enabled);
    // [any thread] lets callers skip building a record nobody keeps.
    bool IsEnabled() const { return mEnabled.load(std::memory_order_relaxed); }

    // [any thread] copies, so the caller may read while the module keeps calling.
    std::vector<Call> Calls() const;
    std::vector<Call> Find(const std::string& interface, const std::string& operation) const;
    size_t Count(const std::string& interface, const std::string& operation) const;
    // "Interface.Operation" of every call, in order; with an interface name, only that family's.
    std::vector<std::string> Operations(const std::string& interface = {}) const;
    // One call per line, for failure messages.
    std::string Dump() const;

private:
    mutable std::mutex mMutex;
    std::vector<Call> mCalls;
    std::atomic<bool> mEnabled{true};
};

// How arguments appear in the log.
std::string ToText(const std::string& text);
std::string ToText(const char* text); // "(null)" for null
std::string ToText(bool value);
std::string ToText(uint8_t value);
std::string ToText(int32_t value);
std::string ToText(uint32_t value);
std::string ToText(int64_t value);
std::string ToText(uint64_t value);
std::string ToText(float value);
std::string ToText(double value);
std::string ToText(const void* pointer); // "null" or "0x..."
std::string ToText(const acfIID& iid);   // registry form, or the identifier's name when known

// The name of a known identifier ("IID_IAAXControllerV1"), else its registry form.
std::string IdentifierName(const acfIID& iid);

} // namespace testhost
