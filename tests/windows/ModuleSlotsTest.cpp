// The built Windows module, installed under C:\...\Plug-Ins\ in the Wine prefix, driven as a host
// built by Microsoft's compiler drives it: every operation of the data-model and GUI interfaces is
// called by its position in the object's table, and the strings the host hands over are laid out by
// hand the way Microsoft's compiler lays out AAX_IString (seven slots, the deleting destructor
// first), so no layout of this compiler is involved on the host's side.

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/host/AAX_IACFEffectGUI.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "host_kit/DataModelInstance.h"
#include "tests/windows/InstalledModule.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostString.h"
#include "host_kit/MessagePump.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// Calls the function at `position` of the object's table as Microsoft's x64 ABI calls a member.
template <class R = AAX_Result, class... A> R Slot(const void* object, size_t position, A... args)
{
    using Function = R (*)(const void*, A...);
    const void* const* table = *static_cast<const void* const* const*>(object);
    return reinterpret_cast<Function>(table[position])(object, args...);
}

// A host's string as Microsoft's compiler lays it out, built by hand: a pointer to a table of seven
// functions, the deleting destructor first, then the object's own data.
struct ForeignString
{
    const void* const* table;
    std::string text;
    int destructions = 0;

    explicit ForeignString(const char* initial = "");
};

void* ForeignDestroy(ForeignString* self, uint32_t)
{
    ++self->destructions;
    return self;
}
uint32_t ForeignLength(const ForeignString* self)
{
    return static_cast<uint32_t>(self->text.size());
}
uint32_t ForeignMaxLength(const ForeignString*)
{
    return 0xFFFFFFFEu;
}
const char* ForeignGet(const ForeignString* self)
{
    return self->text.c_str();
}
void ForeignSet(ForeignString* self, const char* text)
{
    self->text = text != nullptr ? text : "";
}
ForeignString* ForeignAssignText(ForeignString* self, const char* text)
{
    ForeignSet(self, text);
    return self;
}
// The other string may be the module's: read it through its own table's Get slot.
ForeignString* ForeignAssignString(ForeignString* self, const void* other)
{
    ForeignSet(self, Slot<const char*>(other, 3));
    return self;
}

const void* const kForeignStringTable[] = {
    reinterpret_cast<const void*>(&ForeignDestroy),     reinterpret_cast<const void*>(&ForeignLength),
    reinterpret_cast<const void*>(&ForeignMaxLength),   reinterpret_cast<const void*>(&ForeignGet),
    reinterpret_cast<const void*>(&ForeignSet),         reinterpret_cast<const void*>(&ForeignAssignText),
    reinterpret_cast<const void*>(&ForeignAssignString)};

ForeignString::ForeignString(const char* initial) : table(kForeignStringTable), text(initial) {}

constexpr AAX_CTypeID kControlsChunk = 0x656C636Bu; // 'elck'

class ModuleSlots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loader.Load(kInstalledModule)) << loader.Error();
        scan = testhost::Scan(loader, host);
        ASSERT_TRUE(scan.Succeeded());
        ASSERT_EQ(1u, scan.description.effects.size());
    }
    void TearDown() override
    {
        if (loader.IsLoaded())
        {
            testhost::Shutdown(loader, host);
            loader.Unload();
        }
    }
    AAX_CCreateProc factory(AAX_CProcPtrID id) const { return scan.description.effects[0].CreateProc(id); }

    testhost::TestHost host;
    testhost::ModuleLoader loader;
    testhost::ScanResult scan;
};

} // namespace

