// The audio path's counts as a host reads them from the module: MIDI events beyond what one block's
// buffer takes are dropped (never allocated for) and counted, and a record too small for the counts
// gets none of them.

#include "tests/aax_adapter/AudioPathCountsReader.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "host_kit/MidiNode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testhost;

namespace
{

constexpr int32_t kCountsBlock = 512;
// What one block's MIDI buffer takes: its 64 KiB reserve at 16 bytes per short event.
constexpr int kEventsOneBlockTakes = 4096;

} // namespace

TEST(AudioPathCounts, MidiEventsBeyondTheBlocksBufferAreDroppedAndCounted)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kStereoComponent, kCountsBlock);
    ASSERT_TRUE(instance.ready());
    instance.context.SetBlockLength(kCountsBlock);

    ModuleAudioPathCounts counts = readModuleAudioPathCounts(instance.dataModel);
    ASSERT_TRUE(counts.answered);
    EXPECT_EQ(0u, counts.droppedMidiEvents);
    EXPECT_EQ(0u, counts.passedThroughBlocks);

    // A block within the buffer drops nothing.
    std::vector<AAX_CMidiPacket> packets;
    for (int i = 0; i < kEventsOneBlockTakes; ++i)
        packets.push_back(MidiNode::Packet(static_cast<uint32_t>(i % kCountsBlock), {0x90, 60, 100}));
    instance.context.Midi().SetPackets(packets);
    instance.process();
    const TestEffectMidiLog& midi = session.bundle().log().midi;
    EXPECT_EQ(kEventsOneBlockTakes, midi.count);
    EXPECT_EQ(0u, readModuleAudioPathCounts(instance.dataModel).droppedMidiEvents);

    // 904 more in the next block: the effect gets what the buffer took, the rest is counted, and
    // the counts add up over blocks.
    for (int i = 0; i < 904; ++i)
        packets.push_back(MidiNode::Packet(static_cast<uint32_t>(i % kCountsBlock), {0x80, 60, 0}));
    instance.context.Midi().SetPackets(packets);
    instance.process();
    instance.process();
    EXPECT_EQ(kEventsOneBlockTakes, midi.count);
    counts = readModuleAudioPathCounts(instance.dataModel);
    EXPECT_EQ(2u * 904u, counts.droppedMidiEvents);
    EXPECT_EQ(0u, counts.passedThroughBlocks);

    // A record too small for both counts gets nothing.
    uint8_t small[8] = {};
    uint32_t written = 99;
    EXPECT_NE(AAX_SUCCESS,
              instance.dataModel->GetCustomData(kModuleAudioPathCountsBlock, sizeof small, small, &written));
    EXPECT_EQ(0u, written);
    // Other blocks stay empty, as before.
    uint8_t other[16] = {};
    EXPECT_EQ(AAX_SUCCESS, instance.dataModel->GetCustomData(kModuleAudioPathCountsBlock + 1, sizeof other,
                                                             other, &written));
    EXPECT_EQ(0u, written);
}
