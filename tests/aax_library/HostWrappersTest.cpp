// The wrappers between the plug-in side and the host's interfaces, driven against the test host:
// fallbacks when the host lacks an interface or its second version, the positions and arguments
// that reach the host, ownership of child wrappers and the balance of host references.

#include "aax_library/AAX_CACFException.h"
#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_Properties.h"
#include "aax_library/AAX_StemFormats.h"
#include "aax_library/AAX_VAutomationDelegate.h"
#include "aax_library/AAX_VCollection.h"
#include "aax_library/AAX_VComponentDescriptor.h"
#include "aax_library/AAX_VController.h"
#include "aax_library/AAX_VEffectDescriptor.h"
#include "aax_library/AAX_VHostServices.h"
#include "aax_library/AAX_VPropertyMap.h"
#include "aax_library/AAX_VTransport.h"
#include "aax_library/AAX_VViewContainer.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostCollection.h"
#include "host_kit/HostComponentDescriptor.h"
#include "host_kit/HostController.h"
#include "host_kit/HostEffectDescriptor.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/HostRoot.h"
#include "host_kit/HostServices.h"
#include "host_kit/HostTransport.h"
#include "host_kit/HostViewContainer.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testhost;

namespace
{
void Process(void* const[], const void*) {}

// Every reference the wrappers took on the host is given back exactly once.
void ExpectBalanced(const TestHost& host)
{
    EXPECT_EQ(0, host.OutstandingReferences()) << host.ReferenceReport();
    EXPECT_EQ(0, host.OverReleases()) << host.ReferenceReport();
}
} // namespace

TEST(HostWrappers, WithoutAHostObjectEveryOperationAnswersItsFallbackAndWritesNothing)
{
    AAX_VController controller(nullptr);
    float rate = -1.0f;
    AAX_CString name("untouched");
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, controller.GetSampleRate(&rate));
    EXPECT_EQ(-1.0f, rate);
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, controller.GetHostName(&name));
    EXPECT_STREQ("untouched", name.Get());
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, controller.PostPacket(3, &rate, sizeof rate));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, controller.SendNotification(1, nullptr, 0));

    AAX_VTransport transport(nullptr);
    double tempo = -1.0;
    int64_t selection = -1;
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, transport.GetCurrentTempo(&tempo));
    EXPECT_EQ(-1.0, tempo);
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, transport.GetTimelineSelectionStartPosition(&selection));
    EXPECT_EQ(-1, selection);

    AAX_VViewContainer view(nullptr);
    EXPECT_EQ(AAX_eViewContainer_Type_NULL, view.GetType());
    EXPECT_EQ(nullptr, view.GetPtr());
    EXPECT_EQ(AAX_SUCCESS, view.SetViewSize(AAX_Point{300.0f, 500.0f}));
    uint32_t modifiers = 7;
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, view.GetModifiers(&modifiers));
    EXPECT_EQ(7u, modifiers);
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, view.HandleParameterMouseDown("0", 0));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, view.HandleParameterMouseDrag("0", 0));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, view.HandleParameterMouseUp("0", 0));

    AAX_VAutomationDelegate automation(nullptr);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, automation.PostSetValueRequest("0", 0.5));

    AAX_VPropertyMap map(nullptr);
    int32_t value = 9;
    EXPECT_EQ(0, map.GetProperty(10, &value));
    EXPECT_EQ(9, value);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, map.AddProperty(10, 1));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, map.AddPropertyWithIDArray(10, nullptr, 0));

    AAX_VHostServices services(nullptr);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, services.Trace(0, "dropped"));

    // A description built without a host still hands out (inert) children.
    AAX_VCollection collection(nullptr);
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    ASSERT_NE(nullptr, effect);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, effect->AddName("x"));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, effect->AddControlMIDINode(1, 0, "x", 0xFFFF));
    AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
    ASSERT_NE(nullptr, component);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, component->AddAudioIn(0));
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, component->AddTemporaryData(0, 4));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, collection.AddEffect("id", effect));
}

