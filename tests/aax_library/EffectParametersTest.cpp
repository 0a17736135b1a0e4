#include "ChunkStorage.h"
#include "TestPlugIn.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;
using testhost::DataModelInstance;
using testhost::HostString;
using testhost::SavedChunk;

// Bypass, a level "0" at 0.5 and a switch "1" that is on.
AAX_Result AddThreeParameters(TestDataModel& model)
{
    model.Parameters().AddParameter(NewBypassParameter());
    model.Parameters().AddParameter(NewLevelParameter("0", "Level", 0.5f));
    model.Parameters().AddParameter(NewSwitchParameter("1", "Switch", true));
    model.Packets().RegisterPacket(cDefaultMasterBypassID, 3);
    return AAX_SUCCESS;
}

class EffectParameters : public ::testing::Test
{
protected:
    // A data model made and initialised by the test host, with the given parameters.
    DataModelInstance& Make(TestDataModel::Setup setup = AddThreeParameters)
    {
        TestDataModel::SetNextSetup(std::move(setup));
        mInstance = std::make_unique<DataModelInstance>(mHost, &TestDataModel::Create);
        EXPECT_TRUE(mInstance->IsValid());
        EXPECT_EQ(AAX_SUCCESS, mInstance->InitializeResult());
        return *mInstance;
    }
    TestDataModel& Model() { return TestDataModel::From(mInstance->Get()); }
    AAX_IACFEffectParameters_V2& Host() { return *mInstance->Get(); }

    // Sets a value as the host does: request, then the host's answer.
    void SetFromHost(const char* id, double normalized)
    {
        ASSERT_EQ(AAX_SUCCESS, Host().SetParameterNormalizedValue(id, normalized));
        mInstance->DeliverAutomation();
    }

    testhost::TestHost mHost;
    std::unique_ptr<DataModelInstance> mInstance;
};

SavedChunk ChunkWithData(const Bytes& data)
{
    SavedChunk chunk;
    chunk.id = cDefaultChunkID;
    chunk.data = data;
    return chunk;
}
} // namespace

TEST_F(EffectParameters, DefaultChunkHoldsEveryParameterButTheBypassInTheSavedLayout)
{
    Make();
    SavedChunk chunk;
    ASSERT_EQ(AAX_SUCCESS, mInstance->GetChunk(cDefaultChunkID, &chunk));
    EXPECT_EQ("Complete Controls State", chunk.name);
    EXPECT_EQ(-1, chunk.version);
    EXPECT_EQ(
        (Bytes{1, 1, 1, 1, 'd', '_', '0', 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0, 'l', '_', '1', 0, 0, 0, 0, 1}),
        chunk.data);
    EXPECT_EQ(2, Model().NumChunkedParameters());
}

TEST_F(EffectParameters, DefaultChunkRoundTripsThroughSizeGetAndSet)
{
    Make();
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, mInstance->GetChunk(cDefaultChunkID, &saved));

    SetFromHost("0", 0.875);
    SetFromHost("1", 0.0);
    ASSERT_EQ(0.875f, Model().FloatValue("0"));
    ASSERT_FALSE(Model().BoolValue("1"));

    ASSERT_EQ(AAX_SUCCESS, mInstance->SetChunk(saved));
    // Restoring goes through the host like any change the plug-in makes.
    EXPECT_EQ(2, mInstance->DeliverAutomation());
    EXPECT_EQ(0.5f, Model().FloatValue("0"));
    EXPECT_TRUE(Model().BoolValue("1"));
}

TEST_F(EffectParameters, GetChunkWritesExactlyThePromisedBytes)
{
    Make();
    uint32_t size = 0;
    ASSERT_EQ(AAX_SUCCESS, Host().GetChunkSize(cDefaultChunkID, &size));
    ASSERT_EQ(24u, size);
    // Storage of exactly the promised size: the address sanitizer reports any byte beyond it.
    ChunkStorage storage(static_cast<int32_t>(size));
    ASSERT_EQ(AAX_SUCCESS, Host().GetChunk(cDefaultChunkID, storage.chunk()));
    EXPECT_EQ(24, storage.chunk()->fSize);
}

