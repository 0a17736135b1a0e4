#include "tools/host/validate/FuzzPlayer.h"

#include "aax_library/AAX_Identifiers.h"
#include "host_kit/HostString.h"
#include "host_kit/HostViewContainer.h"
#include "host_kit/MessagePump.h"
#include "tools/host/session/ChannelLayout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace ombrelhost
{

namespace
{

constexpr int32_t kSettleBlock = 256;
constexpr int kSettleBlocks = 4;
constexpr int32_t kTextLength = 32;
constexpr int kFallbackEditorSize = 400;
constexpr auto kTickPeriod = std::chrono::milliseconds(5);
// A chunk identifier the module never saves.
constexpr AAX_CTypeID kForeignChunkId = 0x41424344; // 'ABCD'
constexpr float kDenormal = 1.0e-40f;

std::string Number(double value)
{
    char text[48];
    std::snprintf(text, sizeof(text), "%.6g", value);
    return text;
}

std::string ChunkName(AAX_CTypeID id)
{
    std::string name = "'";
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char>((id >> shift) & 0xff);
        name += c >= 32 && c < 127 ? c : '?';
    }
    return name + "'";
}

SignalSource SourceOf(FuzzSignal signal, uint64_t seed, double rate)
{
    switch (signal)
    {
    case FuzzSignal::Silence:
        return Silence();
    case FuzzSignal::Noise:
        return Noise(static_cast<uint32_t>(seed));
    case FuzzSignal::Impulse:
        return Impulse();
    case FuzzSignal::FullScaleSine:
        return FullScaleSine(997.0, rate);
    case FuzzSignal::DirectCurrent:
        return [](int, int64_t) { return 1.0f; };
    case FuzzSignal::Denormal:
        return [](int, int64_t sample) { return sample % 2 == 0 ? kDenormal : -kDenormal; };
    }
    return Silence();
}

// Where two chunk lists first differ, or empty when they hold the same bytes.
std::string FirstDifference(const std::vector<testhost::SavedChunk>& first,
                            const std::vector<testhost::SavedChunk>& second)
{
    for (size_t i = 0; i < first.size() && i < second.size(); ++i)
    {
        const std::vector<uint8_t>& a = first[i].data;
        const std::vector<uint8_t>& b = second[i].data;
        if (a == b)
            continue;
        const size_t at = static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
        return "chunk " + ChunkName(first[i].id) + " restored as saved (" + std::to_string(a.size()) +
               " bytes) saves again as " + std::to_string(b.size()) + " bytes, first difference at byte " +
               std::to_string(at);
    }
    return first.size() == second.size() ? std::string() : "a chunk is no longer saved";
}

} // namespace

FuzzPlayer::FuzzPlayer(std::string module) : mModule(std::move(module)) {}

FuzzPlayer::~FuzzPlayer()
{
    UnloadModule();
}

// ---- Descriptions ----

FuzzPlayer::Parameter FuzzPlayer::ParameterOf(const FuzzOperation& operation) const
{
    if (operation.unknownId >= 0)
        return {UnknownParameterIds()[static_cast<size_t>(operation.unknownId)], false};
    if (mInstance == nullptr)
        return {};
    const std::vector<std::string> ids = mInstance->DataModel().ParameterIds();
    if (ids.empty())
        return {};
    return {ids[operation.pick % ids.size()], true};
}

std::string FuzzPlayer::ParameterText(const FuzzOperation& operation) const
{
    const Parameter parameter = ParameterOf(operation);
    if (!parameter.published)
    {
        const std::string shown = parameter.id.size() > 20 ? parameter.id.substr(0, 20) + "..." : parameter.id;
        return "the unpublished parameter `" + shown + "`" +
               (parameter.id.size() > 20 ? " (" + std::to_string(parameter.id.size()) + " characters)" : "");
    }
    testhost::HostString name;
    mInstance->DataModel()->GetParameterName(parameter.id.c_str(), &name);
    return "parameter `" + parameter.id + "` (" + name.Text() + ")";
}

