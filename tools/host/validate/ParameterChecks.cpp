// Parameters: every published parameter set to 0, 1 and random values, its reading compared with
// the value written and its text present; then a storm of random automation while audio runs.

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

// A reading further from the value written than this, and with another text, is a mismatch.
constexpr double kReadingTolerance = 1.0e-3;

std::string ValueText(testhost::DataModelInstance& dataModel, const std::string& id)
{
    testhost::HostString text;
    dataModel->GetParameterValueString(id.c_str(), &text, 32);
    return text.Text();
}

std::string TextOfValue(testhost::DataModelInstance& dataModel, const std::string& id, double value)
{
    testhost::HostString text;
    dataModel->GetParameterStringFromValue(id.c_str(), value, &text, 32);
    return text.Text();
}

} // namespace

void RunParameterChecks(GroupContext& context)
{
    ModuleSession session;
    if (!context.OpenModule(session, "parameters"))
        return;
    const ChannelLayout layout = context.Layouts().back();
    std::unique_ptr<ValidationInstance> instance =
        context.CreateInstance(session, layout, kValidationRate, "instantiating", "parameters");
    if (instance == nullptr)
        return;
    testhost::DataModelInstance& dataModel = instance->DataModel();
    instance->Run(256, 1024, Silence());

    std::vector<std::string> ids;
    for (const std::string& id : dataModel.ParameterIds())
        if (id != cDefaultMasterBypassID)
            ids.push_back(id);
    context.Pass("published parameters", std::to_string(ids.size()) + " besides the bypass");
    if (ids.empty())
    {
        context.Skip("values and texts", "the effect has no parameters");
        return;
    }

    std::minstd_rand random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int randomValues = 1 + context.Strictness();
    size_t mismatches = 0;
    size_t emptyTexts = 0;
    size_t changingTexts = 0;
    // Writes the module answered with an error: the effect threw taking the value.
    size_t refused = 0;
    std::string refusedWrites;
    std::string firstMismatch;
    std::string firstEmpty;
    context.Step("setting every parameter to 0, 1 and random values");
    for (const std::string& id : ids)
    {
        std::vector<double> values = {0.0, 1.0};
        for (int i = 0; i < randomValues; ++i)
            values.push_back(unit(random));
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
            double reading = -1.0;
            dataModel->GetParameterNormalizedValue(id.c_str(), &reading);
            const std::string text = ValueText(dataModel, id);
            if (std::fabs(reading - value) > kReadingTolerance && text != TextOfValue(dataModel, id, value))
                if (mismatches++ == 0)
                    firstMismatch = id + " written " + FormatFigure("%.4f", value) + ", read " +
                                    FormatFigure("%.4f", reading);
            if (text.empty() && emptyTexts++ == 0)
                firstEmpty = id + " at " + FormatFigure("%.4f", value);
            if (value == 0.0)
                textAtZero = text;
            else if (text != textAtZero)
                changes = true;
        }
        changingTexts += changes ? 1 : 0;
    }
    const std::string count = std::to_string(ids.size()) + " parameters";
    if (refused > 0)
        context.Fail("values accepted", "the effect's fault: it threw taking " + refusedWrites,
                     std::to_string(refused) + " writes refused, " + count);
    else
        context.Pass("values accepted", count);
    if (mismatches > 0)
        context.Fail("readings equal the values written",
                     std::to_string(mismatches) + " differ, first " + firstMismatch, count);
    else
        context.Pass("readings equal the values written", count);
    if (emptyTexts > 0)
        context.Fail("texts present", std::to_string(emptyTexts) + " empty texts, first " + firstEmpty,
                     count);
    else
        context.Pass("texts present", count);
    if (changingTexts == 0)
        context.Fail("alive", "no parameter's text follows its value (an inert effect)", count);
    else
        context.Pass("alive", std::to_string(changingTexts) + " of " + count + " show their values");

    context.Step("automation storm during processing");
    const int blocks = 50 * context.Strictness();
    const SignalSource noise = Noise(9);
    BlockFigures figures;
    for (int block = 0; block < blocks; ++block)
    {
        for (int write = 0; write < 4; ++write)
            ModuleSession::WriteParameter(dataModel, ids[random() % ids.size()], unit(random));
        instance->RunBlock(128, noise, static_cast<int64_t>(block) * 128, figures);
    }
    const std::string stormFigures =
        std::to_string(blocks * 4) + " writes over " + std::to_string(blocks) + " blocks";
    if (figures.nonFinite > 0)
        context.Fail("automation storm", std::to_string(figures.nonFinite) + " output samples are not finite",
                     stormFigures);
    else
        context.Pass("automation storm", stormFigures);
    session.ReleaseDataModel(&dataModel);
}

} // namespace ombrelhost
