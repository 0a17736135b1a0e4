// Reference counting and interface lookup of the objects the module hands to the host.

#include "aax_library/CACFUnknown.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
// {6A1D9E70-2B3C-4D5E-8F90-A1B2C3D4E5F6}: an interface only these tests know.
constexpr acfIID IID_ITestThing = {
    0x6A1D9E70, 0x2B3C, 0x4D5E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}};

class ITestThing : public IACFUnknown
{
public:
    virtual int Answer() = 0;

protected:
    ~ITestThing() = default;
};

// A component object as the module builds them: public interface first, CACFUnknown second.
class TestThing : public ITestThing, public CACFUnknown
{
public:
    explicit TestThing(std::atomic<int>* destructions, std::atomic<int>* finalHooks = nullptr)
        : mDestructions(destructions), mFinalHooks(finalHooks)
    {
    }
    ~TestThing() override { ++*mDestructions; }

    ACF_DECLARE_STANDARD_UNKNOWN()
    int Answer() override { return 42; }

    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == IID_ITestThing)
        {
            *out = static_cast<ITestThing*>(this);
            static_cast<ITestThing*>(this)->AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }
    void FinalReleaseHook() override
    {
        if (mFinalHooks != nullptr)
        {
            // The hook runs before destruction: nothing has been destroyed yet.
            EXPECT_EQ(0, mDestructions->load());
            ++*mFinalHooks;
        }
    }

private:
    std::atomic<int>* mDestructions;
    std::atomic<int>* mFinalHooks;
};

// The host's first query, as a host does after the factory: the object's address is its primary
// interface.
ITestThing* Adopt(TestThing* thing)
{
    void* out = nullptr;
    EXPECT_EQ(
        ACF_OK,
        static_cast<IACFUnknown*>(static_cast<ITestThing*>(thing))->QueryInterface(IID_ITestThing, &out));
    return static_cast<ITestThing*>(out);
}
} // namespace

TEST(ComponentObject, AFailedFirstQueryLeavesCountZeroAndTheObjectAlive)
{
    std::atomic<int> destructions{0};
    auto* thing = new TestThing(&destructions);
    IACFUnknown* unknown = static_cast<ITestThing*>(thing);
    void* out = reinterpret_cast<void*>(0x1);
    const acfIID unserved = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(ACF_E_NOINTERFACE, unknown->QueryInterface(unserved, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0u, thing->GetRefCount());
    EXPECT_EQ(0, destructions.load());
    // A null out pointer is refused without a write.
    EXPECT_EQ(ACF_E_POINTER, unknown->QueryInterface(IID_ITestThing, nullptr));
    EXPECT_EQ(0u, thing->GetRefCount());

    ITestThing* adopted = Adopt(thing);
    ASSERT_NE(nullptr, adopted);
    EXPECT_EQ(42, adopted->Answer());
    EXPECT_EQ(0u, adopted->Release());
    EXPECT_EQ(1, destructions.load());
}

TEST(ComponentObject, TheFinalReleaseDestroysExactlyOnceAfterTheHook)
{
    std::atomic<int> destructions{0};
    std::atomic<int> finalHooks{0};
    ITestThing* thing = Adopt(new TestThing(&destructions, &finalHooks));
    EXPECT_EQ(2u, thing->AddRef());
    EXPECT_EQ(1u, thing->Release());
    EXPECT_EQ(0, destructions.load());
    EXPECT_EQ(0u, thing->Release());
    EXPECT_EQ(1, destructions.load());
    EXPECT_EQ(1, finalHooks.load());
}

TEST(ComponentObject, AReleaseOfAnUnownedObjectNeitherDestroysNorWrapsTheCount)
{
    std::atomic<int> destructions{0};
    auto* thing = new TestThing(&destructions);
    EXPECT_EQ(0u, static_cast<ITestThing*>(thing)->Release());
    EXPECT_EQ(0u, thing->GetRefCount());
    EXPECT_EQ(0, destructions.load());
    ITestThing* adopted = Adopt(thing);
    EXPECT_EQ(1u, thing->GetRefCount());
    adopted->Release();
    EXPECT_EQ(1, destructions.load());
}

TEST(ComponentObject, TheUnknownIdentifierAnswersThePrivateUnknownSharingOneCount)
{
    std::atomic<int> destructions{0};
    auto* thing = new TestThing(&destructions);
    ITestThing* adopted = Adopt(thing);
    void* out = nullptr;
    ASSERT_EQ(ACF_OK, adopted->QueryInterface(IID_IACFUnknown, &out));
    auto* privateUnknown = static_cast<IACFUnknown*>(out);
    EXPECT_EQ(thing->GetOuterUnknown(), privateUnknown);
    EXPECT_NE(static_cast<void*>(adopted), out);
    EXPECT_EQ(2u, thing->GetRefCount());
    // From the private unknown back to the public interface.
    void* again = nullptr;
    ASSERT_EQ(ACF_OK, privateUnknown->QueryInterface(IID_ITestThing, &again));
    EXPECT_EQ(static_cast<void*>(adopted), again);
    EXPECT_EQ(3u, thing->GetRefCount());
    privateUnknown->Release();
    adopted->Release();
    EXPECT_EQ(0, destructions.load());
    EXPECT_EQ(0u, privateUnknown->Release());
    EXPECT_EQ(1, destructions.load());
}

TEST(ComponentObject, TheLiveObjectCountFollowsConstructionAndFinalRelease)
{
    const uint32_t before = CACFUnknown::GetActiveObjectCount();
    std::atomic<int> destructions{0};
    ITestThing* first = Adopt(new TestThing(&destructions));
    ITestThing* second = Adopt(new TestThing(&destructions));
    EXPECT_EQ(before + 2, CACFUnknown::GetActiveObjectCount());
    first->Release();
    EXPECT_EQ(before + 1, CACFUnknown::GetActiveObjectCount());
    second->Release();
    EXPECT_EQ(before, CACFUnknown::GetActiveObjectCount());
    EXPECT_EQ(2, destructions.load());
}

TEST(ComponentObject, ConcurrentAddRefAndReleaseDestroyExactlyOnce)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 5000;
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        std::atomic<int> destructions{0};
        ITestThing* thing = Adopt(new TestThing(&destructions));
        // Each thread owns one reference and the last of them to let go destroys the object.
        for (int i = 1; i < kThreads; ++i)
            thing->AddRef();
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back(
                [&]
                {
                    while (!go.load())
                        std::this_thread::yield();
                    for (int round = 0; round < kRounds; ++round)
                    {
                        thing->AddRef();
                        thing->Release();
                    }
                    thing->Release();
                });
        go = true;
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(1, destructions.load()) << "attempt " << attempt;
    }
}
