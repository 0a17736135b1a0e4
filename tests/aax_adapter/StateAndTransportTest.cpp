// Saving and restoring through the host's chunks ('All ' with the processor's state block, 'elck'
// with the published values), malformed chunk records, and the host's transport as the effect
// sees it while it processes.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/ControlsChunk.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testhost;

namespace
{

void appendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void appendBigEndianFloat(std::vector<uint8_t>& bytes, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendBigEndian32(bytes, bits);
}

// A state block in the parameter form for the test effect's 3 parameters and 2 programs.
std::vector<uint8_t> parameterFormBlock()
{
    std::vector<uint8_t> block;
    appendBigEndian32(block, 3);
    appendBigEndian32(block, 2);
    const char* names[] = {"Alpha", "Beta"};
    const float values[2][3] = {{0.125f, 0.5f, 0.875f}, {1.0f, 0.0f, 0.3f}};
    for (int program = 0; program < 2; ++program)
    {
        std::vector<uint8_t> name(64, 0);
        std::memcpy(name.data(), names[program], std::strlen(names[program]));
        block.insert(block.end(), name.begin(), name.end());
        for (float value : values[program])
            appendBigEndianFloat(block, value);
    }
    appendBigEndian32(block, 0x00002001);
    appendBigEndian32(block, 1);
    return block;
}

// A chunk record as a host allocates it: header and room for capacity data bytes.
struct ChunkRecord
{
    explicit ChunkRecord(size_t capacity) : words((AAX_SPlugInChunkHeaderSize + capacity) / 8 + 1, 0) {}
    AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*>(words.data()); }
    const uint8_t* data() { return reinterpret_cast<const uint8_t*>(get()->fData); }
    std::vector<uint64_t> words;
};

} // namespace

TEST(StateChunks, TheAllChunkRoundTripsTheParameterFormWithExactBytes)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& first = opened.dataModel();
    DataModelInstance second(opened.session.host(), opened.session.dataModelFactory());
    ASSERT_EQ(AAX_SUCCESS, second.InitializeResult());

    const std::vector<uint8_t> block = parameterFormBlock();
    ASSERT_EQ(16u + 2u * (64u + 12u), block.size());
    EXPECT_EQ(AAX_SUCCESS, first.SetChunk(allChunk(block)));
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, first.GetChunk(kAllChunk, &saved));
    // The effect took every name and value and the current program, and saves the same bytes.
    EXPECT_EQ(block, saved.data);

    EXPECT_EQ(AAX_SUCCESS, second.SetChunk(saved));
    SavedChunk restored;
    ASSERT_EQ(AAX_SUCCESS, second.GetChunk(kAllChunk, &restored));
    EXPECT_EQ(block, restored.data);
}

TEST(StateChunks, TheAllChunkRoundTripsTheEffectsOwnChunkWithExactBytes)
{
    OpenedPlugIn opened(testEffectPath(),
                        [](TestEffectConfig& config)
                        {
                            config.chunkMode = kTestChunkNormal;
                            config.chunkSize = 1000;
                        });
    ASSERT_TRUE(opened.ready());
    DataModelInstance& first = opened.dataModel();
    DataModelInstance second(opened.session.host(), opened.session.dataModelFactory());
    ASSERT_EQ(AAX_SUCCESS, second.InitializeResult());

    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, first.GetChunk(kAllChunk, &saved));
    ASSERT_EQ(1008u, saved.data.size());
    const std::vector<uint8_t> trailer(saved.data.end() - 8, saved.data.end());
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0x30, 0, 0, 0, 0x30, 0}), trailer);

    // A different state (the first value of the first program) restored into the second instance
    // reaches its effect unchanged and comes back byte for byte.
    std::vector<uint8_t> changed = saved.data;
    const float value = 0.75f;
    std::memcpy(changed.data() + 8, &value, sizeof value);
    ASSERT_EQ(AAX_SUCCESS, second.SetChunk(allChunk(changed)));
    const TestEffectLog& log = opened.log();
    ASSERT_EQ(1000, log.setChunkLength);
    EXPECT_EQ(0, std::memcmp(changed.data(), log.setChunk, 1000));
    SavedChunk restored;
    ASSERT_EQ(AAX_SUCCESS, second.GetChunk(kAllChunk, &restored));
    EXPECT_EQ(changed, restored.data);
}

TEST(StateChunks, TheControlsChunkSitsBesideTheStateChunkWithoutTheBypass)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();

    int32_t count = 0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetNumberOfChunks(&count));
    EXPECT_EQ(2, count);
    EXPECT_EQ((std::vector<AAX_CTypeID>{kControlsChunk, kAllChunk}), dataModel.ChunkIds());
    for (int32_t index : {2, -1, 1000})
    {
        AAX_CTypeID id = 0xFFFFFFFFu;
        EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_INDEX, dataModel->GetChunkIDFromIndex(index, &id)) << index;
        EXPECT_EQ(0u, id) << index;
    }

    SavedChunk controls;
    ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(kControlsChunk, &controls));
    EXPECT_EQ(-1, controls.version);
    EXPECT_EQ("Complete Controls State", controls.name);
    ASSERT_GE(controls.data.size(), 4u);
    EXPECT_EQ((std::vector<uint8_t>{1, 1, 1, 1}),
              std::vector<uint8_t>(controls.data.begin(), controls.data.begin() + 4));
    const std::string bytes(controls.data.begin(), controls.data.end());
    for (const char* key : {"d_0", "d_1", "d_2"})
        EXPECT_NE(std::string::npos, bytes.find(key)) << key;
    EXPECT_EQ(std::string::npos, bytes.find("MasterBypassID"));

    // Both chunks restore side by side; the state chunk is always reported as matching.
    SavedChunk state;
    ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(kAllChunk, &state));
    EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(controls));
    EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(state));
    bool equal = false;
    EXPECT_EQ(AAX_SUCCESS, dataModel.CompareActiveChunk(state, &equal));
    EXPECT_TRUE(equal);
}