TEST_F(EffectParameters, GetChunkWithoutASizeQueryOrAfterAChangeWritesNothing)
{
    Make();
    ChunkStorage storage(64);
    std::memset(storage.data(), 0xAB, storage.capacity());
    EXPECT_EQ(AAX_ERROR_INCORRECT_CHUNK_SIZE, Host().GetChunk(cDefaultChunkID, storage.chunk()));
    EXPECT_EQ(Bytes(64, 0xAB), storage.dataBytes());

    uint32_t size = 0;
    ASSERT_EQ(AAX_SUCCESS, Host().GetChunkSize(cDefaultChunkID, &size));
    Model().Parameters().AddParameter(NewLevelParameter("2"));
    EXPECT_EQ(AAX_ERROR_INCORRECT_CHUNK_SIZE, Host().GetChunk(cDefaultChunkID, storage.chunk()));
    EXPECT_EQ(Bytes(64, 0xAB), storage.dataBytes());
}

TEST_F(EffectParameters, ForeignChunkIdentifiersAreRefusedAndCompareEqual)
{
    Make();
    const AAX_CTypeID other = AAX_FourCC('A', 'l', 'l', ' ');
    uint32_t size = 99;
    EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_ID, Host().GetChunkSize(other, &size));
    EXPECT_EQ(0u, size);
    ChunkStorage storage(8);
    EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_ID, Host().GetChunk(other, storage.chunk()));
    EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_ID, Host().SetChunk(other, storage.chunk()));
    storage.chunk()->fChunkID = other;
    AAX_CBoolean equal = 0;
    EXPECT_EQ(AAX_SUCCESS, Host().CompareActiveChunk(storage.chunk(), &equal));
    EXPECT_EQ(1, equal);

    int32_t count = 0;
    AAX_CTypeID id = 5;
    EXPECT_EQ(AAX_SUCCESS, Host().GetNumberOfChunks(&count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(AAX_ERROR_INVALID_CHUNK_INDEX, Host().GetChunkIDFromIndex(1, &id));
    EXPECT_EQ(0u, id);
    EXPECT_EQ(AAX_SUCCESS, Host().GetChunkIDFromIndex(0, &id));
    EXPECT_EQ(cDefaultChunkID, id);
}

TEST_F(EffectParameters, MasterBypassIsNeitherSavedNorRestored)
{
    Make();
    SetFromHost(cDefaultMasterBypassID, 1.0);
    ASSERT_TRUE(Model().BoolValue(cDefaultMasterBypassID));
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, mInstance->GetChunk(cDefaultChunkID, &saved));
    const std::string bytes(saved.data.begin(), saved.data.end());
    EXPECT_EQ(std::string::npos, bytes.find(cDefaultMasterBypassID));

    // A chunk that does carry the bypass (written by someone else) does not switch it.
    Bytes data = {1, 1, 1, 1};
    const std::string key = std::string("l_") + cDefaultMasterBypassID;
    data.insert(data.end(), key.begin(), key.end());
    data.resize(data.size() + 1 + (4 - (key.size() + 1) % 4) % 4, 0);
    data.insert(data.end(), {0, 0, 0, 0});
    SetFromHost(cDefaultMasterBypassID, 1.0);
    ASSERT_EQ(AAX_SUCCESS, mInstance->SetChunk(ChunkWithData(data)));
    mInstance->DeliverAutomation();
    EXPECT_TRUE(Model().BoolValue(cDefaultMasterBypassID));
}

TEST_F(EffectParameters, CompareActiveChunkSeesEqualAndChangedValues)
{
    Make();
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, mInstance->GetChunk(cDefaultChunkID, &saved));
    bool equal = false;
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(saved, &equal));
    EXPECT_TRUE(equal);

    // The bypass is not part of the comparison.
    SetFromHost(cDefaultMasterBypassID, 1.0);
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(saved, &equal));
    EXPECT_TRUE(equal);

    SetFromHost("0", 0.25);
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(saved, &equal));
    EXPECT_FALSE(equal);

    // A chunk that lacks a parameter, or stores it with another type, is not equal either.
    SetFromHost("0", 0.5);
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(saved, &equal));
    EXPECT_TRUE(equal);
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(ChunkWithData({1, 1, 1, 1}), &equal));
    EXPECT_FALSE(equal);
}