TEST_F(ModuleSlots, TheDataModelAnswersEveryPositionWithHandLaidStrings)
{
    testhost::DataModelInstance instance(host, factory(kAAX_ProcPtrID_Create_EffectParameters));
    ASSERT_TRUE(instance.IsValid());
    ASSERT_EQ(AAX_SUCCESS, instance.InitializeResult());
    const void* model = instance.Get();
    // As a host does: let the new instance report its starting values before changing any.
    for (int round = 0; round < 8; ++round)
    {
        testhost::WaitServingMessages(std::chrono::milliseconds(50));
        instance.DeliverAutomation();
    }

    // 0 to 2: the component model's own operations.
    void* queried = nullptr;
    EXPECT_EQ(ACF_OK, Slot<ACFRESULT>(model, 0, &IID_IAAXEffectParametersV2, &queried));
    EXPECT_EQ(model, queried);
    EXPECT_EQ(3u, Slot<uint32_t>(model, 1)); // the host's, the query's and this one
    EXPECT_EQ(2u, Slot<uint32_t>(model, 2));
    EXPECT_EQ(1u, Slot<uint32_t>(model, 2));

    EXPECT_EQ(AAX_SUCCESS, Slot(model, 5, uint32_t{0}, static_cast<const void*>(nullptr), uint32_t{0}));
    int32_t count = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 6, &count));
    EXPECT_EQ(7, count);
    ForeignString text;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 7, &text));
    EXPECT_EQ("MasterBypassID", text.text);
    AAX_CBoolean flag = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 8, "0", &flag));
    EXPECT_EQ(1, flag);
    int32_t value = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 9, "3", &value));
    EXPECT_EQ(2, value);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 10, "0", &text));
    EXPECT_EQ("0: Time", text.text);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 11, "1", &text, int32_t{4}));
    EXPECT_EQ("1: F", text.text);
    double number = 0.0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 12, "0", &number));
    EXPECT_DOUBLE_EQ(0.125, number);
    EXPECT_EQ(instance->SetParameterDefaultNormalizedValue("0", 0.125), Slot(model, 13, "0", 0.125));
    int32_t declared = -1;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 14, "3", &value));
    EXPECT_EQ(AAX_SUCCESS, instance->GetParameterType("3", &declared));
    EXPECT_EQ(declared, value);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 15, "3", &value));
    EXPECT_EQ(AAX_SUCCESS, instance->GetParameterOrientation("3", &declared));
    EXPECT_EQ(declared, value);
    AAX_IParameter* parameter = nullptr;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 16, "2", &parameter));
    EXPECT_NE(nullptr, parameter);
    int32_t index = -1;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 17, "2", &index));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 18, index, &text));
    EXPECT_EQ("2", text.text);
    EXPECT_EQ(instance->GetParameterValueInfo("2", 0, &declared), Slot(model, 19, "2", int32_t{0}, &value));

    // A text the host hands in is read through Get at slot 3 of the hand-laid table.
    const ForeignString percent("50%");
    double declaredNumber = -1.0;
    EXPECT_EQ(instance->GetParameterValueFromString("2", &declaredNumber, testhost::HostString("50%")),
              Slot(model, 20, "2", &number, &percent));
    EXPECT_EQ(declaredNumber, number);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 21, "2", 0.5, &text, int32_t{32}));
    EXPECT_EQ("50%", text.text);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 22, "0", &text, int32_t{32}));
    EXPECT_EQ("240ms", text.text);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 23, "1", &number));
    EXPECT_DOUBLE_EQ(0.5, number);

    // Host-side changes go out as automation requests and come back as updates.
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 24, "1", 0.25));
    instance.DeliverAutomation();
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 23, "1", &number));
    EXPECT_DOUBLE_EQ(0.25, number);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 25, "1", 0.25));
    instance.DeliverAutomation();
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 23, "1", &number));
    EXPECT_DOUBLE_EQ(0.5, number);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 26, "1"));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 27, "1"));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 28, "1", AAX_CBoolean{1}));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 29, "2", 0.75, int32_t{0}));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 23, "2", &number));
    EXPECT_DOUBLE_EQ(0.75, number);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 30, "2", -0.25));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 31));

    std::vector<unsigned char> field(8, 0xAB);
    EXPECT_EQ(instance->ResetFieldData(5, field.data(), 8),
              Slot(model, 32, int32_t{5}, static_cast<void*>(field.data()), uint32_t{8}));

    EXPECT_EQ(AAX_SUCCESS, Slot(model, 33, &count));
    EXPECT_EQ(2, count);
    AAX_CTypeID chunkId = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 34, int32_t{0}, &chunkId));
    EXPECT_EQ(kControlsChunk, chunkId);
    uint32_t size = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 35, chunkId, &size));
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> storage(AAX_SPlugInChunkHeaderSize + size);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(storage.data());
    chunk->fSize = static_cast<int32_t>(size);
    chunk->fChunkID = chunkId;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 36, chunkId, chunk));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 37, chunkId, static_cast<const AAX_SPlugInChunk*>(chunk)));
    flag = 0;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 38, static_cast<const AAX_SPlugInChunk*>(chunk), &flag));
    EXPECT_EQ(1, flag);
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 39, &count));

    // 40 to 47, the second version's: each answers what the declared call answers.
    EXPECT_EQ(instance->TimerWakeup(), Slot(model, 40));
    float curve[2] = {0.0f, 1.0f};
    float curveOut[2] = {};
    EXPECT_EQ(instance->GetCurveData(0, curve, 2, curveOut),
              Slot(model, 41, uint32_t{0}, static_cast<const float*>(curve), uint32_t{2}, curveOut));
    uint32_t written = 0;
    EXPECT_EQ(instance->GetCustomData(0, 8, field.data(), &written),
              Slot(model, 42, uint32_t{0}, uint32_t{8}, static_cast<void*>(field.data()), &written));
    EXPECT_EQ(instance->SetCustomData(0, 8, field.data()),
              Slot(model, 43, uint32_t{0}, uint32_t{8}, static_cast<const void*>(field.data())));
    EXPECT_EQ(instance->DoMIDITransfers(), Slot(model, 44));
    EXPECT_EQ(instance->RenderAudio_Hybrid(nullptr), Slot(model, 45, static_cast<void*>(nullptr)));
    AAX_CMidiPacket packet{};
    EXPECT_EQ(instance->UpdateMIDINodes(4, packet), Slot(model, 46, int32_t{4}, &packet));
    EXPECT_EQ(instance->UpdateControlMIDINodes(0, packet), Slot(model, 47, uint32_t{0}, &packet));

    // The module never destroyed a string it did not own.
    EXPECT_EQ(0, text.destructions);
    EXPECT_EQ(0, percent.destructions);
}

