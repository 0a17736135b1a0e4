// The audio path allocates nothing after the first block at a given size: counted by replacing the
// global allocation functions of this test program.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/TestPlayHead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    if (void* memory = std::aligned_alloc(align, (size + align - 1) / align * align))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate(size);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try
    {
        return allocate(size);
    }
    catch (...)
    {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocateAligned(size, alignment);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept
{
    std::free(memory);
}

namespace
{

constexpr int kBlockSize = 512;
constexpr int kMidiEvents = 1000;

// Runs one warm-up block, then counts the allocations of 64 more, half of them with MIDI.
int allocationsAfterTheFirstBlock(QuennetAudioProcessor& processor, int inputs, int outputs)
{
    TestPlayHead playHead;
    playHead.playing = true;
    playHead.ppqPosition = 1.0;
    processor.setPlayHead(&playHead);
    processor.setPlayConfigDetails(inputs, outputs, 48000.0, kBlockSize);
    processor.prepareToPlay(48000.0, kBlockSize);

    juce::AudioBuffer<float> buffer(std::max(inputs, outputs), kBlockSize);
    buffer.clear();
    juce::MidiBuffer withEvents;
    for (int i = kMidiEvents - 1; i >= 0; --i)
        withEvents.addEvent(juce::MidiMessage::noteOn(1 + i % 16, i % 128, 0.5f),
                            i * kBlockSize / kMidiEvents);
    const uint8_t sysex[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7};
    withEvents.addEvent(sysex, sizeof(sysex), 3);
    juce::MidiBuffer empty;

    processor.processBlock(buffer, withEvents);
    allocations = 0;
    counting = true;
    for (int block = 0; block < 64; ++block)
    {
        playHead.ppqPosition += 0.25;
        playHead.playing = block % 8 != 0;
        processor.processBlock(buffer, block % 2 == 0 ? withEvents : empty);
    }
    counting = false;
    processor.setPlayHead(nullptr);
    return allocations.load();
}

TEST(AudioPath, StereoBlocksWithAThousandMidiEventsAllocateNothing)
{
    EffectInstallation installation(testEffectPath());
    QuennetAudioProcessor processor;
    ASSERT_NE(processor.effect, nullptr);
    EXPECT_EQ(allocationsAfterTheFirstBlock(processor, 2, 2), 0);
    EXPECT_EQ(installation.log().midi.calls, 33) << "the warm-up block and every second block";
    EXPECT_EQ(installation.log().midi.count, kMidiEvents) << "without the system-exclusive message";
}

TEST(AudioPath, MonoToStereoBlocksAllocateNothing)
{
    EffectInstallation installation(testEffectPath());
    QuennetAudioProcessor processor;
    EXPECT_EQ(allocationsAfterTheFirstBlock(processor, 1, 2), 0);
}

TEST(AudioPath, BlocksForAnEffectDeclaringSixtyFourChannelsAllocateNothing)
{
    EffectInstallation installation(testEffectPath());
    TestEffectConfig config = installation.defaults();
    config.numInputs = 64;
    config.numOutputs = 64;
    installation.configure(config);
    QuennetAudioProcessor processor;
    EXPECT_EQ(allocationsAfterTheFirstBlock(processor, 2, 2), 0);
    EXPECT_EQ(installation.log().process.declaredOutputs, 64);
}

TEST(AudioPath, BlocksWithoutAnEffectAllocateNothing)
{
    EffectInstallation installation("");
    QuennetAudioProcessor processor;
    EXPECT_EQ(allocationsAfterTheFirstBlock(processor, 2, 2), 0);
}

TEST(AudioPath, TheCounterSeesAllocations)
{
    counting = true;
    allocations = 0;
    auto* probe = new int(3);
    counting = false;
    delete probe;
    EXPECT_EQ(allocations.load(), 1);
}

} // namespace
