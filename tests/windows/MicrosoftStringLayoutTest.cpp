// A Windows host is built by Microsoft's compiler and calls AAX_IString through the seven slots of
// Microsoft's layout: 0 the deleting destructor taking flags, then Length, MaxLength, Get, Set and
// both assignments in declaration order. These tests call the module's string and the host kit's
// string by slot position with those signatures, as such a host does.

#include "aax_library/AAX_CString.h"
#include "host_kit/HostString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace
{

int destroyedStrings = 0;

// Counts its destruction, to show that slot 0 reaches the most derived destructor.
template <class Base> class CountedString : public Base
{
public:
    CountedString() = default;
    ~CountedString() override { ++destroyedStrings; }
};

// The slot's function called as Microsoft's x64 ABI calls a member: the object first.
template <class R, class... A> R CallSlot(AAX_IString* string, size_t slot, A... args)
{
    using Function = R (*)(void*, A...);
    void* const* table = *reinterpret_cast<void* const* const*>(string);
    return reinterpret_cast<Function>(table[slot])(string, args...);
}

constexpr size_t kDestructorSlot = 0;
constexpr size_t kLengthSlot = 1;
constexpr size_t kMaxLengthSlot = 2;
constexpr size_t kGetSlot = 3;
constexpr size_t kSetSlot = 4;
constexpr size_t kAssignTextSlot = 5;
constexpr size_t kAssignStringSlot = 6;
constexpr uint32_t kDeleteMemory = 1;

template <class String> class MicrosoftStringLayout : public ::testing::Test
{
};
using Strings = ::testing::Types<AAX_CString, testhost::HostString>;
TYPED_TEST_SUITE(MicrosoftStringLayout, Strings);

} // namespace

TYPED_TEST(MicrosoftStringLayout, TheTextSlotsAnswerAtTheirPositions)
{
    TypeParam string;
    AAX_IString* slots = &string;
    CallSlot<void>(slots, kSetSlot, "abc");
    EXPECT_EQ(3u, CallSlot<uint32_t>(slots, kLengthSlot));
    EXPECT_EQ(0xFFFFFFFEu, CallSlot<uint32_t>(slots, kMaxLengthSlot));
    EXPECT_STREQ("abc", CallSlot<const char*>(slots, kGetSlot));

    EXPECT_EQ(slots, CallSlot<AAX_IString*>(slots, kAssignTextSlot, "hello"));
    EXPECT_STREQ("hello", string.Get());

    // The host's own string on the other side of the assignment, passed by address as a reference.
    testhost::HostString other("from the host");
    EXPECT_EQ(slots,
              CallSlot<AAX_IString*>(slots, kAssignStringSlot, static_cast<const AAX_IString*>(&other)));
    EXPECT_STREQ("from the host", string.Get());
    EXPECT_EQ(13u, CallSlot<uint32_t>(slots, kLengthSlot));

    CallSlot<void>(slots, kSetSlot, static_cast<const char*>(nullptr));
    EXPECT_EQ(0u, CallSlot<uint32_t>(slots, kLengthSlot));
}

TYPED_TEST(MicrosoftStringLayout, SlotZeroDestroysAndFreesWithFlagOne)
{
    destroyedStrings = 0;
    AAX_IString* string = new CountedString<TypeParam>();
    CallSlot<void>(string, kSetSlot, "a text long enough to live on the heap, not in the object");
    EXPECT_EQ(static_cast<void*>(string), CallSlot<void*>(string, kDestructorSlot, kDeleteMemory));
    EXPECT_EQ(1, destroyedStrings);
}

TYPED_TEST(MicrosoftStringLayout, SlotZeroDestroysInPlaceWithFlagZero)
{
    destroyedStrings = 0;
    alignas(CountedString<TypeParam>) unsigned char storage[sizeof(CountedString<TypeParam>)];
    AAX_IString* string = new (storage) CountedString<TypeParam>();
    CallSlot<void>(string, kSetSlot, "destroyed where it lies");
    EXPECT_EQ(static_cast<void*>(storage), CallSlot<void*>(string, kDestructorSlot, uint32_t{0}));
    EXPECT_EQ(1, destroyedStrings);
    // The storage is the caller's again: a new string can be built in it.
    AAX_IString* again = new (storage) TypeParam();
    EXPECT_EQ(0u, CallSlot<uint32_t>(again, kLengthSlot));
    CallSlot<void*>(again, kDestructorSlot, uint32_t{0});
}