TEST(HostWrappers, HostsOfferingOnlyFirstVersionsAnswerFirstVersionCallsAndRefuseTheRest)
{
    TestHost host;
    host.config.controller = Offer::V1;
    host.config.transport = Offer::V1;
    host.config.propertyMap = Offer::V1;
    host.config.effectDescriptor = Offer::V1;
    host.config.componentDescriptor = Offer::V1;
    host.config.sampleRate = 44100.0f;
    host.config.tempo = 97.5;
    HostController* hostController = host.NewController();
    {
        AAX_VController controller(hostController);
        float rate = 0.0f;
        EXPECT_EQ(AAX_SUCCESS, controller.GetSampleRate(&rate));
        EXPECT_EQ(44100.0f, rate);
        AAX_CString name("untouched");
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, controller.GetHostName(&name));
        EXPECT_STREQ("untouched", name.Get());
        int64_t timestamp = -1;
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, controller.GetCurrentAutomationTimestamp(&timestamp));
        EXPECT_EQ(-1, timestamp);

        AAX_VTransport transport(hostController);
        double tempo = 0.0;
        EXPECT_EQ(AAX_SUCCESS, transport.GetCurrentTempo(&tempo));
        EXPECT_EQ(97.5, tempo);
        int64_t selection = -1;
        int32_t frameRate = -1, offset = -1;
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, transport.GetTimelineSelectionStartPosition(&selection));
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, transport.GetTimeCodeInfo(&frameRate, &offset));
        EXPECT_EQ(-1, selection);
        EXPECT_EQ(-1, frameRate);

        AAX_VCollection collection(host.Unknown());
        AAX_IEffectDescriptor* effect = collection.NewDescriptor();
        EXPECT_EQ(AAX_SUCCESS, effect->AddName("Ombrel"));
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, effect->AddControlMIDINode(1, 0, "in", 0xFFFF));
        AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
        EXPECT_EQ(AAX_SUCCESS, component->AddAudioIn(0));
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, component->AddTemporaryData(6, 4));
        AAX_IPropertyMap* map = component->NewPropertyMap();
        EXPECT_EQ(AAX_SUCCESS, map->AddProperty(11, 42));
        const AAX_SPlugInIdentifierTriad triad{1, 2, 3};
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, map->AddPropertyWithIDArray(20, &triad, 1));
        const AAX_SPlugInIdentifierTriad* ids = nullptr;
        uint32_t count = 0;
        EXPECT_EQ(0, map->GetPropertyWithIDArray(20, &ids, &count));
    }
    // None of the refused calls reached the host.
    EXPECT_EQ(0u, host.Log().Count("Controller", "GetHostName"));
    EXPECT_EQ(0u, host.Log().Count("Transport", "GetTimeCodeInfo"));
    EXPECT_EQ(0u, host.Log().Count("ComponentDescriptor", "AddTemporaryData"));
    EXPECT_EQ(0u, host.Log().Count("PropertyMap", "AddPropertyWithIDArray"));
    ExpectBalanced(host);
}

TEST(HostWrappers, AWithheldViewContainerOrAutomationDelegateGivesFallbacksWithoutHostCalls)
{
    TestHost host;
    host.config.viewContainer = Offer::None;
    host.config.automationDelegate = Offer::None;
    HostViewContainer* hostView =
        host.NewViewContainer(AAX_eViewContainer_Type_HWND, reinterpret_cast<void*>(0x42));
    {
        AAX_VViewContainer view(hostView);
        EXPECT_EQ(AAX_eViewContainer_Type_NULL, view.GetType());
        EXPECT_EQ(nullptr, view.GetPtr());
        EXPECT_EQ(AAX_SUCCESS, view.SetViewSize(AAX_Point{1.0f, 2.0f}));
        AAX_VAutomationDelegate automation(host.NewController());
        EXPECT_EQ(AAX_ERROR_NULL_OBJECT, automation.PostTouchRequest("0"));
    }
    EXPECT_EQ(0u, host.Log().Count("ViewContainer", "GetType"));
    EXPECT_TRUE(hostView->RequestedSizes().empty());
    ExpectBalanced(host);
}