TEST_F(ModuleSlots, TheGuiAnswersEveryPosition)
{
    testhost::DataModelInstance model(host, factory(kAAX_ProcPtrID_Create_EffectParameters));
    ASSERT_TRUE(model.IsValid());
    testhost::GuiInstance instance(host, factory(kAAX_ProcPtrID_Create_EffectGUI), &model);
    ASSERT_TRUE(instance.IsValid());
    ASSERT_EQ(AAX_SUCCESS, instance.InitializeResult());
    const void* gui = instance.Get();

    void* queried = nullptr;
    EXPECT_EQ(ACF_OK, Slot<ACFRESULT>(gui, 0, &IID_IAAXEffectGUIV1, &queried));
    EXPECT_EQ(gui, queried);
    EXPECT_EQ(3u, Slot<uint32_t>(gui, 1));
    EXPECT_EQ(2u, Slot<uint32_t>(gui, 2));
    EXPECT_EQ(1u, Slot<uint32_t>(gui, 2));

    EXPECT_EQ(instance->NotificationReceived(0, nullptr, 0),
              Slot(gui, 5, uint32_t{0}, static_cast<const void*>(nullptr), uint32_t{0}));
    EXPECT_EQ(AAX_SUCCESS, Slot(gui, 6, static_cast<IACFUnknown*>(nullptr)));
    AAX_Point size{-1.0f, -1.0f};
    AAX_Point declaredSize{-1.0f, -1.0f};
    EXPECT_EQ(instance->GetViewSize(&declaredSize), Slot(gui, 7, &size));
    EXPECT_EQ(declaredSize.vert, size.vert);
    EXPECT_EQ(declaredSize.horz, size.horz);
    AAX_Rect area{0.0f, 0.0f, 10.0f, 10.0f};
    EXPECT_EQ(instance->Draw(&area), Slot(gui, 8, &area));
    EXPECT_EQ(AAX_SUCCESS, Slot(gui, 9));
    EXPECT_EQ(AAX_SUCCESS, Slot(gui, 10, "0"));
    ForeignString label("unchanged");
    testhost::HostString declaredLabel("unchanged");
    EXPECT_EQ(instance->GetCustomLabel(0, &declaredLabel), Slot(gui, 11, int32_t{0}, &label));
    EXPECT_EQ(declaredLabel.Text(), label.text);
    EXPECT_EQ(instance->SetControlHighlightInfo("0", 1, 0), Slot(gui, 12, "0", AAX_CBoolean{1}, int32_t{0}));
    EXPECT_EQ(0, label.destructions);
}

