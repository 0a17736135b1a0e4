// State: saved, restored into a fresh instance and saved again; stable when the second and third
// saves agree (an effect may rewrite its bytes once); the parameters must come back, switches and
// choices set as a user sets them (by their text); values of those between their texts that come
// back as another text are a warning, and so is a parameter in many steps that comes back one step
// away (none of its values is known to be on the effect's grid). Cut, garbage and foreign blocks
// must leave a working instance.

#include "tools/host/validate/ValidationGroup.h"

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/validate/ParameterReadings.h"
#include "tools/host/validate/SavedChunks.h"
#include "tools/host/validate/TextSpans.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>

namespace ombrelhost
{

namespace
{

constexpr double kValueTolerance = 1.0e-4;

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
    // The texts of the probes at the hundredths below and above the value: the module knows the
    // effect's text only there, and the effect itself may show either between them (a choice of
    // four restored at 0.3333 shows its second text, which the module has from 0.34 only).
    std::string below;
    std::string above;
};

std::vector<SavedValue> Values(testhost::DataModelInstance& dataModel)
{
    std::vector<SavedValue> values;
    for (const std::string& id : dataModel.ParameterIds())
    {
        SavedValue saved;
        saved.id = id;
        saved.value = ParameterValue(dataModel, id);
        saved.text = TextOfValue(dataModel, id, saved.value);
        saved.below = TextOfValue(dataModel, id, std::floor(saved.value * 100.0) / 100.0);
        saved.above = TextOfValue(dataModel, id, std::ceil(saved.value * 100.0) / 100.0);
        values.push_back(std::move(saved));
    }
    return values;
}

// Effects keep switches and choices as what they mean and report a restored one at its own
// position (a switch written as 0.1 comes back as 0): a value counts as restored when it is the
// same, or when the effect shows the same text for it at a probe beside each value.
bool SameValue(const SavedValue& saved, const SavedValue& restored)
{
    if (std::fabs(saved.value - restored.value) <= kValueTolerance)
        return true;
    for (const std::string* savedText : {&saved.below, &saved.above})
        for (const std::string* restoredText : {&restored.below, &restored.above})
            if (!savedText->empty() && *savedText == *restoredText)
                return true;
    return false;
}

// The values that did not come back: how many, and the first with both values and texts.
struct Differences
{
    size_t count = 0;
    std::string first;

