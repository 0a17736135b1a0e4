// The module as a host scans it: the seven entry points, their fixed answers, the description
// with every call the host receives, and the module's start and stop of the GUI library.

#include "aax_library/AAX_GUIDs.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

using namespace testhost;

namespace
{

constexpr uint64_t kSDKVersion = 0x201007756BFull;
constexpr int32_t kManufacturerID = 0x4B575A71; // 'KWZq'
constexpr int32_t kProductID = 0x4F4D424C;      // 'OMBL'
constexpr int32_t kMonoStem = 0x00000001;
constexpr int32_t kStereoStem = 0x00010002;

// The calls made on the description objects, with object numbers and addresses left out so that
// a run compares with the expected list: "ComponentDescriptor.AddAudioIn(0)".
std::vector<std::string> descriptionCalls(const CallLog& log)
{
    static const std::regex objectNumber("#[0-9]+");
    static const std::regex address("^0x[0-9a-f]+$");
    std::vector<std::string> calls;
    for (const Call& call : log.Calls())
    {
        if (call.interface != "Collection" && call.interface != "EffectDescriptor" &&
            call.interface != "ComponentDescriptor" && call.interface != "PropertyMap")
            continue;
        if (call.operation == "QueryInterface")
            continue;
        std::string text = call.interface + "." + call.operation + "(";
        for (size_t i = 0; i < call.args.size(); ++i)
        {
            std::string arg = std::regex_replace(call.args[i], objectNumber, "");
            if (std::regex_match(arg, address))
                arg = "address";
            text += (i > 0 ? ", " : "") + arg;
        }
        calls.push_back(text + ")");
    }
    return calls;
}

std::vector<std::string> expectedDescriptionCalls()
{
    struct Configuration
    {
        int32_t inputStem, outputStem, nativeID, audioSuiteID;
    };
    const Configuration configurations[] = {
        {kMonoStem, kMonoStem, 0x4F4D4273, 0x4F4D4262},
        {kMonoStem, kStereoStem, 0x4F4D4278, 0x4F4D4262},
        {kStereoStem, kStereoStem, 0x4F4D426D, 0x4F4D4261},
    };
    std::vector<std::string> calls = {
        "EffectDescriptor.AddName(Ombrel)",        "EffectDescriptor.AddName(Ombrel)",
        "EffectDescriptor.AddCategory(16)",        "EffectDescriptor.AddProcPtr(address, 1)",
        "EffectDescriptor.AddProcPtr(address, 0)",
    };
    for (const Configuration& c : configurations)
    {
        const std::vector<std::string> component = {
            "ComponentDescriptor.AddAudioIn(0)",
            "ComponentDescriptor.AddAudioOut(1)",
            "ComponentDescriptor.AddAudioBufferLength(2)",
            "ComponentDescriptor.AddDataInPort(3, 4, 1)",
            "ComponentDescriptor.AddMIDINode(4, 0, Ombrel, 65535)",
            "ComponentDescriptor.AddPrivateData(5, 8, 0)",
            "ComponentDescriptor.AddSampleRate(6)",
            "PropertyMap.AddProperty(11, " + std::to_string(kManufacturerID) + ")",
            "PropertyMap.AddProperty(12, " + std::to_string(kProductID) + ")",
            "PropertyMap.AddProperty(60, 1)",
            "PropertyMap.AddProperty(51, " + std::to_string(c.inputStem) + ")",
            "PropertyMap.AddProperty(52, " + std::to_string(c.outputStem) + ")",
            "PropertyMap.AddProperty(13, " + std::to_string(c.nativeID) + ")",
            "PropertyMap.AddProperty(14, " + std::to_string(c.audioSuiteID) + ")",
            "PropertyMap.AddProperty(304, 1)",
            "ComponentDescriptor.AddProcessProc_Native(address, PropertyMap, null, null, null)",
            "EffectDescriptor.AddComponent(ComponentDescriptor)",
        };
        calls.insert(calls.end(), component.begin(), component.end());
    }
    const std::vector<std::string> collection = {
        "Collection.AddEffect(\"com.quorvane.aax.ombrel\", EffectDescriptor)",
        "Collection.SetManufacturerName(Quorvane)",
        "Collection.AddPackageName(Ombrel)",
        "Collection.AddPackageName(Ombrel)",
        "Collection.SetPackageVersion(65793)",
    };
    calls.insert(calls.end(), collection.begin(), collection.end());
    return calls;
}

// Threads of this process: the module's message thread and JUCE's timer thread show up here.
size_t threadCount()
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// A host whose component factory breaks the component model on the second request (the effect
// descriptor): the factory query reports success but hands out nothing, which the module's
// wrappers answer with an exception inside the description.
class HostBreakingOnSecondFactory : public IACFUnknown
{
public:
    explicit HostBreakingOnSecondFactory(TestHost& host) : root(host.Unknown()) {}
    virtual ~HostBreakingOnSecondFactory() = default;