TEST_F(EffectParameters, WithoutParametersTheChunkIsTheMarkerAndComparesEqual)
{
    Make(nullptr);
    int32_t count = -1;
    EXPECT_EQ(AAX_SUCCESS, Host().GetNumberOfParameters(&count));
    EXPECT_EQ(0, count);
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, mInstance->GetChunk(cDefaultChunkID, &saved));
    EXPECT_EQ((Bytes{1, 1, 1, 1}), saved.data);
    bool equal = false;
    ASSERT_EQ(AAX_SUCCESS, mInstance->CompareActiveChunk(ChunkWithData({0, 0}), &equal));
    EXPECT_TRUE(equal);
    HostString bypass("previous");
    EXPECT_EQ(AAX_SUCCESS, Host().GetMasterBypassParameter(&bypass));
    EXPECT_EQ("", bypass.Text());
}

TEST_F(EffectParameters, ParameterNameOfLengthPicksTheLongestLineThatFits)
{
    Make(
        [](TestDataModel& model)
        {
            model.Parameters().AddParameter(NewLevelParameter("g", "Gain\nGn\nG"));
            model.Parameters().AddParameter(NewLevelParameter("f", "Frequency"));
            AAX_CParameter<float>* control = NewLevelParameter("c", "Gain Control");
            control->AddShortenedName(AAX_CString("Gain\nGn\nG"));
            model.Parameters().AddParameter(control);
            return AAX_SUCCESS;
        });
    struct NameCase
    {
        const char* id;
        int32_t length;
        const char* expected;
    };
    // "c" has the same lines as a shortened name of a longer full name.
    const NameCase cases[] = {{"g", 3, "Gn"},
                              {"g", 2, "Gn"},
                              {"g", 1, "G"},
                              {"g", 0, ""},
                              {"g", 4, "Gain"},
                              {"f", 4, "Freq"},
                              {"f", 40, "Frequency"},
                              {"c", 3, "Gn"},
                              {"c", 1, "G"},
                              {"c", 0, ""},
                              {"c", 12, "Gain Control"},
                              {"unknown", 4, ""}};
    for (const NameCase& c : cases)
    {
        HostString name("unchanged");
        EXPECT_EQ(AAX_SUCCESS, Host().GetParameterNameOfLength(c.id, &name, c.length))
            << c.id << " " << c.length;
        EXPECT_EQ(c.expected, name.Text()) << c.id << " " << c.length;
    }
    EXPECT_EQ(AAX_ERROR_INVALID_STRING_CONVERSION, Host().GetParameterNameOfLength("g", nullptr, 3));
}

TEST_F(EffectParameters, UnknownIdentifiersAnswerInvalidParameterIdAndChangeNothing)
{
    Make();
    double value = 7.0;
    int32_t number = 7;
    AAX_CBoolean flag = 7;
    AAX_IParameter* parameter = reinterpret_cast<AAX_IParameter*>(&value);
    HostString text("unchanged");
    const HostString input("0.50");
    for (const char* id : {"level", "", "MASTERBYPASSID", static_cast<const char*>(nullptr)})
    {
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterNormalizedValue(id, &value));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().SetParameterNormalizedValue(id, 0.5));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().SetParameterNormalizedRelative(id, 0.5));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().UpdateParameterNormalizedValue(id, 0.5, 0));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().UpdateParameterNormalizedRelative(id, 0.5));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterNumberOfSteps(id, &number));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterIsAutomatable(id, &flag));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterValueString(id, &text, 8));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterValueFromString(id, &value, input));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().TouchParameter(id));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameter(id, &parameter));
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterIndex(id, &number));
        EXPECT_EQ(AAX_SUCCESS, Host().GetParameterName(id, &text));
        EXPECT_EQ("", text.Text());
        text.Set("unchanged");
    }
    EXPECT_EQ(7.0, value);
    EXPECT_EQ(nullptr, parameter);
    EXPECT_EQ(-1, number);
    EXPECT_EQ(0, flag);
    EXPECT_EQ(0, Host().GetNumberOfChanges(&number));
    EXPECT_EQ(0, number);
    EXPECT_EQ(0u, mHost.Log().Count("Controller", "PostPacket") +
                      mHost.Log().Count("AutomationDelegate", "PostSetValueRequest"));
}

