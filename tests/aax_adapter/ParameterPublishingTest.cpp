// The effect's parameters as the host sees them through the module: which are published and how,
// their names, steps, types and value texts, identifiers that name nothing, and automation in both
// directions between host and effect.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/ControlsChunk.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace testhost;

namespace
{

constexpr const char* kBypass = "MasterBypassID";
// Where the test effect's own chunk keeps program 0's values (after its magic and program number).
constexpr size_t kTestEffectChunkValuesOffset = 8;

// Four parameters: a switch, a plain value, a parameter whose text never changes and whose name
// hides it from automation, and one with a name too long for the host.
TestEffectConfig fourParameters()
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = 4;
    config.display[0] = kTestDisplaySwitch;
    config.display[1] = kTestDisplayValue;
    config.display[2] = kTestDisplayFixed;
    config.display[3] = kTestDisplayValue;
    std::strcpy(config.names[0], "Power");
    std::strcpy(config.names[1], "Mix");
    std::strcpy(config.names[2], "-hidden");
    std::strcpy(config.names[3], "A very long parameter name that is cut");
    std::strcpy(config.label, " ms");
    return config;
}

std::string currentText(const DataModelInstance& dataModel, const char* id)
{
    HostString text;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString(id, &text, 32)) << id;
    return text.Text();
}

double defaultOf(const DataModelInstance& dataModel, const char* id)
{
    double value = -1.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue(id, &value)) << id;
    return value;
}

std::string nameOf(const DataModelInstance& dataModel, const char* id)
{
    HostString name;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterName(id, &name)) << id;
    return name.Text();
}

std::string nameOfLength(const DataModelInstance& dataModel, const char* id, int32_t length)
{
    HostString name;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNameOfLength(id, &name, length)) << id;
    return name.Text();
}

std::string textFor(const DataModelInstance& dataModel, const char* id, double value, int32_t maxLength = 32)
{
    HostString text;
    dataModel->GetParameterStringFromValue(id, value, &text, maxLength);
    return text.Text();
}

int32_t stepsOf(const DataModelInstance& dataModel, const char* id)
{
    int32_t steps = -1;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNumberOfSteps(id, &steps)) << id;
    return steps;
}

int32_t typeOf(const DataModelInstance& dataModel, const char* id)
{
    int32_t type = -1;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterType(id, &type)) << id;
    return type;
}

bool automatable(const DataModelInstance& dataModel, const char* id)
{
    AAX_CBoolean result = 2;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterIsAutomatable(id, &result)) << id;
    return result == 1;
}

// The effect's display-update request starts the processor's delayed refresh, after which host
// writes reach the effect. The refresh ends by reading the effect's program, once host writes are
// accepted again.
bool runFirstRefresh(const ModuleBundle& bundle)
{
    const int before = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    bundle.callHostFromEffect(audioMasterUpdateDisplay);
    return waitFor([&]
                   { return findEffectCall(bundle.log(), kTestCallDispatcher, effGetProgram, before) >= 0; });
}

// An initialised instance of the test effect whose first refresh has run and whose reported values
// the host has accepted: host writes reach the effect from here on, and no request is pending.
struct RefreshedInstance
{
    explicit RefreshedInstance(const TestEffectConfig& config = testEffectDefaults())
        : session(testEffectPath(), config), dataModel(session.host(), session.dataModelFactory())
    {
    }

    bool ready()
    {
        if (dataModel.InitializeResult() != AAX_SUCCESS || !runFirstRefresh(session.bundle()))
            return false;
        dataModel.DeliverAutomation();
        return true;
    }

    // A host write whose automation request the host accepts at once.
    AAX_Result hostSets(const char* id, double value)
    {
        const AAX_Result result = dataModel->SetParameterNormalizedValue(id, value);
        dataModel.DeliverAutomation();
        return result;
    }

    PlugInSession session;
    DataModelInstance dataModel;
};

// The effect's setParameter calls for one parameter since a log position.
std::vector<float> effectWrites(const TestEffectLog& log, int32_t index, int from)
{
    std::vector<float> values;
    for (int i = from; i < std::min(log.count, kTestEffectLogCapacity); ++i)
        if (log.calls[i].kind == kTestCallSetParameter && log.calls[i].opcode == index)
            values.push_back(log.calls[i].opt);
    return values;
}

} // namespace