TEST(HostWrappers, RunTimeWrappersForwardToTheListedHostPositionsWithTheirArguments)
{
    TestHost host;
    host.config.hostName = "Test Tools";
    host.config.inputStemFormat = AAX_eStemFormat_Mono;
    host.config.selectionStart = 96000;
    host.config.frameRate = 7;
    host.config.timeCodeOffset = 1200;
    HostController* hostController = host.NewController();
    HostViewContainer* hostView =
        host.NewViewContainer(AAX_eViewContainer_Type_HWND, reinterpret_cast<void*>(0x1234));
    {
        AAX_VController controller(hostController);
        int32_t stem = 0;
        EXPECT_EQ(AAX_SUCCESS, controller.GetInputStemFormat(&stem));
        EXPECT_EQ(AAX_eStemFormat_Mono, stem);
        AAX_CString name;
        EXPECT_EQ(AAX_SUCCESS, controller.GetHostName(&name));
        EXPECT_STREQ("Test Tools", name.Get());
        EXPECT_EQ(AAX_SUCCESS, controller.SetSignalLatency(128));
        EXPECT_EQ(128, hostController->SignalLatency());
        const int32_t bypass = 1;
        EXPECT_EQ(AAX_SUCCESS, controller.PostPacket(3, &bypass, sizeof bypass));
        EXPECT_EQ(AAX_SUCCESS, controller.SendNotification(AAX_FourCC('A', 'S', 'P', 'v'), &bypass, 4));

        AAX_VTransport transport(hostController);
        int64_t selection = 0;
        int32_t frameRate = 0, offset = 0;
        EXPECT_EQ(AAX_SUCCESS, transport.GetTimelineSelectionStartPosition(&selection));
        EXPECT_EQ(96000, selection);
        EXPECT_EQ(AAX_SUCCESS, transport.GetTimeCodeInfo(&frameRate, &offset));
        EXPECT_EQ(7, frameRate);
        EXPECT_EQ(1200, offset);

        AAX_VAutomationDelegate automation(hostController);
        EXPECT_EQ(AAX_SUCCESS, automation.RegisterParameter("MasterBypassID"));
        EXPECT_EQ(AAX_SUCCESS, automation.PostSetValueRequest("3", 0.25));
        EXPECT_EQ(AAX_SUCCESS, automation.PostTouchRequest("3"));
        AAX_CBoolean touched = 0;
        EXPECT_EQ(AAX_SUCCESS, automation.GetTouchState("3", &touched));
        EXPECT_EQ(1, touched);

        AAX_VViewContainer view(hostView);
        EXPECT_EQ(AAX_eViewContainer_Type_HWND, view.GetType());
        EXPECT_EQ(reinterpret_cast<void*>(0x1234), view.GetPtr());
        EXPECT_EQ(AAX_SUCCESS, view.SetViewSize(AAX_Point{300.0f, 500.0f}));
        EXPECT_EQ(AAX_SUCCESS, view.HandleParameterMouseUp("2", 8));
    }
    const std::vector<std::string> expected = {"Controller.GetInputStemFormat", "Controller.GetHostName",
                                               "Controller.SetSignalLatency", "Controller.PostPacket",
                                               "Controller.SendNotification"};
    std::vector<std::string> controllerCalls;
    for (const Call& call : host.Log().Calls())
        if (call.interface == "Controller" && call.operation != "QueryInterface")
            controllerCalls.push_back(call.interface + "." + call.operation);
    EXPECT_EQ(expected, controllerCalls);

    const std::vector<Call> packets = host.Log().Find("Controller", "PostPacket");
    ASSERT_EQ(1u, packets.size());
    EXPECT_EQ((std::vector<std::string>{"3", "01000000", "4"}), packets[0].args);
    ASSERT_EQ(1u, hostController->Notifications().size());
    EXPECT_EQ(0x41535076u, hostController->Notifications()[0].type);

    const std::vector<Call> requests = host.Log().Find("AutomationDelegate", "PostSetValueRequest");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ((std::vector<std::string>{"3", "0.25"}), requests[0].args);
    EXPECT_EQ(1u, hostController->AutomationDelegate()->Registered().count("MasterBypassID"));

    ASSERT_EQ(1u, hostView->RequestedSizes().size());
    EXPECT_EQ(300.0f, hostView->RequestedSizes()[0].vert);
    EXPECT_EQ(500.0f, hostView->RequestedSizes()[0].horz);
    EXPECT_EQ((std::vector<std::string>{"2", "8"}),
              host.Log().Find("ViewContainer", "HandleParameterMouseUp")[0].args);
    ExpectBalanced(host);
}