TEST_F(EffectParameters, DuplicateIdentifiersKeepOnlyTheFirstParameter)
{
    AAX_CParameter<float>* second = NewLevelParameter("0", "Second");
    Make(
        [&](TestDataModel& model)
        {
            EXPECT_TRUE(model.Parameters().AddParameter(NewLevelParameter("0", "First")));
            EXPECT_FALSE(model.Parameters().AddParameter(second));
            return AAX_SUCCESS;
        });
    delete second; // refused, so still ours
    const std::vector<std::string> ids = mInstance->ParameterIds();
    EXPECT_EQ(std::vector<std::string>{"0"}, ids);
    HostString name;
    EXPECT_EQ(AAX_SUCCESS, Host().GetParameterName("0", &name));
    EXPECT_EQ("First", name.Text());
    HostString id("x");
    EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, Host().GetParameterIDFromIndex(1, &id));
    EXPECT_EQ("", id.Text());
}

TEST_F(EffectParameters, RelativeChangesStopAtTheEndsOfTheNormalizedRange)
{
    Make();
    ASSERT_EQ(AAX_SUCCESS, Host().SetParameterNormalizedRelative("0", 0.75));
    mInstance->DeliverAutomation();
    EXPECT_EQ(1.0f, Model().FloatValue("0"));
    ASSERT_EQ(AAX_SUCCESS, Host().SetParameterNormalizedRelative("0", -3.0));
    mInstance->DeliverAutomation();
    EXPECT_EQ(0.0f, Model().FloatValue("0"));
    ASSERT_EQ(AAX_SUCCESS, Host().UpdateParameterNormalizedRelative("0", 0.25));
    EXPECT_EQ(0.25f, Model().FloatValue("0"));
    ASSERT_EQ(AAX_SUCCESS, Host().UpdateParameterNormalizedRelative("0", 2.0));
    EXPECT_EQ(1.0f, Model().FloatValue("0"));
}

TEST_F(EffectParameters, HostUpdatesAreCountedAndReachTheProcessingSideOnce)
{
    Make();
    ASSERT_EQ(AAX_SUCCESS, Host().GenerateCoefficients()); // the packet is dirty from creation
    ASSERT_EQ(1u, mInstance->Controller()->PostedPackets().size());

    ASSERT_EQ(AAX_SUCCESS, Host().UpdateParameterNormalizedValue(cDefaultMasterBypassID, 1.0, 0));
    ASSERT_EQ(AAX_SUCCESS, Host().UpdateParameterNormalizedValue("0", 0.25, 0));
    int32_t changes = 0;
    EXPECT_EQ(AAX_SUCCESS, Host().GetNumberOfChanges(&changes));
    EXPECT_EQ(2, changes);
    ASSERT_EQ(AAX_SUCCESS, Host().GenerateCoefficients());
    ASSERT_EQ(AAX_SUCCESS, Host().GenerateCoefficients());
    const auto packets = mInstance->Controller()->PostedPackets();
    ASSERT_EQ(2u, packets.size());
    EXPECT_EQ(3, packets[1].field);
    EXPECT_EQ((Bytes{1, 0, 0, 0}), packets[1].payload);
}

TEST_F(EffectParameters, StepCountsBeyondInt32AndUnusableTextsAreRefused)
{
    Make(
        [](TestDataModel& model)
        {
            AAX_CParameter<float>* level = NewLevelParameter("0", "Level", 0.5f);
            level->SetNumberOfSteps(0x80000000u);
            model.Parameters().AddParameter(level);
            return AAX_SUCCESS;
        });
    int32_t steps = 5;
    EXPECT_EQ(AAX_ERROR_SIGNED_INT_OVERFLOW, Host().GetParameterNumberOfSteps("0", &steps));
    EXPECT_EQ(5, steps);
    HostString text("kept");
    EXPECT_EQ(AAX_ERROR_INVALID_STRING_CONVERSION, Host().GetParameterStringFromValue("0", 1.5, &text, 8));
    EXPECT_EQ("kept", text.Text());
    double value = -1.0;
    EXPECT_EQ(AAX_ERROR_INVALID_STRING_CONVERSION,
              Host().GetParameterValueFromString("0", &value, HostString("3")));
    EXPECT_EQ(-1.0, value);
    EXPECT_EQ(AAX_SUCCESS, Host().GetParameterValueFromString("0", &value, HostString("0.75")));
    EXPECT_EQ(0.75, value);
}