// The framework inside the module registers its window classes and makes its hidden message
// window under the instance handle the module entry kept, not under the host program's.
TEST_F(ModuleSlots, TheModulesFrameworkMakesItsWindowsUnderTheModulesOwnHandle)
{
    testhost::DataModelInstance model(host, factory(kAAX_ProcPtrID_Create_EffectParameters));
    ASSERT_TRUE(model.IsValid());
    HMODULE module = nullptr;
    ASSERT_NE(FALSE, GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<LPCSTR>(loader.Symbol("ACFStartup")), &module));
    struct Count
    {
        HINSTANCE owner;
        int module = 0;
        int program = 0;
    } count{module};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL
        {
            auto* windows = reinterpret_cast<Count*>(context);
            const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
            if (instance == windows->owner)
                ++windows->module;
            else if (instance == GetModuleHandleA(nullptr))
                ++windows->program;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    EXPECT_GE(count.module, 1);
    EXPECT_EQ(0, count.program);
}

// On Windows the module's framework runs on the host's main thread, where the processor's refresh
// timer fires only while the host serves its messages. A restored state does not wait for it: the
// published parameters show the restored values at once, and the refresh the delay asks for after
// the restore finds nothing the host has not seen.
TEST_F(ModuleSlots, ARestoredStateIsShownAtOnceAndTheRefreshWhileTheHostServesMessagesAddsNothing)
{
    constexpr AAX_CTypeID kEffectChunk = 0x416C6C20u; // 'All '
    testhost::SavedChunk state;
    {
        testhost::DataModelInstance source(host, factory(kAAX_ProcPtrID_Create_EffectParameters));
        ASSERT_TRUE(source.IsValid());
        ASSERT_EQ(AAX_SUCCESS, source->UpdateParameterNormalizedValue("1", 0.25, 0));
        ASSERT_EQ(AAX_SUCCESS, source.GetChunk(kEffectChunk, &state));
    }
    testhost::DataModelInstance target(host, factory(kAAX_ProcPtrID_Create_EffectParameters));
    ASSERT_TRUE(target.IsValid());
    target.DeliverAutomation();
    ASSERT_EQ(AAX_SUCCESS, target.SetChunk(state));
    const void* model = target.Get();
    ForeignString shown;
    ForeignString restored;
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 22, "1", &shown, int32_t{32}));
    EXPECT_EQ(AAX_SUCCESS, Slot(model, 21, "1", 0.25, &restored, int32_t{32}));
    EXPECT_EQ(restored.text, shown.text);
    // Watched for a second while the host serves its messages: nothing to wait for, since what is
    // checked is that no request comes.
    int reports = 0;
    for (int round = 0; round < 50; ++round)
    {
        testhost::WaitServingMessages(std::chrono::milliseconds(20));
        reports += target.DeliverAutomation();
    }
    EXPECT_EQ(0, reports) << "a refresh reported restored values the host had already been shown";
    double feedback = 0.0;
    ASSERT_EQ(AAX_SUCCESS, target->GetParameterNormalizedValue("1", &feedback));
    EXPECT_DOUBLE_EQ(0.25, feedback);
}
