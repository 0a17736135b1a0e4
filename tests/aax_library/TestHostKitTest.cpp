// The test host driving a real module file through its exported entry points: loading, a whole
// scan, data-model and GUI instances, processing calls and the balance of references at the end.

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostCollection.h"
#include "host_kit/HostController.h"
#include "host_kit/HostServices.h"
#include "host_kit/HostViewContainer.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/ProcessingContext.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

using namespace testhost;

namespace
{
constexpr const char* kModulePath = KIT_TEST_MODULE;

void ExpectBalanced(const TestHost& host)
{
    EXPECT_EQ(0, host.OutstandingReferences()) << host.ReferenceReport();
    EXPECT_EQ(0, host.OverReleases()) << host.ReferenceReport();
}

// The module shuts down cleanly and leaves no reference of the host's behind.
void ExpectCleanShutdown(const ModuleLoader& module, TestHost& host)
{
    EXPECT_EQ(ACF_OK, Shutdown(module, host));
    ExpectBalanced(host);
}
// A host that has scanned the kit module, for the tests that make instances from its description.
class ScannedKit : public testing::Test
{
protected:
    void SetUp() override
    {
        scan = Scan(module, host);
        ASSERT_TRUE(scan.Succeeded());
    }

    TestHost host;
    ModuleLoader module{kModulePath};
    ScanResult scan;
};
} // namespace

TEST(TestHostKit, TheLoaderResolvesAllSevenEntryPointsOrLoadsNothing)
{
    ModuleLoader module;
    EXPECT_FALSE(module.Load("/nonexistent/Ombrel.aaxplugin"));
    EXPECT_FALSE(module.Error().empty());
    EXPECT_FALSE(module.IsLoaded());
    EXPECT_EQ(ACF_E_UNEXPECTED, module.CanUnloadNow(nullptr));

    // A real library that is no plug-in module.
    EXPECT_FALSE(module.Load("libm.so.6"));
    EXPECT_NE(std::string::npos, module.Error().find("ACFRegisterPlugin")) << module.Error();
    EXPECT_FALSE(module.IsLoaded());

    ASSERT_TRUE(module.Load(kModulePath)) << module.Error();
    uint64_t version = 0;
    EXPECT_EQ(ACF_OK, module.GetSDKVersion(&version));
    EXPECT_EQ(0x201007756BFull, version);
    // Only the entry points leave the module.
    EXPECT_EQ(nullptr, module.Symbol("_ZN11CACFUnknown21GetActiveObjectCountEv"));
    module.Unload();
    EXPECT_FALSE(module.IsLoaded());
    EXPECT_EQ(ACF_E_UNEXPECTED, module.GetSDKVersion(&version));
}

TEST(TestHostKit, AScanReadsBackEffectComponentsPropertiesAndProcedures)
{
    TestHost host;
    ModuleLoader module(kModulePath);
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    const ScanResult scan = Scan(module, host);
    ASSERT_TRUE(scan.Succeeded()) << host.Log().Dump();
    EXPECT_EQ(0x201007756BFull, scan.sdkVersion);
    EXPECT_TRUE(scan.definitionReturned);
    ASSERT_NE(nullptr, scan.collection);

    const Description& description = scan.description;
    EXPECT_EQ("Kit makers", description.manufacturerName);
    EXPECT_EQ(std::vector<std::string>{"Kit"}, description.packageNames);
    EXPECT_EQ(7u, description.packageVersion);
    ASSERT_EQ(1u, description.effects.size());
    const EffectDescription& effect = description.effects[0];
    EXPECT_EQ("com.example.kit", effect.effectId);
    EXPECT_EQ(std::vector<std::string>{"Kit effect"}, effect.names);
    EXPECT_NE(nullptr, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
    EXPECT_NE(nullptr, effect.CreateProc(kAAX_ProcPtrID_Create_EffectGUI));
    EXPECT_EQ(nullptr, effect.CreateProc(7));
    ASSERT_EQ(1u, effect.components.size());
    const ComponentDescription& component = effect.components[0];
    EXPECT_NE(nullptr, component.process);
    EXPECT_EQ(1, component.InputChannels());
    EXPECT_EQ(2, component.OutputChannels());
    ASSERT_EQ(6u, component.fields.size());
    ASSERT_NE(nullptr, component.FindField(4));
    EXPECT_EQ("MIDINode", component.FindField(4)->kind);
    EXPECT_EQ("Kit", component.FindField(4)->name);

    // The trace made at start-up reached the host's services.
    const auto services = host.All<HostServices>();
    ASSERT_EQ(1u, services.size());
    ASSERT_EQ(1u, services[0]->Traces().size());
    EXPECT_EQ("kit module started", services[0]->Traces()[0].message);

    EXPECT_EQ(ACF_OK, Shutdown(module, host));
    EXPECT_EQ(ACF_OK, module.CanUnloadNow(host.Unknown()));
    ExpectBalanced(host);
}

TEST_F(ScannedKit, DataModelAndGuiInstancesLiveByTheHostsReferences)
{
    const EffectDescription& effect = scan.description.effects.at(0);
    {
        DataModelInstance dataModel(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        ASSERT_TRUE(dataModel.IsValid());
        EXPECT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
        EXPECT_EQ(1, module.CanUnloadNow(host.Unknown()));
        EXPECT_EQ(std::vector<std::string>{"bypass"}, dataModel.ParameterIds());
        EXPECT_EQ(1u, host.Log().Count("Controller", "SetSignalLatency"));

        SavedChunk saved;
        ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(AAX_FourCC('k', 'i', 't', 's'), &saved));
        EXPECT_EQ(3, saved.version);
        EXPECT_EQ("Kit state", saved.name);
        EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0}), saved.data);
        saved.data = {1, 0, 0, 0};
        EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(saved));
        SavedChunk restored;
        ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(saved.id, &restored));
        EXPECT_EQ(saved.data, restored.data);
        EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_ID, dataModel.GetChunk(AAX_FourCC('n', 'o', 'n', 'e'), &restored));

        GuiInstance gui(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectGUI), &dataModel);
        ASSERT_TRUE(gui.IsValid());
        EXPECT_EQ(AAX_SUCCESS, gui.InitializeResult());
        // The GUI reached the data model through the controller and holds a reference on it.
        EXPECT_EQ(2, module.CanUnloadNow(host.Unknown()));
        HostViewContainer* view = gui.AttachView(AAX_eViewContainer_Type_HWND, reinterpret_cast<void*>(0x5));
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(AAX_SUCCESS, gui.Tick());
        ASSERT_EQ(2u, view->RequestedSizes().size());
        EXPECT_EQ(1.0f, view->RequestedSizes()[1].horz);
    }
    EXPECT_EQ(ACF_OK, module.CanUnloadNow(host.Unknown()));
    ExpectCleanShutdown(module, host);
}