    void Add(const std::string& described)
    {
        if (count++ == 0)
            first = described;
    }
    void Add(const Differences& more)
    {
        if (count == 0)
            first = more.first;
        count += more.count;
    }
};

// Whether a value that did not come back is the effect's rounding between its text and its state
// rather than a value lost: such differences are counted apart.
using RoundingMove = std::function<bool(const SavedValue& saved, const SavedValue& restored)>;

struct Comparison
{
    Differences lost;
    Differences rounded;
};

Comparison Compare(testhost::DataModelInstance& dataModel, const std::vector<SavedValue>& wanted,
                   const std::vector<SavedValue>& restored, const std::vector<std::string>& among,
                   const std::string& layout, const RoundingMove& rounding = nullptr)
{
    Comparison comparison;
    for (size_t i = 0; i < wanted.size() && i < restored.size(); ++i)
    {
        if (SameValue(wanted[i], restored[i]) ||
            (!among.empty() && std::find(among.begin(), among.end(), wanted[i].id) == among.end()))
            continue;
        const std::string described = ParameterLabel(dataModel, wanted[i].id) + " saved " +
                                      ValueAndText(wanted[i].value, wanted[i].text) + ", restored " +
                                      ValueAndText(restored[i].value, restored[i].text) + ", " + layout;
        (rounding && rounding(wanted[i], restored[i]) ? comparison.rounded : comparison.lost).Add(described);
    }
    return comparison;
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
    context.Step("setting random values as a user sets them");
    std::mt19937_64& random = context.Random();
    const std::string inLayout = std::string(ChannelLayoutName(layout)) + " layout";
    // Switches and choices: their values off the grid come back to a text of the effect's choosing.
    // Parameters in many steps: any of their values may.
    std::vector<std::string> choices;
    std::vector<std::string> stepped;
    std::map<std::string, TextSpans> spans;
    for (const std::string& id : first->DataModel().ParameterIds())
        if (id != cDefaultMasterBypassID)
        {
            TextSpans parameterSpans(first->DataModel(), id);
            if (parameterSpans.FewTexts())
                choices.push_back(id);
            else if (parameterSpans.ManySteps())
                stepped.push_back(id);
            ModuleSession::WriteParameter(first->DataModel(), id, parameterSpans.UserValue(random));
            spans.emplace(id, std::move(parameterSpans));
        }
    const RoundingMove oneStep = [&spans](const SavedValue& saved, const SavedValue& restored)
    {
        const auto found = spans.find(saved.id);
        return found != spans.end() && found->second.ManySteps() &&
               found->second.Neighbours(saved.text, restored.text);
    };
    std::vector<std::string> offGridParameters = choices;
    offGridParameters.insert(offGridParameters.end(), stepped.begin(), stepped.end());
    first->Run(256, 1024, Silence());
    const auto wanted = Values(first->DataModel());

    context.Step("saving");
    Chunks saved;
    if (!SaveChunks(first->DataModel(), saved, error))
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
    SaveChunks(second->DataModel(), resaved, error);
    const auto restored = Values(second->DataModel());
    const Comparison restoredComparison = Compare(second->DataModel(), wanted, restored, {}, inLayout, oneStep);
    const Differences& differences = restoredComparison.lost;
    std::string restoredFigures = std::to_string(wanted.size()) + " parameters, " + std::to_string(choices.size()) +
                                  " switches or choices set by their texts";
    if (!stepped.empty())
        restoredFigures += ", " + std::to_string(stepped.size()) + " in many steps";
    if (wanted.size() != restored.size())
        context.Fail("parameters restored",
                     "the restored instance publishes " + std::to_string(restored.size()) + " parameters, not " +
                         std::to_string(wanted.size()),
                     restoredFigures);
    else if (differences.count > 0)
        context.Fail("parameters restored",
                     std::to_string(differences.count) + " differ, first " + differences.first, restoredFigures);
    else
        context.Pass("parameters restored", restoredFigures);

    std::unique_ptr<ValidationInstance> third =
        fresh("restoring the second save into a third instance", "state stable");
    if (third == nullptr)
        return;
    Restore(*third, resaved);
    Chunks again;
    SaveChunks(third->DataModel(), again, error);
    const bool rewritten = !SameData(saved, resaved);
    if (!SameData(resaved, again))
        context.Fail("state stable", "the second and third saves differ: the state does not round-trip");
    else
        context.Pass("state stable", rewritten ? "the effect rewrote its bytes once" : "identical bytes");

    // Switches and choices between their texts, where the effect's own rounding decides which text
    // a restore lands on: the effect's choice, worth a look but no failure. Parameters in many steps
    // that came back one step away above belong here too.
    if (offGridParameters.empty())
        context.Skip("values between texts restored", "the effect has no switches, choices or parameters in steps");
    else
    {
        Differences moved = restoredComparison.rounded;
        for (const TextSpans::Edge edge : {TextSpans::Edge::Start, TextSpans::Edge::End})
        {
            context.Step(std::string("setting switches and choices between their texts, near the ") +
                         (edge == TextSpans::Edge::Start ? "start" : "end") + " of a text");
            for (const std::string& id : offGridParameters)
                ModuleSession::WriteParameter(first->DataModel(), id, spans.at(id).OffGridValue(random, edge));
            first->Run(256, 1024, Silence());
            const auto between = Values(first->DataModel());
            Chunks offGrid;
            SaveChunks(first->DataModel(), offGrid, error);
            context.Step("restoring switches and choices set between their texts");
            Restore(*second, offGrid);
            moved.Add(Compare(second->DataModel(), between, Values(second->DataModel()), offGridParameters, inLayout)
                          .lost);
        }
        std::string figures = std::to_string(choices.size()) + " switches or choices";
        if (!stepped.empty())
            figures += " and " + std::to_string(stepped.size()) + " parameters in many steps";
        figures += ", twice each";
        if (moved.count > 0)
            context.Warn("values between texts restored",
                         std::to_string(moved.count) + " come back as another value with another text, the effect's "
                                                       "rounding between its text and its state; first " +
                             moved.first,
                         figures);
        else
            context.Pass("values between texts restored", figures);
    }

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
            if (!SaveChunks(third->DataModel(), after, error))
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
