// State: saved, restored into a fresh instance and saved again; stable when the second and third
// saves agree (an effect may rewrite its bytes once); the parameters must come back. Cut,
// garbage and foreign blocks must leave a working instance.

#include "tools/host/validate/ValidationGroup.h"

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/validate/ValidationInstance.h"
#include "host_kit/HostString.h"

#include <cmath>
#include <random>

namespace ombrelhost
{

namespace
{

constexpr double kValueTolerance = 1.0e-4;
constexpr int32_t kValueTextLength = 32;

using Chunks = std::vector<testhost::SavedChunk>;

bool Save(testhost::DataModelInstance& dataModel, Chunks& chunks, std::string& error)
{
    chunks.clear();
    for (AAX_CTypeID id : dataModel.ChunkIds())
    {
        testhost::SavedChunk chunk;
        if (const AAX_Result result = dataModel.GetChunk(id, &chunk))
        {
            error = "a chunk could not be saved (" + std::to_string(result) + ")";
            return false;
        }
        chunks.push_back(std::move(chunk));
    }
    return true;
}

void Restore(ValidationInstance& instance, const Chunks& chunks)
{
    for (const testhost::SavedChunk& chunk : chunks)
        instance.DataModel().SetChunk(chunk);
    // A host keeps running after a restore; the checks read the effect's own values and state, so
    // nothing has to wait for the published parameters to catch up.
    instance.Run(256, 4096, Silence());
}

bool SameData(const Chunks& a, const Chunks& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id || a[i].data != b[i].data)
            return false;
    return true;
}

struct SavedValue
{
    std::string id;
    double value = 0.0;
    std::string text; // the effect's display text of the value
};

std::vector<SavedValue> Values(testhost::DataModelInstance& dataModel)
{
    std::vector<SavedValue> values;
    for (const std::string& id : dataModel.ParameterIds())
    {
        SavedValue saved;
        saved.id = id;
        dataModel->GetParameterNormalizedValue(id.c_str(), &saved.value);
        testhost::HostString text;
        dataModel->GetParameterStringFromValue(id.c_str(), saved.value, &text, kValueTextLength);
        saved.text = text.Text();
        values.push_back(std::move(saved));
    }
    return values;
}

// Effects keep switches and choices as what they mean and report a restored one at its own
// position (a switch written as 0.1 comes back as 0): a value counts as restored when it is the
// same, or when the effect shows the same text for it.
bool SameValue(const SavedValue& saved, const SavedValue& restored)
{
    return std::fabs(saved.value - restored.value) <= kValueTolerance ||
           (!saved.text.empty() && saved.text == restored.text);
}

} // namespace

void RunStateChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "state"))
        return;
    std::string error;
    const ChannelLayout layout = context.Layouts().back();
    // A new instance that has run a few blocks; on failure the check `name` fails.
    auto fresh = [&](const char* step, const char* name) -> std::unique_ptr<ValidationInstance>
    {
        std::unique_ptr<ValidationInstance> instance =
            context.CreateInstance(session, layout, kValidationRate, step, name);
        if (instance != nullptr)
            instance->Run(256, 1024, Silence());
        return instance;
    };

    std::unique_ptr<ValidationInstance> first = fresh("instantiating the instance to save", "state");
    if (first == nullptr)
        return;
    context.Step("setting random values");
    std::minstd_rand random(13);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const std::string& id : first->DataModel().ParameterIds())
        if (id != cDefaultMasterBypassID)
            ModuleSession::WriteParameter(first->DataModel(), id, unit(random));
    first->Run(256, 1024, Silence());
    const auto wanted = Values(first->DataModel());

    context.Step("saving");
    Chunks saved;
    if (!Save(first->DataModel(), saved, error))
    {
        context.Fail("save", error);
        return;
    }
    size_t bytes = 0;
    for (const testhost::SavedChunk& chunk : saved)
        bytes += chunk.data.size();
    context.Pass("save", std::to_string(saved.size()) + " chunks, " + std::to_string(bytes) + " bytes");

    std::unique_ptr<ValidationInstance> second = fresh("restoring into a fresh instance", "restore");
    if (second == nullptr)
        return;
    Restore(*second, saved);
    Chunks resaved;
    Save(second->DataModel(), resaved, error);
    const auto restored = Values(second->DataModel());
    size_t differing = 0;
    std::string firstDifference;
    for (size_t i = 0; i < wanted.size() && i < restored.size(); ++i)
        if (!SameValue(wanted[i], restored[i]) && differing++ == 0)
            firstDifference = wanted[i].id + " saved " + FormatFigure("%.4f", wanted[i].value) + " \"" +
                              wanted[i].text + "\", restored " + FormatFigure("%.4f", restored[i].value) +
                              " \"" + restored[i].text + "\"";
    if (differing > 0 || wanted.size() != restored.size())
        context.Fail("parameters restored", std::to_string(differing) + " differ, first " + firstDifference,
                     std::to_string(wanted.size()) + " parameters");
    else
        context.Pass("parameters restored", std::to_string(wanted.size()) + " parameters");

    std::unique_ptr<ValidationInstance> third =
        fresh("restoring the second save into a third instance", "state stable");
    if (third == nullptr)
        return;
    Restore(*third, resaved);
    Chunks again;
    Save(third->DataModel(), again, error);
    const bool rewritten = !SameData(saved, resaved);
    if (!SameData(resaved, again))
        context.Fail("state stable", "the second and third saves differ: the state does not round-trip");
    else
        context.Pass("state stable", rewritten ? "the effect rewrote its bytes once" : "identical bytes");

    const testhost::SavedChunk* effectChunk = nullptr;
    const testhost::SavedChunk* otherChunk = nullptr;
    for (const testhost::SavedChunk& chunk : saved)
        (chunk.data.size() > 0 && effectChunk == nullptr ? effectChunk : otherChunk) = &chunk;
    if (effectChunk == nullptr)
    {
        context.Skip("damaged state", "the module saved no data");
        return;
    }
    bool damagedSurvived = true;
    for (const char* kind : {"truncated", "garbage", "foreign"})
        for (const testhost::SavedChunk& original : saved)
        {
            const std::string name = std::string(kind) + " state block";
            testhost::SavedChunk damaged = original;
            if (std::string(kind) == "truncated")
                damaged.data.resize(damaged.data.size() / 2);
            else if (std::string(kind) == "garbage")
                for (uint8_t& byte : damaged.data)
                    byte = static_cast<uint8_t>(random());
            else
            {
                // Another chunk's bytes in its place, as from another effect.
                const testhost::SavedChunk* other = &original == effectChunk ? otherChunk : effectChunk;
                damaged.data = other != nullptr ? other->data : std::vector<uint8_t>(64, 0x5a);
            }
            context.Step(name + " into chunk " + std::to_string(original.id));
            third->DataModel().SetChunk(damaged);
            const BlockFigures figures = third->Run(256, 4096, Noise(3));
            Chunks after;
            if (!Save(third->DataModel(), after, error))
                context.Fail(name, "the instance no longer saves: " + error);
            else if (figures.nonFinite > 0)
                context.Fail(name, "the output is no longer finite");
            else
                continue;
            damagedSurvived = false;
        }
    if (damagedSurvived)
        context.Pass("damaged state blocks leave a working instance", "truncated, garbage and foreign");
    for (auto* instance : {first.get(), second.get(), third.get()})
        session.ReleaseDataModel(&instance->DataModel());
}

} // namespace ombrelhost