std::string FuzzPlayer::ProcessText(const FuzzOperation& operation) const
{
    std::string lengths;
    for (const int32_t length : operation.blockLengths)
        lengths += (lengths.empty() ? "" : ", ") + std::to_string(length);
    const size_t blocks = operation.blockLengths.size();
    std::string text = "process " + std::to_string(blocks) + (blocks == 1 ? " block of " : " blocks of ") + lengths +
                       " samples of " + FuzzSignalName(operation.signal) + ", transport " +
                       (operation.playing ? "playing" : "stopped") + (operation.looping ? " looping" : "") +
                       " at " + Number(operation.tempo) + " bpm from sample " + std::to_string(operation.position);
    if (operation.bypassOnAt >= 0)
        text += ", bypass on at block " + std::to_string(operation.bypassOnAt + 1);
    if (operation.bypassOffAt >= 0)
        text += ", bypass off at block " + std::to_string(operation.bypassOffAt + 1);
    return text;
}

std::string FuzzPlayer::RestoreText(const FuzzOperation& operation) const
{
    if (mSaves.empty())
        return "restore (nothing saved)";
    const size_t save = operation.pick % mSaves.size();
    const Chunks& chunks = mSaves[save];
    const size_t chunk = operation.secondPick % (chunks.size() + 1);
    std::string text = "restore ";
    text += chunk == chunks.size() ? std::string("every chunk") : "chunk " + ChunkName(chunks[chunk].id);
    text += " of save " + std::to_string(save + 1) + ", " + FuzzDamageName(operation.damage);
    if (operation.damage == FuzzDamage::Truncated)
        text += " to " + Number(100.0 * operation.value) + " %";
    if (operation.damage != FuzzDamage::None && (operation.detail & 0xf) == 0)
        text += ", under a foreign chunk identifier";
    return text;
}

std::string FuzzPlayer::Describe(const FuzzOperation& operation) const
{
    const std::string noInstance = mInstance == nullptr ? " (skipped: no instance)" : "";
    switch (operation.kind)
    {
    case FuzzOperationKind::LoadModule:
        return "load the module";
    case FuzzOperationKind::Create:
    {
        const std::vector<ChannelLayout> layouts =
            mSession != nullptr ? mSession->DescribedLayouts() : std::vector<ChannelLayout>();
        const std::string layout =
            layouts.empty() ? "?" : ChannelLayoutName(layouts[operation.pick % layouts.size()]);
        return "create a " + layout + " instance at " + Number(operation.value) + " Hz and publish its parameters";
    }
    case FuzzOperationKind::WriteParameter:
        return (operation.hostWrite ? "write " : "set (from the plug-in side) ") + ParameterText(operation) +
               " to " + Number(operation.value) + " (" + FuzzValueKindName(operation.valueKind) + ")" + noInstance;
    case FuzzOperationKind::ReadParameter:
    {
        static const char* const reads[] = {"its value", "its text", "the text of another value",
                                            "the value of its text", "its name, steps and default",
                                            "an identifier from an index"};
        return "read " + ParameterText(operation) + ": " + reads[operation.secondPick % 6] + noInstance;
    }
    case FuzzOperationKind::TouchParameter:
    {
        static const char* const touches[] = {"touch", "release", "update the touch of"};
        return std::string(touches[operation.secondPick % 3]) + " " + ParameterText(operation) + noInstance;
    }
    case FuzzOperationKind::MoveParameter:
        return (operation.hostWrite ? "move " : "move (from the plug-in side) ") + ParameterText(operation) +
               " by " + Number(operation.value) + " (" + FuzzValueKindName(operation.valueKind) + ")" + noInstance;
    case FuzzOperationKind::Save:
        return "save every chunk (save " + std::to_string(mSaves.size() + 1) + ")" + noInstance;
    case FuzzOperationKind::Restore:
        return RestoreText(operation) + noInstance;
    case FuzzOperationKind::Process:
        return ProcessText(operation) + noInstance;
    case FuzzOperationKind::ChangeRate:
        return "move to " + Number(operation.value) + " Hz: save, a new instance at that rate, restore" + noInstance;
    case FuzzOperationKind::OpenEditor:
    {
        std::string reason;
        return std::string("open the editor") + (EditorWindow::CanOpen(reason) ? "" : " (skipped: no display)") +
               noInstance;
    }
    case FuzzOperationKind::IdleEditor:
        return "idle " + std::string(mGui != nullptr ? "the editor" : "the instance") + " for " +
               std::to_string(operation.ticks) + " ticks" + noInstance;
    case FuzzOperationKind::CloseEditor:
        return std::string("close the editor") + (mGui == nullptr ? " (skipped: none open)" : "");
    case FuzzOperationKind::ReleaseInstance:
        return std::string("release the instance") + (mGui != nullptr ? " with its editor open" : "") + noInstance;
    case FuzzOperationKind::UnloadModule:
        return std::string("unload the module") + (mInstance != nullptr ? " with an instance alive" : "") +
               (mGui != nullptr ? " and its editor open" : "");
    }
    return "?";
}