TEST_F(EffectParameters, PreviewNotificationSwitchesThePreviewParameter)
{
    Make(
        [](TestDataModel& model)
        {
            model.Parameters().AddParameter(NewSwitchParameter(cPreviewParameterID));
            return AAX_SUCCESS;
        });
    const int32_t on = 1;
    EXPECT_EQ(AAX_SUCCESS,
              Host().NotificationReceived(AAX_eNotificationEvent_ASPreviewState, &on, sizeof on));
    mInstance->DeliverAutomation();
    EXPECT_TRUE(Model().BoolValue(cPreviewParameterID));
    // Too short a payload, or none, is ignored.
    EXPECT_EQ(AAX_SUCCESS, Host().NotificationReceived(AAX_eNotificationEvent_ASPreviewState, nullptr, 4));
    EXPECT_EQ(AAX_SUCCESS, Host().NotificationReceived(AAX_eNotificationEvent_ASPreviewState, &on, 2));
}

TEST_F(EffectParameters, UninitializeGivesBackEveryHostReferenceAndLeavesNothingDangling)
{
    Make();
    ASSERT_EQ(AAX_SUCCESS, mInstance->Uninitialize());
    EXPECT_EQ(AAX_SUCCESS, mInstance->Uninitialize());
    int32_t count = -1;
    EXPECT_EQ(AAX_SUCCESS, Host().GetNumberOfParameters(&count));
    EXPECT_EQ(0, count);
    // The wrappers are gone; nothing may reach them now.
    EXPECT_EQ(AAX_SUCCESS, Host().GenerateCoefficients());
    Model().Parameters().AddParameter(NewLevelParameter("late"));
    EXPECT_EQ(AAX_SUCCESS, Host().SetParameterNormalizedValue("late", 0.5));
    EXPECT_EQ(0.5f, Model().FloatValue("late"));
    mInstance.reset();
    EXPECT_EQ(0, mHost.OutstandingReferences()) << mHost.ReferenceReport();
    EXPECT_EQ(0, mHost.OverReleases());
}

TEST_F(EffectParameters, NullOutputsAreRefusedWithoutACrash)
{
    Make();
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetNumberOfParameters(nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetParameterNormalizedValue("0", nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetChunkSize(cDefaultChunkID, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetChunk(cDefaultChunkID, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().SetChunk(cDefaultChunkID, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().CompareActiveChunk(nullptr, nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetParameterName("0", nullptr));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, Host().GetParameterIDFromIndex(0, nullptr));
    EXPECT_EQ(AAX_SUCCESS, Host().ResetFieldData(0, nullptr, 16));
    uint8_t field[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(AAX_SUCCESS, Host().ResetFieldData(0, field, sizeof field));
    EXPECT_EQ(Bytes(8, 0), Bytes(field, field + 8));
}

TEST_F(EffectParameters, ReleaseWithoutUninitializeUnregistersFromALiveDelegate)
{
    Make();
    testhost::HostAutomationDelegate* delegate = mInstance->Controller()->AutomationDelegate();
    ASSERT_EQ(3u, delegate->Registered().size());
    // The host lets go without uninitialising: the parameters must leave before the wrappers.
    mInstance->Release();
    EXPECT_TRUE(delegate->Registered().empty());
    mInstance.reset();
    EXPECT_EQ(0, mHost.OutstandingReferences()) << mHost.ReferenceReport();
}

TEST_F(EffectParameters, FailureInsideAHostCallNeverUnwindsIntoTheHost)
{
    TestDataModel::SetNextSetup([](TestDataModel&) -> AAX_Result
                                { throw std::runtime_error("effect failed"); });
    DataModelInstance instance(mHost, &TestDataModel::Create);
    EXPECT_EQ(ACF_E_UNEXPECTED, instance.InitializeResult());

    TestDataModel::SetNextSetup([](TestDataModel&) { return AAX_ERROR_NOT_INITIALIZED; });
    DataModelInstance refused(mHost, &TestDataModel::Create);
    EXPECT_EQ(AAX_ERROR_NOT_INITIALIZED, refused.InitializeResult());
}
