// Parameters: every published parameter set to 0, 1 and values a user would set, its reading
// compared with the value written and its text read twice; every text the module shows present;
// a storm of random automation while audio runs; the effect's programs; from strictness 5 the
// host's writes from a second thread while audio runs and the effect changes its own values. The
// numeric locale is watched around each of these.

#include "tools/host/validate/ValidationGroup.h"

#include "aax_library/AAX_Identifiers.h"
#include "tools/host/validate/NumericLocaleWatch.h"
#include "tools/host/validate/ParameterReadings.h"
#include "tools/host/validate/ParameterThreadCheck.h"
#include "tools/host/validate/ProgramCheck.h"
#include "tools/host/validate/TextSpans.h"
#include "tools/host/validate/ValidationInstance.h"

#include <cmath>
#include <random>

namespace ombrelhost
{

namespace
{

// A reading further from the value written than this, and with another text, is a mismatch.
constexpr double kReadingTolerance = 1.0e-3;
constexpr int kHundredths = 100;

// Findings of one kind over every parameter: how many, and the first in full.
struct Findings
{
    size_t count = 0;
    std::string first;

    void Add(const std::string& finding)
    {
        if (count++ == 0)
            first = finding;
    }
    void Report(GroupContext& context, const std::string& check, const std::string& what,
                const std::string& figures) const
    {
        if (count > 0)
            context.Fail(check, std::to_string(count) + " " + what + ", first " + first, figures);
        else
            context.Pass(check, figures);
    }
};

// How many values a user would set each parameter to, besides 0 and 1.
int UserValueCount(int strictness)
{
    return strictness >= 5 ? 20 : 2 * strictness;
}

} // namespace

void RunParameterChecks(GroupContext& context)
{
    NumericLocaleWatch locale;
    ModuleSession session;
    const bool opened = context.OpenModule(session, "parameters");
    locale.After("loading the module");
    if (!opened)
        return;
    const ChannelLayout layout = context.Layouts().back();
    const std::string inLayout = std::string(", ") + ChannelLayoutName(layout) + " layout";
    std::unique_ptr<ValidationInstance> instance =
        context.CreateInstance(session, layout, kValidationRate, "instantiating", "parameters");
    locale.After("opening an instance");
    if (instance == nullptr)
        return;
    testhost::DataModelInstance& dataModel = instance->DataModel();
    instance->Run(256, 1024, Silence());
    locale.After("processing");

    std::vector<std::string> ids;
    for (const std::string& id : dataModel.ParameterIds())
        if (id != cDefaultMasterBypassID)
            ids.push_back(id);
    context.Pass("published parameters", std::to_string(ids.size()) + " besides the bypass");
    if (ids.empty())
    {
        context.Skip("values and texts", "the effect has no parameters");
        CheckPrograms(context, *instance);
        locale.After("selecting programs");
        locale.Report(context, "loading, opening, processing and programs");
        session.ReleaseDataModel(&dataModel);
        return;
    }

    std::mt19937_64& random = context.Random();
    const int userValues = UserValueCount(context.Strictness());
    size_t changingTexts = 0;
    size_t choices = 0;
    // Writes the module answered with an error: the effect threw taking the value.
    size_t refused = 0;
    std::string refusedWrites;
    Findings mismatches;
    Findings missingTexts;
    Findings unstableTexts;
    context.Step("setting every parameter to 0, 1 and values a user would set, reading each text twice");
    for (const std::string& id : ids)
    {
        // Every text the module shows for the parameter, whatever the values chosen below.
        const TextSpans spans(dataModel, id);
        choices += spans.FewTexts() ? 1 : 0;
        int unreadable = 0;
        std::string firstUnreadable;
        for (int step = 0; step <= kHundredths; ++step)
        {
            const double value = static_cast<double>(step) / kHundredths;
            const std::string text = TextOfValue(dataModel, id, value);
            if (!ReadableText(text) && unreadable++ == 0)
                firstUnreadable = ValueAndText(value, text);
        }
        if (unreadable > 0)
            missingTexts.Add(ParameterLabel(dataModel, id) + " shows " + firstUnreadable +
                             (unreadable > 1 ? " (and " + std::to_string(unreadable - 1) + " more of its 101 texts)"
                                             : std::string()) +
                             inLayout);

        std::vector<double> values = {0.0, 1.0};
        for (int i = 0; i < userValues; ++i)
            values.push_back(spans.UserValue(random));
        std::string textAtZero;
        bool changes = false;
        for (double value : values)
        {
            if (ModuleSession::WriteParameter(dataModel, id, value) != AAX_SUCCESS)
            {
                refusedWrites += (refused++ == 0 ? "parameter " : ", parameter ") + id + " = " +
                                 FormatFigure("%.4f", value);
                continue;
            }
            const double reading = ParameterValue(dataModel, id);
            const std::string text = ParameterText(dataModel, id);
            const std::string again = ParameterText(dataModel, id);
            const std::string wanted = TextOfValue(dataModel, id, value);
            if (text != again)
                unstableTexts.Add(ParameterLabel(dataModel, id) + " at " + FormatFigure("%.4f", value) + " read \"" +
                                  text + "\", then \"" + again + "\"" + inLayout);
            if (std::fabs(reading - value) > kReadingTolerance && text != wanted)
                mismatches.Add(ParameterLabel(dataModel, id) + " written " + ValueAndText(value, wanted) + ", read " +
                               ValueAndText(reading, text) + inLayout);
            if (value == 0.0)
                textAtZero = text;
            else if (text != textAtZero)
                changes = true;
        }
        changingTexts += changes ? 1 : 0;
    }
    locale.After("reading parameter texts");
    const std::string count = std::to_string(ids.size()) + " parameters";
    const std::string valuesEach = std::to_string(2 + userValues) + " values each";
    if (refused > 0)
        context.Fail("values accepted", "the effect's fault: it threw taking " + refusedWrites,
                     std::to_string(refused) + " writes refused, " + count);
    else
        context.Pass("values accepted", count);
    mismatches.Report(context, "readings equal the values written", "differ", count + ", " + valuesEach);
    missingTexts.Report(context, "texts present", "parameters show no readable text at some values",
                        count + ", 101 texts each");
    unstableTexts.Report(context, "texts stable", "texts differ when read twice",
                         count + ", " + valuesEach + ", " + std::to_string(choices) + " switches or choices");
    if (changingTexts == 0)
        context.Fail("alive", "no parameter's text follows its value (an inert effect)", count);
    else
        context.Pass("alive", std::to_string(changingTexts) + " of " + count + " show their values");

    context.Step("automation storm during processing");
    const int blocks = 50 * context.Strictness();
    const SignalSource noise = Noise(9);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<size_t> anyId(0, ids.size() - 1);
    BlockFigures figures;
    for (int block = 0; block < blocks; ++block)
    {
        for (int write = 0; write < 4; ++write)
            ModuleSession::WriteParameter(dataModel, ids[anyId(random)], unit(random));
        instance->RunBlock(128, noise, static_cast<int64_t>(block) * 128, figures);
    }
    locale.After("processing");
    const std::string stormFigures =
        std::to_string(blocks * 4) + " writes over " + std::to_string(blocks) + " blocks";
    if (figures.nonFinite > 0)
        context.Fail("automation storm",
                     std::to_string(figures.nonFinite) + " output samples are not finite" + inLayout, stormFigures);
    else
        context.Pass("automation storm", stormFigures);

    CheckPrograms(context, *instance);
    locale.After("selecting programs");
    if (context.Strictness() >= 5)
    {
        CheckParameterThreads(context, *instance, ids);
        locale.After("writing from a second thread");
    }
    locale.Report(context, "loading, opening, processing, parameter texts and programs");
    context.Step("releasing the instance and closing the module");
    session.ReleaseDataModel(&dataModel);
}

} // namespace ombrelhost