// ---- Operations ----

std::string FuzzPlayer::Run(const FuzzOperation& operation)
{
    if (operation.kind == FuzzOperationKind::LoadModule)
        return LoadModule();
    if (operation.kind == FuzzOperationKind::UnloadModule)
    {
        UnloadModule();
        return {};
    }
    if (mSession == nullptr)
        return {};
    if (operation.kind == FuzzOperationKind::Create)
    {
        const std::vector<ChannelLayout> layouts = mSession->DescribedLayouts();
        if (layouts.empty())
            return "the module describes no layout";
        ReleaseInstance();
        return Create(layouts[operation.pick % layouts.size()], operation.value);
    }
    if (mInstance == nullptr)
        return {};
    switch (operation.kind)
    {
    case FuzzOperationKind::WriteParameter:
        WriteParameter(operation);
        return {};
    case FuzzOperationKind::ReadParameter:
        ReadParameter(operation);
        return {};
    case FuzzOperationKind::TouchParameter:
        TouchParameter(operation);
        return {};
    case FuzzOperationKind::MoveParameter:
        MoveParameter(operation);
        return {};
    case FuzzOperationKind::Save:
        mSaves.push_back(Save(*mInstance, mInstance->DataModel().ChunkIds()));
        return {};
    case FuzzOperationKind::Restore:
        return Restore(operation);
    case FuzzOperationKind::Process:
        return Process(operation);
    case FuzzOperationKind::ChangeRate:
        return ChangeRate(operation.value);
    case FuzzOperationKind::OpenEditor:
        OpenEditor();
        return {};
    case FuzzOperationKind::IdleEditor:
        IdleEditor(operation.ticks);
        return {};
    case FuzzOperationKind::CloseEditor:
        CloseEditor();
        return {};
    case FuzzOperationKind::ReleaseInstance:
        ReleaseInstance();
        return {};
    default:
        return {};
    }
}

std::string FuzzPlayer::LoadModule()
{
    UnloadModule();
    mSession = std::make_unique<ModuleSession>();
    std::string error;
    if (!mSession->Open(mModule, error))
    {
        mSession.reset();
        return "the module could not be loaded: " + error;
    }
    return {};
}

std::string FuzzPlayer::Create(ChannelLayout layout, double rate)
{
    std::string error;
    mInstance = ValidationInstance::Create(*mSession, layout, rate, error);
    if (mInstance == nullptr)
        return "no instance: " + error;
    ModuleSession::Settle(mInstance->DataModel());
    mSamplePosition = 0;
    return {};
}

void FuzzPlayer::WriteParameter(const FuzzOperation& operation)
{
    const Parameter parameter = ParameterOf(operation);
    testhost::DataModelInstance& dataModel = mInstance->DataModel();
    if (operation.hostWrite)
        dataModel->UpdateParameterNormalizedValue(parameter.id.c_str(), operation.value, AAX_eUpdateSource_Unspecified);
    else
        dataModel->SetParameterNormalizedValue(parameter.id.c_str(), operation.value);
    // The host hands back what the module asked of it (a plug-in side set is such a request).
    dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
}