TEST(HostWrappers, HostResultsReachTheCallerUnchanged)
{
    TestHost host;
    host.config.SetResult("Controller.GetSampleRate", -1234);
    host.config.SetResult("Transport.IsTransportPlaying", AAX_ERROR_UNIMPLEMENTED);
    host.config.SetResult("Collection.AddEffect", -7);
    HostController* hostController = host.NewController();
    {
        AAX_VController controller(hostController);
        float rate = -1.0f;
        EXPECT_EQ(-1234, controller.GetSampleRate(&rate));
        EXPECT_EQ(-1.0f, rate);
        AAX_VTransport transport(hostController);
        bool playing = true;
        EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, transport.IsTransportPlaying(&playing));
        EXPECT_TRUE(playing);
        AAX_VCollection collection(host.Unknown());
        EXPECT_EQ(-7, collection.AddEffect("id", collection.NewDescriptor()));
    }
    ExpectBalanced(host);
}

TEST(HostWrappers, WrappersAcquireTheirHostInterfacesInTheDocumentedOrder)
{
    TestHost host;
    HostController* hostController = host.NewController();
    {
        AAX_VController controller(hostController);
        AAX_VEffectDescriptor effect(host.Unknown());
    }
    std::vector<std::string> calls;
    for (const Call& call : host.Log().Calls())
        calls.push_back(call.ToString());
    const std::string controllerLabel = hostController->Label();
    ASSERT_GE(calls.size(), 5u) << host.Log().Dump();
    // Direct: the given object, V1 then V2.
    EXPECT_EQ(controllerLabel + ".QueryInterface(IID_IAAXControllerV1)", calls[0]);
    EXPECT_EQ(controllerLabel + ".QueryInterface(IID_IAAXControllerV2)", calls[1]);
    // Through the factory: the factory first, then the class with its V1 id, then V2 on the new
    // object.
    EXPECT_EQ("Host#2.QueryInterface(IID_IACFComponentFactory)", calls[2]);
    EXPECT_EQ(
        "ComponentFactory#1.CreateComponent(AAXCompID_AAXEffectDescriptor, null, IID_IAAXEffectDescriptorV1)",
        calls[3]);
    const auto descriptors = host.All<HostEffectDescriptor>();
    ASSERT_EQ(1u, descriptors.size());
    EXPECT_EQ(descriptors[0]->Label() + ".QueryInterface(IID_IAAXEffectDescriptorV1)", calls[4]);
    EXPECT_EQ(descriptors[0]->Label() + ".QueryInterface(IID_IAAXEffectDescriptorV2)", calls[5]);
    ExpectBalanced(host);
}