TEST_F(ScannedKit, OneProcessCallRendersEveryInstanceFromItsOwnContextRecord)
{
    const EffectDescription& effect = scan.description.effects.at(0);
    const ComponentDescription& component = effect.components.at(0);
    {
        DataModelInstance first(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        DataModelInstance second(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        ProcessingContext firstContext(component, 64);
        ProcessingContext secondContext(component, 64);
        ASSERT_EQ(6u, firstContext.FieldCount());
        EXPECT_EQ(AAX_SUCCESS, firstContext.ResetPrivateData(first.Get()));
        EXPECT_EQ(AAX_SUCCESS, secondContext.ResetPrivateData(second.Get()));
        firstContext.FillInputs(1.0f);
        secondContext.FillInputs(4.0f);
        firstContext.SetBlockLength(32);
        secondContext.Midi().SetPackets(
            {MidiNode::Packet(0, {0x90, 60, 100}), MidiNode::Packet(5, {0x80, 60, 0})});
        firstContext.SetMidiConnected(false);

        // The second instance is bypassed by a packet its data model posts, delivered by the host.
        ASSERT_EQ(AAX_SUCCESS, second->SetParameterNormalizedValue("bypass", 1.0));
        secondContext.DeliverPackets(*second.Controller());
        firstContext.DeliverPackets(*first.Controller());

        RunProcess(component.process, {&firstContext, &secondContext});
        EXPECT_EQ(0.5f, firstContext.Output(0)[0]);
        EXPECT_EQ(0.5f, firstContext.Output(0)[31]);
        EXPECT_EQ(0.0f, firstContext.Output(0)[32]); // past the block
        EXPECT_EQ(4.0f, secondContext.Output(0)[63]);
        EXPECT_EQ(2.0f, secondContext.Output(1)[0]); // two MIDI packets
        EXPECT_EQ(1, secondContext.Midi().BufferRequests());
        EXPECT_EQ(0, firstContext.Midi().BufferRequests());
    }
    EXPECT_EQ(ACF_OK, module.CanUnloadNow(host.Unknown()));
    ExpectCleanShutdown(module, host);
}

TEST(TestHostKit, AHostWithoutThePluginDefinitionFailsRegistrationWithNullObject)
{
    TestHost host;
    host.config.pluginDefinition = false;
    ModuleLoader module(kModulePath);
    const ScanResult scan = Scan(module, host);
    EXPECT_EQ(ACF_OK, scan.startupResult);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, scan.registerResult);
    EXPECT_FALSE(scan.definitionReturned);
    // The description was still made before the definition was asked for.
    EXPECT_EQ(1u, scan.description.effects.size());
    Shutdown(module, host);
    ExpectBalanced(host);
}