void FuzzPlayer::ReadParameter(const FuzzOperation& operation)
{
    const Parameter parameter = ParameterOf(operation);
    const char* id = parameter.id.c_str();
    AAX_IACFEffectParameters_V2& dataModel = *mInstance->DataModel().Get();
    testhost::HostString text;
    // Text lengths from 1 to 32 characters, as hosts with narrow displays ask.
    const int32_t length = 1 + static_cast<int32_t>(operation.secondPick / 8 % kTextLength);
    switch (operation.secondPick % 6)
    {
    case 0:
    {
        double value = 0.0;
        dataModel.GetParameterNormalizedValue(id, &value);
        break;
    }
    case 1:
        dataModel.GetParameterValueString(id, &text, length);
        break;
    case 2:
        dataModel.GetParameterStringFromValue(id, operation.value, &text, length);
        break;
    case 3:
    {
        double value = 0.0;
        dataModel.GetParameterValueString(id, &text, kTextLength);
        dataModel.GetParameterValueFromString(id, &value, text);
        break;
    }
    case 4:
    {
        int32_t number = 0;
        double value = 0.0;
        AAX_CBoolean automatable = 0;
        dataModel.GetParameterName(id, &text);
        dataModel.GetParameterNameOfLength(id, &text, length);
        dataModel.GetParameterNumberOfSteps(id, &number);
        dataModel.GetParameterDefaultNormalizedValue(id, &value);
        dataModel.GetParameterType(id, &number);
        dataModel.GetParameterOrientation(id, &number);
        dataModel.GetParameterIsAutomatable(id, &automatable);
        dataModel.GetParameterIndex(id, &number);
        break;
    }
    default:
    {
        int32_t count = 0;
        dataModel.GetNumberOfParameters(&count);
        // From two below the first index to two past the last.
        const int32_t index = static_cast<int32_t>(operation.pick % static_cast<uint32_t>(count + 4)) - 2;
        dataModel.GetParameterIDFromIndex(index, &text);
        break;
    }
    }
}

void FuzzPlayer::TouchParameter(const FuzzOperation& operation)
{
    const Parameter parameter = ParameterOf(operation);
    testhost::DataModelInstance& dataModel = mInstance->DataModel();
    switch (operation.secondPick % 3)
    {
    case 0:
        dataModel->TouchParameter(parameter.id.c_str());
        break;
    case 1:
        dataModel->ReleaseParameter(parameter.id.c_str());
        break;
    default:
        dataModel->UpdateParameterTouch(parameter.id.c_str(), (operation.secondPick & 8) != 0);
        break;
    }
    dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
}

void FuzzPlayer::MoveParameter(const FuzzOperation& operation)
{
    const Parameter parameter = ParameterOf(operation);
    testhost::DataModelInstance& dataModel = mInstance->DataModel();
    if (operation.hostWrite)
        dataModel->UpdateParameterNormalizedRelative(parameter.id.c_str(), operation.value);
    else
        dataModel->SetParameterNormalizedRelative(parameter.id.c_str(), operation.value);
    dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
}