TEST(ParameterPublishing, WithoutAnEffectOnlyTheMasterBypassIsPublished)
{
    OpenedPlugIn opened("");
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    EXPECT_EQ(std::vector<std::string>{kBypass}, dataModel.ParameterIds());
    HostString bypassId;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetMasterBypassParameter(&bypassId));
    EXPECT_EQ(kBypass, bypassId.Text());
    // Any other identifier names nothing.
    EXPECT_EQ("", nameOf(dataModel, "0"));
    double value = 0.5;
    EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->GetParameterNormalizedValue("0", &value));
    EXPECT_EQ(0.5, value);
}

TEST(ParameterPublishing, SwitchesAreTwoStateAndEveryOtherParameterIsContinuous)
{
    OpenedPlugIn opened(testEffectPath(), fourParameters());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    EXPECT_EQ((std::vector<std::string>{kBypass, "0", "1", "2", "3"}), dataModel.ParameterIds());

    EXPECT_EQ(2, stepsOf(dataModel, kBypass));
    EXPECT_EQ(2, stepsOf(dataModel, "0"));
    EXPECT_EQ(100, stepsOf(dataModel, "1"));
    // A text that never changes is one step, which still makes a continuous parameter.
    EXPECT_EQ(100, stepsOf(dataModel, "2"));
    EXPECT_EQ(0, typeOf(dataModel, kBypass));
    EXPECT_EQ(0, typeOf(dataModel, "0"));
    EXPECT_EQ(1, typeOf(dataModel, "1"));
    EXPECT_EQ(1, typeOf(dataModel, "2"));

    EXPECT_TRUE(automatable(dataModel, kBypass));
    EXPECT_TRUE(automatable(dataModel, "0"));
    EXPECT_TRUE(automatable(dataModel, "1"));
    EXPECT_FALSE(automatable(dataModel, "2"));

    // The switch shows the effect's texts at 0.00 and 0.99; its taper turns on above one half.
    EXPECT_EQ("Off", textFor(dataModel, "0", 0.0));
    EXPECT_EQ("Off", textFor(dataModel, "0", 0.5));
    EXPECT_EQ("On", textFor(dataModel, "0", 0.51));
    EXPECT_EQ("On", textFor(dataModel, "0", 1.0));
    EXPECT_EQ("Fixed ms", textFor(dataModel, "2", 0.3));

    // Every parameter's default is where the effect started (0.25, which leaves the switch off);
    // the bypass is off.
    double value = -1.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue("1", &value));
    EXPECT_EQ(0.25, value);
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue("0", &value));
    EXPECT_EQ(0.0, value);
    value = 0.77;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue(kBypass, &value));
    EXPECT_EQ(0.0, value);
    HostString bypassText;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString(kBypass, &bypassText, 32));
    EXPECT_EQ("bypass", bypassText.Text());
}

TEST(ParameterPublishing, NamesComeFromTheProcessorWithTheirShortenedForms)
{
    OpenedPlugIn opened(testEffectPath(), fourParameters());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();

    EXPECT_EQ("Master Bypass", nameOf(dataModel, kBypass));
    const std::pair<int32_t, const char*> bypassNames[] = {
        {13, "Master Bypass"}, {12, "Mast Byp"}, {8, "Mast Byp"}, {7, "MstByp"}, {6, "MstByp"}, {5, "MByp"}};
    for (const auto& [length, expected] : bypassNames)
        EXPECT_EQ(expected, nameOfLength(dataModel, kBypass, length)) << length;

    EXPECT_EQ("0: Power", nameOf(dataModel, "0"));
    EXPECT_EQ("1: Mix", nameOf(dataModel, "1"));
    EXPECT_EQ("3: A very long parameter name t", nameOf(dataModel, "3"));
    EXPECT_EQ("1: Mix", nameOfLength(dataModel, "1", 31));
    EXPECT_EQ("1: M", nameOfLength(dataModel, "1", 4));
    // The host's own limit below the shortened name cuts the processor's name.
    EXPECT_EQ("3:", nameOfLength(dataModel, "3", 2));
}

