#pragma once
// An in-process AAX host for tests and the reference host: it offers the host side of the
// module's binary interface, records every call it receives, answers as configured, and keeps
// every object it hands out alive until it is destroyed, so reference counts can be checked at
// the end. Create one per test, set `config`, hand `Unknown()` to the module's entry points.

#include "host_kit/CallLog.h"
#include "host_kit/HostConfig.h"
#include "host_kit/HostObject.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testhost
{

class HostComponentFactory;
class HostController;
class HostRoot;
class HostViewContainer;

class TestHost : private NonCopyable
{
public:
    TestHost();
    ~TestHost();

    // What the host offers and answers; set before the module asks.
    HostConfig config;

    CallLog& Log() { return mLog; }
    // The host object for ACFStartup, ACFRegisterPlugin and the wrappers' constructors.
    IACFUnknown* Unknown();
    HostRoot& Root() { return *mRoot; }
    HostComponentFactory& Factory() { return *mFactory; }

    // A new controller for one plug-in instance (with its own transport and automation delegate):
    // the object handed to the data model's and the GUI's Initialize.
    HostController* NewController();
    // A new view container of the given type around a native window handle.
    HostViewContainer* NewViewContainer(int32_t type, void* window);

    // [any thread] makes a host object that the host keeps until it is destroyed.
    template <class T, class... Args> T* Create(Args&&... args)
    {
        auto object = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* result = object.get();
        std::lock_guard<std::mutex> lock(mMutex);
        mByUnknown[result->AsUnknown()] = result;
        mObjects.push_back(std::move(object));
        return result;
    }

    // [any thread] the host object behind a pointer the module handed back, if it is one of this
    // host's objects of class T; null otherwise (null, foreign or of another class).
    template <class T> T* Find(IACFUnknown* unknown) const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        auto found = mByUnknown.find(unknown);
        return found != mByUnknown.end() ? dynamic_cast<T*>(found->second) : nullptr;
    }

    // [any thread] every object of class T, in creation order.
    template <class T> std::vector<T*> All() const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        std::vector<T*> objects;
        for (const auto& object : mObjects)
            if (auto* typed = dynamic_cast<T*>(object.get()))
                objects.push_back(typed);
        return objects;
    }

    // How a pointer appears in the log: "EffectDescriptor#5", "null", or "foreign 0x...".
    std::string Label(IACFUnknown* unknown) const;

    // Reference accounting over every object of this host.
    int OutstandingReferences() const;
    int OverReleases() const;
    // One line per object whose references are not balanced; empty when all are.
    std::string ReferenceReport() const;

    int NextObjectId() { return mNextId++; }

private:
    // One count of every object, added up.
    int SumOverObjects(int (HostObject::*count)() const) const;

    CallLog mLog;
    mutable std::mutex mMutex;
    std::vector<std::unique_ptr<HostObject>> mObjects;
    std::map<IACFUnknown*, HostObject*> mByUnknown;
    std::atomic<int> mNextId{1};
    HostComponentFactory* mFactory = nullptr;
    HostRoot* mRoot = nullptr;
};

} // namespace testhost