    ACFRESULT QueryInterface(const acfIID& iid, void** out) override
    {
        if (iid == IID_IACFComponentFactory && ++factoryQueries == 2)
        {
            *out = nullptr;
            return ACF_OK;
        }
        return root->QueryInterface(iid, out);
    }
    uint32_t AddRef() override { return root->AddRef(); }
    uint32_t Release() override { return root->Release(); }

private:
    IACFUnknown* root;
    int factoryQueries = 0;
};

} // namespace

TEST(PlugInDescription, AScanMakesEveryDescriptionCallInOrderWithItsValues)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned()) << session.host().Log().Dump();
    EXPECT_EQ(expectedDescriptionCalls(), descriptionCalls(session.host().Log()));
}

TEST(PlugInDescription, TheDescriptionReadsBackAsOneEffectWithThreeProcessingConfigurations)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned()) << session.host().Log().Dump();
    const Description& description = session.scan().description;
    EXPECT_EQ("Quorvane", description.manufacturerName);
    EXPECT_EQ((std::vector<std::string>{"Ombrel", "Ombrel"}), description.packageNames);
    EXPECT_EQ(65793u, description.packageVersion);

    const EffectDescription& effect = session.effect();
    EXPECT_EQ("\"com.quorvane.aax.ombrel\"", effect.effectId);
    EXPECT_EQ((std::vector<std::string>{"Ombrel", "Ombrel"}), effect.names);
    EXPECT_EQ(std::vector<uint32_t>{16}, effect.categories);
    EXPECT_NE(nullptr, session.dataModelFactory());
    EXPECT_NE(nullptr, session.guiFactory());
    EXPECT_NE(reinterpret_cast<void*>(session.dataModelFactory()),
              reinterpret_cast<void*>(session.guiFactory()));

    ASSERT_EQ(3u, effect.components.size());
    const int32_t channels[3][2] = {{1, 1}, {1, 2}, {2, 2}};
    for (size_t c = 0; c < 3; ++c)
    {
        const ComponentDescription& component = effect.components[c];
        EXPECT_EQ(channels[c][0], component.InputChannels()) << "component " << c;
        EXPECT_EQ(channels[c][1], component.OutputChannels()) << "component " << c;
        EXPECT_EQ(8u, component.properties.size());
        EXPECT_EQ(7u, component.fields.size());
        // The block's rate, so that an instance follows a host changing it without a new instance.
        ASSERT_NE(nullptr, component.FindField(6));
        EXPECT_EQ("SampleRate", component.FindField(6)->kind);
        // One process procedure serves every configuration.
        EXPECT_EQ(effect.components[0].process, component.process);
        EXPECT_EQ(nullptr, component.instanceInit);
        EXPECT_EQ(nullptr, component.background);
    }
    EXPECT_EQ(ACF_OK, session.liveObjects());
}