TEST(ParameterPublishing, ValueTextsAreTheEffectsOwnTextsWithItsUnit)
{
    OpenedPlugIn opened(testEffectPath(), fourParameters());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();

    EXPECT_EQ("1.00 ms", textFor(dataModel, "1", 1.0));
    EXPECT_EQ("0.99 ms", textFor(dataModel, "1", 0.999));
    EXPECT_EQ("0.00 ms", textFor(dataModel, "1", -0.005));
    EXPECT_EQ("0.50 ms", textFor(dataModel, "1", 0.5));
    // Values beyond the range show the texts of its ends.
    EXPECT_EQ("1.00 ms", textFor(dataModel, "1", 1.5));
    EXPECT_EQ("0.00 ms", textFor(dataModel, "1", -3.0));
    // The unit is left out when it does not fit whole.
    EXPECT_EQ("0.50", textFor(dataModel, "1", 0.5, 6));
    EXPECT_EQ("0.50 ms", textFor(dataModel, "1", 0.5, 7));

    // The effect's texts cannot be read back: any text means 0.
    double value = 0.5;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueFromString("1", &value, HostString("0.75 ms")));
    EXPECT_EQ(0.0, value);
    // The current value's text is the effect's text at the effect's value (0.25).
    HostString current;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString("1", &current, 32));
    EXPECT_EQ("0.25 ms", current.Text()); // the published parameter starts where the effect is
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("1", &value));
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(value));
}

TEST(ParameterPublishing, ParametersStartWhereTheEffectIsWithOddValuesLimited)
{
    // Three values and a switch, saved with the effect's own chunk so that another instance can be
    // put at values no host would set before its parameters are published.
    TestEffectConfig config = testEffectDefaults();
    config.numParams = 4;
    config.chunkMode = kTestChunkNormal;
    config.display[3] = kTestDisplaySwitch;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    SavedChunk state;
    {
        DataModelInstance source(session.host(), session.dataModelFactory());
        ASSERT_EQ(AAX_SUCCESS, source.InitializeResult());
        ASSERT_EQ(AAX_SUCCESS, source.GetChunk(kAllChunk, &state));
    }
    const float values[] = {0.25f, std::numeric_limits<float>::quiet_NaN(), 1.7f, 0.75f};
    ASSERT_GE(state.data.size(), kTestEffectChunkValuesOffset + sizeof values);
    std::memcpy(state.data.data() + kTestEffectChunkValuesOffset, values, sizeof values);

    DataModelInstance dataModel(session.host(), session.dataModelFactory(), false);
    ASSERT_TRUE(dataModel.IsValid());
    ASSERT_EQ(AAX_SUCCESS, dataModel.SetChunk(state));
    ASSERT_EQ(AAX_SUCCESS, dataModel.Initialize());
    double effectValue = 0.0;
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("2", &effectValue));
    ASSERT_FLOAT_EQ(1.7f, static_cast<float>(effectValue)) << "the effect did not take the state";

    // Defaults, the texts the host shows and the saved controls all follow the effect: NaN starts
    // at 0, a value past the end at the end, and the switch at 0.75 is on.
    EXPECT_EQ(0.25, defaultOf(dataModel, "0"));
    EXPECT_EQ(0.0, defaultOf(dataModel, "1"));
    EXPECT_EQ(1.0, defaultOf(dataModel, "2"));
    EXPECT_EQ(1.0, defaultOf(dataModel, "3"));
    EXPECT_EQ("0.25u", currentText(dataModel, "0"));
    EXPECT_EQ("0.00u", currentText(dataModel, "1"));
    EXPECT_EQ("1.00u", currentText(dataModel, "2"));
    EXPECT_EQ("On", currentText(dataModel, "3"));

    SavedChunk controlsState;
    ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(kControlsChunk, &controlsState));
    const ControlsChunk controls(controlsState);
    EXPECT_TRUE(controls.readWhole());
    const std::pair<const char*, double> saved[] = {{"0", 0.25}, {"1", 0.0}, {"2", 1.0}};
    for (const auto& [id, expected] : saved)
    {
        double value = -1.0;
        EXPECT_TRUE(controls.doubleValue(id, &value)) << id;
        EXPECT_EQ(expected, value) << id;
    }
    int32_t switchValue = -1;
    EXPECT_TRUE(controls.int32Value("3", &switchValue));
    EXPECT_EQ(1, switchValue);
}