TEST(HostWrappers, DescriptorArgumentsReachTheHostAsTheHostsOwnObjects)
{
    TestHost host;
    {
        AAX_VCollection collection(host.Unknown());
        AAX_IEffectDescriptor* effect = collection.NewDescriptor();
        AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
        AAX_IPropertyMap* properties = component->NewPropertyMap();
        EXPECT_EQ(AAX_SUCCESS, properties->AddProperty(AAX_eProperty_InputStemFormat, AAX_eStemFormat_Mono));
        EXPECT_EQ(AAX_SUCCESS, component->AddAudioIn(0));
        EXPECT_EQ(AAX_SUCCESS, component->AddDataInPort(3, 4, 1));
        EXPECT_EQ(AAX_SUCCESS, component->AddMIDINode(4, 0, "Ombrel", 0xFFFF));
        EXPECT_EQ(AAX_SUCCESS, component->AddPrivateData(5, 8, 0));
        AAX_CSelector procId = 0;
        EXPECT_EQ(AAX_SUCCESS,
                  component->AddProcessProc_Native(&Process, properties, nullptr, nullptr, &procId));
        EXPECT_NE(0u, procId);
        EXPECT_EQ(AAX_SUCCESS, effect->AddComponent(component));
        EXPECT_EQ(AAX_SUCCESS,
                  effect->AddProcPtr(reinterpret_cast<void*>(&Process), kAAX_ProcPtrID_Create_EffectGUI));
        // A null wrapper argument stays null for everything but AddEffect.
        EXPECT_EQ(AAX_SUCCESS, effect->SetProperties(nullptr));
        EXPECT_EQ(AAX_ERROR_NULL_OBJECT, collection.AddEffect("\"com.example\"", nullptr));
        EXPECT_EQ(AAX_SUCCESS, collection.AddEffect("\"com.example\"", effect));
        EXPECT_EQ(AAX_SUCCESS, collection.SetManufacturerName("Quorvane"));
        EXPECT_EQ(AAX_SUCCESS, collection.SetPackageVersion(65793));

        HostCollection* hostCollection = host.Find<HostCollection>(collection.GetIUnknown());
        ASSERT_NE(nullptr, hostCollection);
        ASSERT_EQ(1u, hostCollection->Effects().size());
        const HostEffectDescriptor* hostEffect = hostCollection->Effects()[0].descriptor;
        ASSERT_NE(nullptr, hostEffect);
        EXPECT_EQ("\"com.example\"", hostCollection->Effects()[0].effectId);
        ASSERT_EQ(1u, hostEffect->Components().size());
        const HostComponentDescriptor* hostComponent = hostEffect->Components()[0];
        ASSERT_NE(nullptr, hostComponent);
        ASSERT_EQ(4u, hostComponent->Fields().size());
        EXPECT_EQ("DataInPort", hostComponent->Fields()[1].kind);
        EXPECT_EQ((std::vector<int64_t>{4, 1}), hostComponent->Fields()[1].values);
        EXPECT_EQ("Ombrel", hostComponent->Fields()[2].name);
        ASSERT_EQ(1u, hostComponent->ProcessProcs().size());
        EXPECT_EQ(reinterpret_cast<void*>(&Process), hostComponent->ProcessProcs()[0].process);
        ASSERT_NE(nullptr, hostComponent->ProcessProcs()[0].properties);
        EXPECT_EQ(AAX_eStemFormat_Mono, hostComponent->ProcessProcs()[0].properties->Properties().at(
                                            AAX_eProperty_InputStemFormat));
        EXPECT_EQ("null", host.Log().Find("EffectDescriptor", "SetProperties")[0].args[0]);
        EXPECT_EQ(1u, host.Log().Count("Collection", "AddEffect"));
        EXPECT_EQ("Quorvane", hostCollection->ManufacturerName());
        EXPECT_EQ(65793u, hostCollection->PackageVersion());
    }
    ExpectBalanced(host);
}

TEST(HostWrappers, DestroyingTheCollectionDeletesEveryChildAndReleasesEveryHostReference)
{
    TestHost host;
    auto collection = std::make_unique<AAX_VCollection>(host.Unknown());
    AAX_IEffectDescriptor* first = collection->NewDescriptor();
    AAX_IEffectDescriptor* second = collection->NewDescriptor();
    AAX_IPropertyMap* map = collection->NewPropertyMap();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    ASSERT_NE(nullptr, map);
    EXPECT_NE(first, second);
    // Grandchildren are deleted by their own parents in turn.
    first->NewComponentDescriptor()->NewPropertyMap();
    second->NewPropertyMap();

    // Each child holds its host object (V1 and V2 references) and the kept host object.
    for (HostEffectDescriptor* descriptor : host.All<HostEffectDescriptor>())
        EXPECT_EQ(2, descriptor->Outstanding());
    for (HostPropertyMap* hostMap : host.All<HostPropertyMap>())
        EXPECT_EQ(2, hostMap->Outstanding());
    EXPECT_EQ(4, host.Root().Outstanding()); // collection, two descriptors, one component descriptor

    collection.reset();
    EXPECT_EQ(2u, host.All<HostEffectDescriptor>().size());
    EXPECT_EQ(3u, host.All<HostPropertyMap>().size());
    ExpectBalanced(host);
}

