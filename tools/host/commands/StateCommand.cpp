// `state save MODULE FILE` and `state load MODULE FILE`: every chunk of one instance into one file,
// and back into a fresh instance, with what the restore changed.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/reports/DescriptionReport.h"
#include "tools/host/reports/ParameterReport.h"
#include "tools/host/formats/StateFile.h"
#include "host_kit/HostString.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr double kStateSampleRate = 48000.0;
std::string ChunkLabel(const testhost::SavedChunk& chunk)
{
    std::string label = DescriptionReport::FourCharText(chunk.id);
    label = label.substr(0, label.find(" (")); // 'elck' without the number
    if (!chunk.name.empty())
        label += " \"" + chunk.name + "\"";
    return label;
}

bool SaveChunks(testhost::DataModelInstance& dataModel, std::vector<testhost::SavedChunk>& chunks,
                std::string& error)
{
    chunks.clear();
    for (AAX_CTypeID id : dataModel.ChunkIds())
    {
        testhost::SavedChunk chunk;
        if (const AAX_Result result = dataModel.GetChunk(id, &chunk))
        {
            error = "the module could not save its chunk " + DescriptionReport::FourCharText(id) + " (" +
                    std::to_string(result) + ")";
            return false;
        }
        chunks.push_back(std::move(chunk));
    }
    if (chunks.empty())
    {
        error = "the module offers no chunks to save";
        return false;
    }
    return true;
}

bool SameChunks(const std::vector<testhost::SavedChunk>& a, const std::vector<testhost::SavedChunk>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id || a[i].version != b[i].version || a[i].data != b[i].data)
            return false;
    return true;
}

// Every chunk holds the same bytes as its counterpart, in any order.
bool SameBytesInAnotherOrder(const std::vector<testhost::SavedChunk>& a,
                             const std::vector<testhost::SavedChunk>& b)
{
    if (a.size() != b.size())
        return false;
    for (const testhost::SavedChunk& chunk : a)
    {
        const auto counterpart =
            std::find_if(b.begin(), b.end(),
                         [&](const testhost::SavedChunk& candidate) { return candidate.id == chunk.id; });
        if (counterpart == b.end())
            return false;
        std::vector<uint8_t> mine = chunk.data;
        std::vector<uint8_t> theirs = counterpart->data;
        std::sort(mine.begin(), mine.end());
        std::sort(theirs.begin(), theirs.end());
        if (mine != theirs)
            return false;
    }
    return true;
}

SavedState StateOf(const testhost::ComponentDescription& component, std::vector<testhost::SavedChunk> chunks)
{
    SavedState state;
    state.manufacturerId = static_cast<uint32_t>(component.Property(AAX_eProperty_ManufacturerID));
    state.productId = static_cast<uint32_t>(component.Property(AAX_eProperty_ProductID));
    state.plugInId = static_cast<uint32_t>(component.Property(AAX_eProperty_PlugInID_Native));
    state.chunks = std::move(chunks);
    return state;
}

struct StateSaveOptions
{
    std::string module;
    std::string path;
    InstanceRequest request;
};

struct StateLoadOptions
{
    std::string module;
    std::string path;
    std::optional<ChannelLayout> layout;
    std::string resavePath;
};

int RunStateSave(const StateSaveOptions& options)
{
    std::string error;
    const InstanceRequest& request = options.request;
    const std::string& path = options.path;
    if (!CheckOutputPath(path, error))
        return Fail(error);

    CommandInstance instance;
    if (!OpenInstance(instance, options.module, request, kStateSampleRate, error))
        return Fail(error);

    std::vector<testhost::SavedChunk> chunks;
    if (!SaveChunks(*instance.dataModel, chunks, error))
        return Fail(error);
    const SavedState state = StateOf(*instance.session.Component(instance.layout), std::move(chunks));
    if (!StateFile::Write(path, state, error))
        return Fail(error);

    std::printf("saved %s (%s layout) to %s\n", QuotedText(instance.session.EffectName()).c_str(),
                ChannelLayoutName(instance.layout), path.c_str());
    for (const ParameterAssignment& assignment : request.assignments)
    {
        testhost::HostString text;
        (*instance.dataModel)
            ->GetParameterValueString(assignment.id.c_str(), &text, ParameterReport::kValueTextLength);
        std::printf("  set    %s = %.4f %s\n", assignment.id.c_str(), assignment.value,
                    QuotedText(text.Text()).c_str());
    }
    for (const testhost::SavedChunk& chunk : state.chunks)
        std::printf("  chunk  %s, version %d, %zu bytes\n", ChunkLabel(chunk).c_str(), chunk.version,
                    chunk.data.size());
    return kExitSuccess;
}