TEST(EntryPoints, AnswerTheirFixedValuesAndCountLiveObjects)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    const ModuleLoader& module = session.module();
    TestHost& host = session.host();
    EXPECT_EQ(ACF_OK, session.scan().sdkVersionResult);
    EXPECT_EQ(kSDKVersion, session.scan().sdkVersion);

    void* factory = &host;
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED,
              module.GetClassFactory(host.Unknown(), IID_IACFUnknown, IID_IACFUnknown, &factory));
    EXPECT_EQ(nullptr, factory);
    IACFUnknown* component = host.Unknown();
    EXPECT_EQ(ACF_OK, module.RegisterComponent(host.Unknown(), 0, &component));
    EXPECT_EQ(nullptr, component);

    EXPECT_EQ(0, session.liveObjects());
    {
        DataModelInstance first(host, session.dataModelFactory());
        DataModelInstance second(host, session.dataModelFactory());
        ASSERT_TRUE(first.IsValid());
        ASSERT_TRUE(second.IsValid());
        EXPECT_EQ(2, session.liveObjects());
    }
    EXPECT_EQ(0, session.liveObjects());

    // A second start-up keeps the host services of the first; a shut-down without them is harmless.
    EXPECT_EQ(ACF_OK, module.Startup(host.Unknown()));
    EXPECT_EQ(1u, host.All<HostServices>().size());
    EXPECT_EQ(ACF_OK, module.Shutdown(host.Unknown()));
    EXPECT_EQ(ACF_OK, module.Shutdown(host.Unknown()));
    EXPECT_EQ(ACF_OK, module.Startup(host.Unknown()));
}

TEST(EntryPoints, OnlyTheSevenEntryPointsLeaveTheModule)
{
    PlugInSession session(testEffectPath());
    for (const char* hidden :
         {"GetEffectDescriptions", "AAX_GetModuleInstanceHandle", "_ZN11CACFUnknown21GetActiveObjectCountEv",
          "_ZN4juce14MessageManager11getInstanceEv", "hostCallback"})
        EXPECT_EQ(nullptr, session.module().Symbol(hidden)) << hidden;
}

TEST(EntryPoints, AnExceptionInsideTheDescriptionReachesTheHostAsUnexpected)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    const size_t threadsBefore = threadCount();

    HostBreakingOnSecondFactory brokenHost(session.host());
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(ACF_E_UNEXPECTED, session.module().RegisterPlugin(&brokenHost, &definition));
    EXPECT_EQ(nullptr, definition);
    // The GUI library the description started is stopped again on the way out.
    EXPECT_EQ(threadsBefore, threadCount());

    // The module is unharmed: the next registration succeeds.
    const ScanResult again = Register(session.module(), session.host());
    EXPECT_EQ(ACF_OK, again.registerResult);
    EXPECT_TRUE(again.definitionReturned);
}

TEST(EntryPoints, AHostWithoutThePlugInDefinitionGetsNullObject)
{
    ModuleBundle bundle(testEffectPath());
    TestHost host;
    host.config.pluginDefinition = false;
    ModuleLoader module(bundle.moduleFile());
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    const ScanResult scan = Scan(module, host);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, scan.registerResult);
    EXPECT_EQ(1u, scan.description.effects.size());
    Shutdown(module, host);
}

TEST(ModuleLifecycle, ThreeLoadUseUnloadCyclesLeaveNoThreadBehind)
{
    const size_t threadsBefore = threadCount();
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        {
            PlugInSession session(testEffectPath());
            ASSERT_TRUE(session.scanned()) << "cycle " << cycle;
            // A scan starts the GUI library only for its own duration.
            EXPECT_EQ(threadsBefore, threadCount()) << "cycle " << cycle;
            {
                DataModelInstance dataModel(session.host(), session.dataModelFactory());
                ASSERT_TRUE(dataModel.IsValid());
                EXPECT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
                // The message thread and JUCE's timer thread run while an instance lives.
                EXPECT_GT(threadCount(), threadsBefore);
            }
            EXPECT_EQ(ACF_OK, session.liveObjects());
            EXPECT_EQ(threadsBefore, threadCount()) << "cycle " << cycle;
        }
        EXPECT_EQ(threadsBefore, threadCount()) << "cycle " << cycle;
    }
}