TEST(ParameterPublishing, ResettingToTheDefaultPutsTheEffectBackWhereItStarted)
{
    RefreshedInstance instance(fourParameters());
    ASSERT_TRUE(instance.ready());
    const DataModelInstance& dataModel = instance.dataModel;

    ASSERT_EQ(AAX_SUCCESS, instance.hostSets("1", 0.9));
    const TestEffectLog& log = instance.session.bundle().log();
    const int before = log.count;
    // What a host does for "reset to default": ask for the default, then set it.
    ASSERT_EQ(AAX_SUCCESS, instance.hostSets("1", defaultOf(dataModel, "1")));
    const std::vector<float> writes = effectWrites(log, 1, before);
    EXPECT_FALSE(writes.empty());
    for (float written : writes)
        EXPECT_EQ(0.25f, written);
    EXPECT_EQ("0.25 ms", currentText(dataModel, "1"));
}

TEST(ParameterPublishing, IdentifiersThatNameNoPublishedParameterNeverReachTheEffect)
{
    RefreshedInstance instance;
    ASSERT_TRUE(instance.ready());
    const DataModelInstance& dataModel = instance.dataModel;
    const TestEffectLog& log = instance.session.bundle().log();
    const int before = log.count;

    for (const char* id : {"3", "-1", "4294967296", "99999999999999999999"})
    {
        double value = 0.5;
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->GetParameterNormalizedValue(id, &value)) << id;
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->GetParameterDefaultNormalizedValue(id, &value))
            << id;
        EXPECT_EQ(0.5, value) << id;
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->SetParameterNormalizedValue(id, 0.7)) << id;
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->SetParameterNormalizedRelative(id, 0.1)) << id;
        EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->UpdateParameterNormalizedValue(id, 0.7, 0))
            << id;
        EXPECT_EQ("", nameOf(dataModel, id)) << id;
        EXPECT_EQ("", nameOfLength(dataModel, id, 8)) << id;
    }
    double value = 0.5;
    EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, dataModel->GetParameterNormalizedValue(nullptr, &value));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, dataModel->GetParameterName("1", nullptr));

    for (int i = before; i < std::min(log.count, kTestEffectLogCapacity); ++i)
        EXPECT_NE(kTestCallSetParameter, log.calls[i].kind) << "parameter " << log.calls[i].opcode;
}

TEST(ParameterAutomation, AHostWriteReachesTheEffectAsSoonAsTheParametersArePublished)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const TestEffectLog& log = opened.log();

    // The effect has not asked for a display update (some effects ask only while processing, some
    // never): the host's write must reach it all the same, or the effect and the host disagree.
    int before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("1", 0.7, 0));
    EXPECT_EQ(std::vector<float>{0.7f}, effectWrites(log, 1, before));
    double value = 0.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("1", &value));
    EXPECT_FLOAT_EQ(0.7f, static_cast<float>(value));
    HostString text;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString("1", &text, 32));
    EXPECT_EQ("0.70u", text.Text());
    dataModel.DeliverAutomation();

    ASSERT_TRUE(runFirstRefresh(opened.session.bundle()));
    // The refresh reports nothing: the host has seen every value, the one it wrote among them.
    EXPECT_TRUE(dataModel.Controller()->AutomationDelegate()->PendingSetValueRequests().empty());

    before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("1", 0.7, 0));
    EXPECT_EQ(std::vector<float>{0.7f}, effectWrites(log, 1, before));
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("1", &value));
    EXPECT_FLOAT_EQ(0.7f, static_cast<float>(value));

    // Host values outside 0 .. 1 reach the effect at the nearest end.
    before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedValue("2", 7.0));
    EXPECT_EQ(std::vector<float>{1.0f}, effectWrites(log, 2, before));
}

TEST(ParameterAutomation, ASwitchWriteReachesTheEffectOnlyWhenItTurnsTheSwitch)
{
    OpenedPlugIn opened(testEffectPath(), fourParameters());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const TestEffectLog& log = opened.log();

    // The effect holds 0.25 for its switch: off. The host's "off" (which is also what comes back
    // from the host after the module reports the effect's value) keeps the effect's own value.
    int before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedValue("0", 0.0));
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("0", 0.0, 0));
    EXPECT_TRUE(effectWrites(log, 0, before).empty());
    double value = 0.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue("0", &value));
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(value));

    before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("0", 1.0, 0));
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("0", 1.0, 0));
    EXPECT_EQ(std::vector<float>{1.0f}, effectWrites(log, 0, before)) << "turned on once";
    before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedRelative("0", -1.0));
    EXPECT_EQ(std::vector<float>{0.0f}, effectWrites(log, 0, before)) << "turned off";
}

