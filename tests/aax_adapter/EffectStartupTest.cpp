// How the module brings up the effect beside it, seen from the effect: opened once before it is
// configured, never told a block size it could divide by zero, and found by any of the entry names
// VST 2 libraries export.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testhost;

namespace
{

constexpr int32_t kStartupBlock = 256;

std::vector<const TestEffectCall*> dispatcherCalls(const TestEffectLog& log)
{
    std::vector<const TestEffectCall*> calls;
    for (int i = 0; i < log.count && i < kTestEffectLogCapacity; ++i)
        if (log.calls[i].kind == kTestCallDispatcher)
            calls.push_back(&log.calls[i]);
    return calls;
}

// One stereo block through a fresh instance; answers whether the effect processed it.
bool processesABlock(PlugInSession& session)
{
    session.useComponent(kStereoComponent);
    DataModelInstance dataModel(session.host(), session.dataModelFactory());
    if (dataModel.InitializeResult() != AAX_SUCCESS)
        return false;
    ProcessingContext context(session.component(kStereoComponent), kStartupBlock);
    if (context.ResetPrivateData(dataModel.Get()) != AAX_SUCCESS)
        return false;
    context.FillInputs(0.0f);
    const int before = session.bundle().log().process.calls;
    RunProcess(session.component(kStereoComponent).process, {&context});
    return session.bundle().log().process.calls == before + 1 &&
           context.Output(0)[0] == kTestEffectOutput0Offset &&
           context.Output(1)[0] == kTestEffectOutput1Offset;
}

} // namespace

TEST(EffectStartup, TheEffectIsOpenedOnceBeforeItIsConfiguredAndClosedLast)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    const TestEffectLog& log = session.bundle().log();
    {
        DataModelInstance dataModel(session.host(), session.dataModelFactory());
        ASSERT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
        const std::vector<const TestEffectCall*> calls = dispatcherCalls(log);
        ASSERT_GE(calls.size(), 5u);
        EXPECT_EQ(effOpen, calls[0]->opcode);
        EXPECT_EQ(effMainsChanged, calls[1]->opcode);
        EXPECT_EQ(0, calls[1]->value);
        EXPECT_EQ(effSetSampleRate, calls[2]->opcode);
        EXPECT_EQ(effSetBlockSize, calls[3]->opcode);
        EXPECT_EQ(effMainsChanged, calls[4]->opcode);
        EXPECT_EQ(1, calls[4]->value);
        EXPECT_EQ(1, countDispatcherCalls(log, effOpen));
        EXPECT_EQ(0, countDispatcherCalls(log, effClose));
    }
    EXPECT_EQ(1, countDispatcherCalls(log, effOpen));
    EXPECT_EQ(1, countDispatcherCalls(log, effClose));
    const std::vector<const TestEffectCall*> calls = dispatcherCalls(log);
    EXPECT_EQ(effClose, calls.back()->opcode);
    EXPECT_EQ(0, log.liveInstances);
}

TEST(EffectStartup, NoBlockSizeOrRateOfZeroEverReachesTheEffect)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    const TestEffectLog& log = session.bundle().log();
    int sizes = 0;
    for (const TestEffectCall* call : dispatcherCalls(log))
        if (call->opcode == effSetBlockSize)
        {
            ++sizes;
            EXPECT_GE(call->value, 1);
            EXPECT_EQ(call->value, call->index);
        }
    EXPECT_GE(sizes, 1);
    // At construction the processor has neither a block size nor a rate yet: the effect hears the
    // host's defaults, told and asked alike.
    const int first = findEffectCall(log, kTestCallDispatcher, effSetBlockSize);
    ASSERT_GE(first, 0);
    EXPECT_EQ(1024, log.calls[first].value);
    EXPECT_EQ(1024, log.blockSizeOnOpen);
    EXPECT_EQ(44100, log.sampleRateOnOpen);
}

TEST(EffectStartup, AnEffectThatDividesByItsBlockSizeOnResumeRunsInsideTheModule)
{
    TestEffectConfig config = testEffectDefaults();
    config.dividesByBlockSizeOnResume = 1;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    EXPECT_TRUE(processesABlock(session));
    EXPECT_GE(countDispatcherCalls(session.bundle().log(), effMainsChanged), 2);
}

TEST(EffectStartup, ALibraryExportingOnlyTheStandardEntryNameIsLoaded)
{
    PlugInSession session(OMBREL_TEST_EFFECT_VST_PLUGIN_MAIN);
    ASSERT_TRUE(session.scanned());
    ASSERT_TRUE(session.bundle().hasControl());
    EXPECT_TRUE(processesABlock(session));
    EXPECT_EQ(1, findEffectCall(session.bundle().log(), kTestCallEntry, 0) >= 0 ? 1 : 0);
}