TEST(StateChunks, RestoringTheControlsOfAnUntouchedInstanceLeavesTheEffectWhereItStarted)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& untouched = opened.dataModel();
    SavedChunk controlsState;
    ASSERT_EQ(AAX_SUCCESS, untouched.GetChunk(kControlsChunk, &controlsState));
    // The saved controls are the effect's starting values (0.25), not values nobody chose.
    const ControlsChunk controls(controlsState);
    EXPECT_TRUE(controls.readWhole());
    for (const char* id : {"0", "1", "2"})
    {
        double saved = -1.0;
        EXPECT_TRUE(controls.doubleValue(id, &saved)) << id;
        EXPECT_EQ(0.25, saved) << id;
    }

    // A second instance whose host writes reach its effect: after the effect's first display
    // update and the refresh it starts, with the refresh's reports accepted.
    DataModelInstance dataModel(session.host(), session.dataModelFactory());
    ASSERT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
    const TestEffectLog& log = session.bundle().log();
    const int beforeRefresh = __atomic_load_n(&log.count, __ATOMIC_ACQUIRE);
    session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
    // The refresh's last call reads the program, once host writes are accepted again.
    ASSERT_TRUE(
        waitFor([&] { return findEffectCall(log, kTestCallDispatcher, effGetProgram, beforeRefresh) >= 0; }));
    dataModel.DeliverAutomation();
    ASSERT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedValue("1", 0.9));
    dataModel.DeliverAutomation();
    double value = 0.0;
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("1", &value));
    ASSERT_FLOAT_EQ(0.9f, static_cast<float>(value));

    // Restoring the untouched controls puts the moved parameter back and leaves the others alone.
    const int before = log.count;
    ASSERT_EQ(AAX_SUCCESS, dataModel.SetChunk(controlsState));
    dataModel.DeliverAutomation();
    for (const char* id : {"0", "1", "2"})
    {
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue(id, &value));
        EXPECT_FLOAT_EQ(0.25f, static_cast<float>(value)) << id;
    }
    for (int i = before; i < std::min(log.count, kTestEffectLogCapacity); ++i)
    {
        if (log.calls[i].kind == kTestCallSetParameter)
        {
            EXPECT_EQ(0.25f, log.calls[i].opt) << "parameter " << log.calls[i].opcode;
        }
    }
}

TEST(StateChunks, MalformedChunkRecordsAreAnsweredWithoutHarm)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const TestEffectLog& log = opened.log();

    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->GetChunk(kAllChunk, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->SetChunk(kAllChunk, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->GetChunkSize(kAllChunk, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->GetNumberOfChunks(nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->GetChunkIDFromIndex(1, nullptr));

    // A negative size carries no state: the effect is not touched.
    ChunkRecord negative(16);
    negative.get()->fSize = -100;
    int before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetChunk(kAllChunk, negative.get()));
    EXPECT_EQ(before, log.count);

    // Bytes the processor cannot read are taken and ignored.
    SavedChunk junk = allChunk({1, 2, 3, 4, 5});
    before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(junk));
    EXPECT_EQ(-1, findEffectCall(log, kTestCallDispatcher, effSetProgram, before));

    // A read without a size query: into a record that says it is too small, nothing is written.
    ChunkRecord small(8);
    small.get()->fSize = 8;
    EXPECT_EQ(AAX_ERROR_INCORRECT_CHUNK_SIZE, dataModel->GetChunk(kAllChunk, small.get()));
    EXPECT_EQ(8, small.get()->fSize);
    EXPECT_EQ(0u, small.words[7]);
    // Into a record whose size is not filled in, the state is produced on the spot.
    ChunkRecord unsized(1024);
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetChunk(kAllChunk, unsized.get()));
    EXPECT_EQ(168, unsized.get()->fSize);
    EXPECT_EQ(0x20, unsized.data()[160 + 2]);
}

TEST(PlayHead, TheEffectSeesTheHostsTempoPositionAndPlayStateEveryBlock)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    HostConfig& config = session.host().config;
    config.tempo = 97.0;
    config.tickPosition = 3 * 960000;
    config.playing = true;
    ProcessingInstance instance(session, kStereoComponent, 512);
    ASSERT_TRUE(instance.ready());

    session.host().Log().Clear();
    instance.process();
    const TestEffectProcessLog& process = session.bundle().log().process;
    EXPECT_EQ(97.0, process.timeInfoTempo);
    EXPECT_EQ(3.0, process.timeInfoPpq);
    EXPECT_NE(0, process.timeInfoFlags & kVstTransportPlaying);
    EXPECT_EQ((std::vector<std::string>{
                  "Transport.GetCurrentTempo", "Transport.GetCurrentMeter", "Transport.IsTransportPlaying",
                  "Transport.GetCurrentNativeSampleLocation", "Transport.GetCurrentTickPosition",
                  "Transport.GetCurrentLoopPosition", "Transport.GetTimeCodeInfo"}),
              session.host().Log().Operations("Transport"));

    // Stopped: the position comes from the timeline selection.
    config.playing = false;
    config.tickPosition = 960000;
    session.host().Log().Clear();
    instance.process();
    EXPECT_EQ(1.0, process.timeInfoPpq);
    EXPECT_EQ(0, process.timeInfoFlags & kVstTransportPlaying);
    EXPECT_EQ(1u, session.host().Log().Count("Transport", "GetTimelineSelectionStartPosition"));
    EXPECT_EQ(0u, session.host().Log().Count("Transport", "GetCurrentNativeSampleLocation"));
}