TEST(ParameterAutomation, ARelativeChangeAddsToTheEffectsValueAndIsLimited)
{
    RefreshedInstance instance;
    ASSERT_TRUE(instance.ready());
    const DataModelInstance& dataModel = instance.dataModel;
    ASSERT_EQ(AAX_SUCCESS, instance.hostSets("1", 0.9));

    const TestEffectLog& log = instance.session.bundle().log();
    const int before = log.count;
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedRelative("1", 0.3));
    EXPECT_EQ(std::vector<float>{1.0f}, effectWrites(log, 1, before));
    // The published parameter was handed 1.2, which its taper keeps at the top of the range.
    const auto requests = dataModel.Controller()->AutomationDelegate()->PendingSetValueRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("1", requests[0].first);
    EXPECT_EQ(1.0, requests[0].second);
}

TEST(ParameterAutomation, AGestureInTheEffectsEditorReachesTheHostAsTouchRequestAndRelease)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    CallLog& hostLog = session.host().Log();
    hostLog.Clear();

    session.bundle().callHostFromEffect(audioMasterAutomate, 1, 0, nullptr, 0.6f);

    std::vector<std::string> calls;
    for (const Call& call : hostLog.Calls())
        if (call.interface == "AutomationDelegate")
            calls.push_back(call.operation + "(" + call.args.at(0) + ")");
    EXPECT_EQ(
        (std::vector<std::string>{"PostTouchRequest(1)", "PostSetValueRequest(1)", "PostReleaseRequest(1)"}),
        calls);
    const auto requests = dataModel.Controller()->AutomationDelegate()->PendingSetValueRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_FLOAT_EQ(0.6f, static_cast<float>(requests[0].second));

    // The host accepts the request: the published value follows and the host is told so.
    EXPECT_EQ(1, dataModel.DeliverAutomation());
    HostString text;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString("1", &text, 32));
    EXPECT_EQ("0.60u", text.Text());
    EXPECT_EQ(1u, hostLog.Count("AutomationDelegate", "PostCurrentValue"));
}

TEST(ParameterAutomation, TheHostsAnswersToChangesTheEffectReportedAreNotSentBackToIt)
{
    // The effect keeps its first two parameters as one setting in two forms: a write to either
    // moves the other, a last bit off, and reports it. The host answers each report with its value;
    // sent back, an answer would move the first again, whose report would move the second, without
    // end. The host here writes three times (its automation playing) and answers the reports late,
    // after the three, so two of its answers are older than what the effect holds by then.
    TestEffectConfig config = testEffectDefaults();
    config.linksFirstTwoParameters = 1;
    RefreshedInstance instance(config);
    ASSERT_TRUE(instance.ready());
    const TestEffectLog& log = instance.session.bundle().log();
    HostAutomationDelegate* delegate = instance.dataModel.Controller()->AutomationDelegate();
    const auto reportsOfTheSecond = [&]
    {
        size_t reports = 0;
        for (const auto& request : delegate->PendingSetValueRequests())
            reports += request.first == "1" ? 1 : 0;
        return reports;
    };

    const int before = log.count;
    const std::vector<float> written = {0.3f, 0.8f, 0.55f};
    for (size_t i = 0; i < written.size(); ++i)
    {
        ASSERT_EQ(AAX_SUCCESS, instance.dataModel->UpdateParameterNormalizedValue("0", written[i], 0));
        ASSERT_TRUE(waitFor([&] { return reportsOfTheSecond() == i + 1; }));
    }
    EXPECT_GE(instance.dataModel.DeliverAutomation(), 3);

    EXPECT_EQ(written, effectWrites(log, 0, before));
    EXPECT_TRUE(effectWrites(log, 1, before).empty());
    EXPECT_EQ(0u, reportsOfTheSecond());
    // The host shows the second form as the effect holds it, from the last write.
    double shown = 0.0;
    EXPECT_EQ(AAX_SUCCESS, instance.dataModel->GetParameterNormalizedValue("1", &shown));
    EXPECT_NEAR(1.0 - written.back(), shown, 1.0e-6);
}
