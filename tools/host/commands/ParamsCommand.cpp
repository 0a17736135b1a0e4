// `params MODULE`: one instance of the chosen layout, every published parameter listed.

#include "tools/host/commands/CommandSupport.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/reports/ParameterReport.h"

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
    InstanceRequest request;
    if (!InstanceOptions(commandLine, request, error))
        return UsageError(error);

    CommandInstance instance;
    if (!OpenInstance(instance, commandLine.Positional(0), request, kParamsSampleRate, error))
        return Fail(error);

    const std::vector<ParameterInfo> parameters = ParameterReport::Collect(*instance.dataModel);
    if (commandLine.Has("json"))
    {
        std::fputs(ParameterReport::Json(parameters).c_str(), stdout);
        return kExitSuccess;
    }
    std::printf("%s, %s layout, %zu parameters published\n\n",
                QuotedText(instance.session.EffectName()).c_str(), ChannelLayoutName(instance.layout),
                parameters.size());
    std::fputs(ParameterReport::Text(parameters).c_str(), stdout);
    return kExitSuccess;
}

} // namespace ombrelhost