FuzzPlayer::Chunks FuzzPlayer::Save(ValidationInstance& instance, const std::vector<AAX_CTypeID>& ids)
{
    Chunks chunks;
    for (const AAX_CTypeID id : ids)
    {
        testhost::SavedChunk chunk;
        // A chunk the module cannot save is kept empty: restoring it is one more damaged block.
        chunk.id = id;
        instance.DataModel().GetChunk(id, &chunk);
        chunk.id = id;
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

std::string FuzzPlayer::Restore(const FuzzOperation& operation)
{
    if (mSaves.empty())
        return {};
    const Chunks& save = mSaves[operation.pick % mSaves.size()];
    const size_t which = operation.secondPick % (save.size() + 1);
    Chunks restored;
    if (which == save.size())
        restored = save;
    else
        restored.push_back(save[which]);

    std::mt19937_64 bytes(operation.detail);
    for (testhost::SavedChunk& chunk : restored)
    {
        std::vector<uint8_t>& data = chunk.data;
        switch (operation.damage)
        {
        case FuzzDamage::None:
            break;
        case FuzzDamage::Truncated:
            data.resize(static_cast<size_t>(static_cast<double>(data.size()) * operation.value));
            break;
        case FuzzDamage::FlippedBytes:
            for (int flips = 1 + static_cast<int>(bytes() % 8); flips > 0 && !data.empty(); --flips)
                data[bytes() % data.size()] ^= static_cast<uint8_t>(1 + bytes() % 255);
            break;
        case FuzzDamage::Empty:
            data.clear();
            break;
        case FuzzDamage::RandomBytes:
            data.resize(bytes() % (2 * data.size() + 16));
            for (uint8_t& byte : data)
                byte = static_cast<uint8_t>(bytes());
            break;
        case FuzzDamage::Extended:
            for (int extra = 1 + static_cast<int>(bytes() % 64); extra > 0; --extra)
                data.push_back(static_cast<uint8_t>(bytes()));
            break;
        }
        if (operation.damage != FuzzDamage::None && (operation.detail & 0xf) == 0)
            chunk.id = kForeignChunkId;
        mInstance->DataModel().SetChunk(chunk);
    }
    if (operation.damage != FuzzDamage::None)
        return {};

    // A state restored as it was saved must save again as itself. An effect may rewrite its
    // bytes once (in another order, say), so the check is on what it saves after the restore:
    // restored into a fresh instance, as a host opening the saved session does, that must save
    // again byte for byte.
    std::vector<AAX_CTypeID> ids;
    for (const testhost::SavedChunk& chunk : restored)
        ids.push_back(chunk.id);
    if (std::string finding = Settle(*mInstance); !finding.empty())
        return finding;
    const Chunks first = Save(*mInstance, ids);
    std::string error;
    std::unique_ptr<ValidationInstance> fresh =
        ValidationInstance::Create(*mSession, mInstance->Layout(), mInstance->SampleRate(), error);
    if (fresh == nullptr)
        return {};
    ModuleSession::Settle(fresh->DataModel());
    for (const testhost::SavedChunk& chunk : first)
        fresh->DataModel().SetChunk(chunk);
    std::string finding = Settle(*fresh);
    if (finding.empty())
        finding = FirstDifference(first, Save(*fresh, ids));
    mSession->ReleaseDataModel(&fresh->DataModel());
    return finding;
}

std::string FuzzPlayer::Settle(ValidationInstance& instance)
{
    BlockFigures figures;
    for (int block = 0; block < kSettleBlocks; ++block)
        instance.RunBlock(kSettleBlock, Silence(), block * kSettleBlock, figures);
    if (figures.nonFinite == 0)
        return {};
    return "non-finite output: " + std::to_string(figures.nonFinite) +
           " samples of the blocks after a restore are not finite";
}

std::string FuzzPlayer::RunBlock(int32_t length, const SignalSource& source, const std::string& where)
{
    BlockFigures figures;
    mInstance->RunBlock(length, source, mSamplePosition, figures);
    mSamplePosition += length;
    if (figures.nonFinite == 0)
        return {};
    return "non-finite output: " + std::to_string(figures.nonFinite) + " samples of " + where + " (" +
           std::to_string(length) + " samples) are not finite";
}

std::string FuzzPlayer::Process(const FuzzOperation& operation)
{
    testhost::HostConfig& config = mSession->Host().config;
    config.playing = operation.playing;
    config.looping = operation.looping;
    config.tempo = operation.tempo;
    config.nativeSampleLocation = operation.position;
    config.tickPosition = operation.position;
    const SignalSource source = SourceOf(operation.signal, operation.detail, mInstance->SampleRate());
    for (size_t block = 0; block < operation.blockLengths.size(); ++block)
    {
        if (static_cast<int>(block) == operation.bypassOnAt)
            ModuleSession::WriteParameter(mInstance->DataModel(), cDefaultMasterBypassID, 1.0);
        if (static_cast<int>(block) == operation.bypassOffAt)
            ModuleSession::WriteParameter(mInstance->DataModel(), cDefaultMasterBypassID, 0.0);
        if (std::string finding =
                RunBlock(operation.blockLengths[block], source, "block " + std::to_string(block + 1));
            !finding.empty())
            return finding;
    }
    return {};
}

std::string FuzzPlayer::ChangeRate(double rate)
{
    // The module takes its rate when an instance is made, so a host moving a session to another
    // rate makes new instances and restores what the old ones saved.
    const ChannelLayout layout = mInstance->Layout();
    const bool editorWasOpen = mGui != nullptr;
    const Chunks saved = Save(*mInstance, mInstance->DataModel().ChunkIds());
    ReleaseInstance();
    if (std::string failure = Create(layout, rate); !failure.empty())
        return {};
    for (const testhost::SavedChunk& chunk : saved)
        mInstance->DataModel().SetChunk(chunk);
    if (editorWasOpen)
        OpenEditor();
    return {};
}

void FuzzPlayer::OpenEditor()
{
    std::string error;
    if (mGui != nullptr || !EditorWindow::CanOpen(error))
        return;
    mGui = mSession->NewGui(mInstance->DataModel(), error);
    if (mGui == nullptr)
        return;
    AAX_Point size{0.0f, 0.0f};
    const bool sized = (*mGui)->GetViewSize(&size) == AAX_SUCCESS && size.horz >= 1.0f && size.vert >= 1.0f;
    mWindow = std::make_unique<EditorWindow>();
    if (!mWindow->Open("ombrel-host validate --fuzz", sized ? static_cast<int>(size.horz) : kFallbackEditorSize,
                       sized ? static_cast<int>(size.vert) : kFallbackEditorSize, error))
    {
        mWindow.reset();
        return;
    }
    mGui->AttachView(AAX_eViewContainer_Type_HWND, mWindow->NativeHandle());
    mFollowedResizes = 0;
}

void FuzzPlayer::IdleEditor(int ticks)
{
    for (int tick = 0; tick < ticks; ++tick)
    {
        if (mWindow != nullptr)
            mWindow->ProcessEvents();
        if (mGui != nullptr)
            mGui->Tick();
        mInstance->DataModel()->TimerWakeup();
        testhost::HostViewContainer* view = mGui != nullptr ? mGui->View() : nullptr;
        const std::vector<AAX_Point> requested = view != nullptr ? view->RequestedSizes() : std::vector<AAX_Point>();
        if (mWindow != nullptr && requested.size() > mFollowedResizes)
        {
            mFollowedResizes = requested.size();
            mWindow->Resize(static_cast<int>(requested.back().horz), static_cast<int>(requested.back().vert));
        }
        testhost::WaitServingMessages(kTickPeriod);
    }
}

void FuzzPlayer::CloseEditor()
{
    if (mGui == nullptr)
        return;
    mGui->DetachView();
    if (mWindow != nullptr)
        mWindow->Close();
    mWindow.reset();
    // A host gives the editor object back when it closes the editor.
    if (mGui->IsInitialized())
        mGui->Uninitialize();
    mGui->Release();
    mGui = nullptr;
}

void FuzzPlayer::ReleaseInstance()
{
    if (mInstance == nullptr)
        return;
    // The session gives the instance's editor back first (its view detached), as a host closing
    // an instance with its editor open; the window goes after it.
    mSession->ReleaseDataModel(&mInstance->DataModel());
    mInstance.reset();
    mGui = nullptr;
    if (mWindow != nullptr)
        mWindow->Close();
    mWindow.reset();
}

void FuzzPlayer::UnloadModule()
{
    if (mSession == nullptr)
        return;
    // Shut down and unloaded with whatever is alive: the session gives back editors, then
    // instances, then the module.
    mSession->Close();
    mInstance.reset();
    mGui = nullptr;
    if (mWindow != nullptr)
        mWindow->Close();
    mWindow.reset();
    mSession.reset();
}

} // namespace ombrelhost
