// `params MODULE`: one instance of the chosen layout, every published parameter listed.

#include "tools/host/CommandSupport.h"
#include "tools/host/QuotedText.h"
#include "tools/host/ParameterReport.h"

#include <cstdio>

namespace ombrelhost
{

namespace
{
constexpr double kParamsSampleRate = 48000.0;
}

int RunParams(const CommandLine& commandLine)
{
    std::string error;
    std::optional<ChannelLayout> givenLayout;
    std::vector<ParameterAssignment> assignments;
    if (!InstanceOptions(commandLine, givenLayout, assignments, error))
        return UsageError(error);

    ModuleSession session;
    ChannelLayout layout{};
    testhost::DataModelInstance* dataModel =
        OpenDataModel(session, commandLine.Positional(0), givenLayout, kParamsSampleRate, layout, error);
    if (dataModel == nullptr || !ApplyAssignments(*dataModel, assignments, error))
        return Fail(error);

    const std::vector<ParameterInfo> parameters = ParameterReport::Collect(*dataModel);
    if (commandLine.Has("json"))
    {
        std::fputs(ParameterReport::Json(parameters).c_str(), stdout);
        return kExitSuccess;
    }
    std::printf("%s, %s layout, %zu parameters published\n\n", QuotedText(session.EffectName()).c_str(),
                ChannelLayoutName(layout), parameters.size());
    std::fputs(ParameterReport::Text(parameters).c_str(), stdout);
    return kExitSuccess;
}

} // namespace ombrelhost