int RunStateLoad(const StateLoadOptions& options)
{
    std::string error;
    const std::string& path = options.path;
    const std::string& resavePath = options.resavePath;
    if (!resavePath.empty() && !CheckOutputPath(resavePath, error))
        return Fail(error);
    // The file is checked before any module is loaded: a file that is not ours never reaches it.
    SavedState state;
    if (!StateFile::Read(path, state, error))
        return Fail(error);

    const std::optional<ChannelLayout>& givenLayout = options.layout;
    ModuleSession session;
    if (!session.Open(options.module, error))
        return Fail(error);
    ChannelLayout savedLayout = session.DefaultLayout();
    const bool layoutKnown = session.LayoutOfPlugInId(static_cast<int32_t>(state.plugInId), savedLayout);
    const ChannelLayout layout = givenLayout.value_or(savedLayout);
    const testhost::ComponentDescription* found = session.Component(layout);
    if (found == nullptr)
        return Fail(std::string("the module describes no ") + ChannelLayoutName(layout) + " component");
    const testhost::ComponentDescription& component = *found;
    const uint32_t manufacturer = static_cast<uint32_t>(component.Property(AAX_eProperty_ManufacturerID));
    const uint32_t product = static_cast<uint32_t>(component.Property(AAX_eProperty_ProductID));
    if (state.manufacturerId != manufacturer || state.productId != product)
        return Fail(path + " holds the state of another plug-in (manufacturer " +
                    DescriptionReport::FourCharText(state.manufacturerId) + ", product " +
                    DescriptionReport::FourCharText(state.productId) + "); this module is " +
                    DescriptionReport::FourCharText(manufacturer) + ", " +
                    DescriptionReport::FourCharText(product));

    testhost::DataModelInstance* dataModel = session.NewDataModel(layout, kStateSampleRate, error);
    if (dataModel == nullptr)
        return Fail(error);
    const std::vector<ParameterInfo> before = ParameterReport::Collect(*dataModel);

    std::printf("restoring %s into a fresh %s (%s layout%s)\n", path.c_str(),
                QuotedText(session.EffectName()).c_str(), ChannelLayoutName(layout),
                layoutKnown && layout != savedLayout ? ", saved from another layout" : "");
    const std::vector<AAX_CTypeID> offered = dataModel->ChunkIds();
    bool refused = false;
    for (const testhost::SavedChunk& chunk : state.chunks)
    {
        if (std::find(offered.begin(), offered.end(), chunk.id) == offered.end())
        {
            std::printf("  chunk  %s: this module has no such chunk; left out\n", ChunkLabel(chunk).c_str());
            continue;
        }
        const AAX_Result result = dataModel->SetChunk(chunk);
        dataModel->DeliverAutomation(AAX_eUpdateSource_Unspecified);
        std::printf("  chunk  %s, %zu bytes: %s\n", ChunkLabel(chunk).c_str(), chunk.data.size(),
                    result == AAX_SUCCESS ? "restored"
                                          : ("refused (" + std::to_string(result) + ")").c_str());
        refused |= result != AAX_SUCCESS;
    }
    // The module reports the restored values before the restore returns; a host accepts them.
    ModuleSession::Settle(*dataModel);

    const std::vector<ParameterInfo> after = ParameterReport::Collect(*dataModel);
    size_t changed = 0;
    for (const ParameterInfo& now : after)
        for (const ParameterInfo& was : before)
            if (was.id == now.id && (was.value != now.value || was.text != now.text))
            {
                if (changed++ == 0)
                    std::printf("changed parameters:\n");
                std::printf("  %-15s %-26s %s  ->  %s\n", now.id.c_str(), QuotedText(now.name).c_str(),
                            ParameterReport::ValueText(was).c_str(), ParameterReport::ValueText(now).c_str());
            }
    if (changed == 0)
        std::printf("no parameter changed (the state holds the defaults)\n");
    else
        std::printf("%zu of %zu parameters changed\n", changed, after.size());

    // What the instance saves now, next to what the file held.
    std::vector<testhost::SavedChunk> resaved;
    if (!SaveChunks(*dataModel, resaved, error))
        return Fail(error);
    bool identical = resaved.size() == state.chunks.size();
    for (const testhost::SavedChunk& chunk : state.chunks)
    {
        const testhost::SavedChunk* now = nullptr;
        for (const testhost::SavedChunk& candidate : resaved)
            if (candidate.id == chunk.id)
                now = &candidate;
        const bool same = now != nullptr && now->data == chunk.data && now->version == chunk.version;
        identical &= same;
        std::printf("  resave %s: %s\n", ChunkLabel(chunk).c_str(),
                    same             ? "identical"
                    : now == nullptr ? "missing"
                                     : "differs");
    }
    std::printf("chunks saved again from the restored instance are %s\n",
                identical ? "identical to the file" : "NOT identical to the file");
    // Some effects rewrite their state once (they reorder their own data): the state is stable
    // when the second save holds the file's bytes in another order and a fresh instance given the
    // second save saves the same bytes a third time.
    bool stable = identical;
    if (!identical)
    {
        testhost::DataModelInstance* third = session.NewDataModel(layout, kStateSampleRate, error);
        if (third == nullptr)
            return Fail(error);
        for (const testhost::SavedChunk& chunk : resaved)
            third->SetChunk(chunk);
        ModuleSession::Settle(*third);
        std::vector<testhost::SavedChunk> again;
        if (!SaveChunks(*third, again, error))
            return Fail(error);
        stable = SameChunks(resaved, again) && SameBytesInAnotherOrder(state.chunks, resaved);
        std::printf("chunks saved a third time, from a fresh instance given the second save, are %s\n",
                    stable ? "identical to the second: the effect rewrote its state once and keeps it"
                           : "NOT identical to the second");
    }
    if (!resavePath.empty())
    {
        if (!StateFile::Write(resavePath, StateOf(component, std::move(resaved)), error))
            return Fail(error);
        std::printf("saved again to %s\n", resavePath.c_str());
    }
    if (refused)
        return Fail("the module refused part of the state");
    // The module answers success for any bytes of its own chunk and keeps its state when the
    // effect refuses them; saving again is how a host finds out that the restore did not take.
    if (!stable)
        return Fail("the restored instance saves different chunks: part of the state in " + path +
                    " was not taken (damaged, or written by another effect)");
    return kExitSuccess;
}

} // namespace

void RegisterStateCommands(CommandRegistry& registry)
{
    CLI::App& state =
        registry.AddGroup("state", "an instance's chunks saved into a file or restored from it");

    auto save = std::make_shared<StateSaveOptions>();
    CLI::App& saveCommand = registry.Add(state, "save", "every chunk of an instance into one file",
                                         [save] { return RunStateSave(*save); });
    AddModuleArgument(saveCommand, save->module);
    saveCommand.add_option("FILE", save->path, "the state file to write")->required();
    AddInstanceOptions(saveCommand, save->request);

    auto load = std::make_shared<StateLoadOptions>();
    CLI::App& loadCommand = registry.Add(
        state, "load", "the chunks into a fresh instance; what changed, whether it saves them again",
        [load] { return RunStateLoad(*load); });
    AddModuleArgument(loadCommand, load->module);
    loadCommand.add_option("FILE", load->path, "the state file to restore")->required();
    AddLayoutOption(loadCommand, load->layout)->description("the channel layout (the saved instance's)");
    loadCommand.add_option("--resave", load->resavePath, "save the restored instance again into FILE2")
        ->type_name("FILE2");
}

} // namespace ombrelhost