TEST(HostWrappers, DuplicatePropertyMapCopiesOnlyIdsTenTo351)
{
    TestHost host;
    {
        AAX_VComponentDescriptor component(host.Unknown());
        AAX_IPropertyMap* source = component.NewPropertyMap();
        ASSERT_EQ(AAX_SUCCESS, source->AddProperty(5, 50));
        ASSERT_EQ(AAX_SUCCESS, source->AddProperty(10, 100));
        ASSERT_EQ(AAX_SUCCESS, source->AddProperty(351, 3510));
        ASSERT_EQ(AAX_SUCCESS, source->AddProperty(352, 3520));

        AAX_IPropertyMap* copy = component.DuplicatePropertyMap(source);
        ASSERT_NE(nullptr, copy);
        EXPECT_NE(source, copy);
        auto* copyWrapper = dynamic_cast<AAX_VPropertyMap*>(copy);
        ASSERT_NE(nullptr, copyWrapper);
        HostPropertyMap* hostCopy = host.Find<HostPropertyMap>(copyWrapper->GetIUnknown());
        ASSERT_NE(nullptr, hostCopy);
        EXPECT_EQ((std::map<int32_t, int32_t>{{10, 100}, {351, 3510}}), hostCopy->Properties());
        // Every id of the range is asked of the source, in increasing order.
        const std::vector<Call> reads = host.Log().Find("PropertyMap", "GetProperty");
        ASSERT_EQ(342u, reads.size());
        EXPECT_EQ("10", reads.front().args[0]);
        EXPECT_EQ("351", reads.back().args[0]);

        // A null source gives an empty map owned like any other, instead of a crash.
        AAX_IPropertyMap* empty = component.DuplicatePropertyMap(nullptr);
        ASSERT_NE(nullptr, empty);
        int32_t value = 0;
        EXPECT_EQ(0, empty->GetProperty(10, &value));
    }
    ExpectBalanced(host);
}

TEST(HostWrappers, AFactoryQueryThatSucceedsWithANullFactoryThrowsTheNullPointerCode)
{
    TestHost host;
    host.config.componentFactory = FactoryMode::NullOnSuccess;
    try
    {
        AAX_VCollection collection(host.Unknown());
        FAIL() << "expected the construction to throw";
    }
    catch (const AAX_CACFException& error)
    {
        EXPECT_EQ(ACF_E_POINTER, error.Code());
    }
    EXPECT_THROW(AAX_VPropertyMap{host.Unknown()}, AAX_CACFException);
    EXPECT_THROW(AAX_VHostServices{host.Unknown()}, AAX_CACFException);
    // Nothing was kept by the half-built wrappers.
    ExpectBalanced(host);
}

TEST(HostWrappers, AWithheldFactoryLeavesEveryDescriptionWrapperInert)
{
    TestHost host;
    host.config.componentFactory = FactoryMode::Withheld;
    {
        AAX_VCollection collection(host.Unknown());
        EXPECT_EQ(nullptr, collection.GetIUnknown());
        AAX_IEffectDescriptor* effect = collection.NewDescriptor();
        EXPECT_EQ(AAX_ERROR_NULL_OBJECT, effect->AddName("x"));
        EXPECT_EQ(AAX_ERROR_NULL_OBJECT, collection.AddEffect("id", effect));
    }
    EXPECT_EQ(0u, host.Log().Count("ComponentFactory", "CreateComponent"));
    ExpectBalanced(host);
}

TEST(HostWrappers, HostServicesForwardTracesAndAssertions)
{
    TestHost host;
    {
        AAX_VHostServices services(host.Unknown());
        EXPECT_EQ(AAX_SUCCESS, services.Trace(0x08000000, "message"));
        EXPECT_EQ(AAX_SUCCESS, services.HandleAssertFailure("file.cpp", 12, "note"));
    }
    const auto hostServices = host.All<HostServices>();
    ASSERT_EQ(1u, hostServices.size());
    ASSERT_EQ(1u, hostServices[0]->Traces().size());
    EXPECT_EQ(0x08000000, hostServices[0]->Traces()[0].priority);
    EXPECT_EQ("message", hostServices[0]->Traces()[0].message);
    EXPECT_EQ((std::vector<std::string>{"file.cpp", "12", "note"}),
              host.Log().Find("HostServices", "HandleAssertFailure")[0].args);
    ExpectBalanced(host);
}
