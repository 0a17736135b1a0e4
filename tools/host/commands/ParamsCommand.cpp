// `params MODULE`: one instance of the chosen layout, every published parameter listed.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/reports/ParameterReport.h"
#include "tools/host/reports/QuotedText.h"

#include <cstdio>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr double kParamsSampleRate = 48000.0;

struct ParamsOptions
{
    std::string module;
    InstanceRequest request;
    bool json = false;
};

int RunParams(const ParamsOptions& options)
{
    std::string error;
    CommandInstance instance;
    if (!OpenInstance(instance, options.module, options.request, kParamsSampleRate, error))
        return Fail(error);

    const std::vector<ParameterInfo> parameters = ParameterReport::Collect(*instance.dataModel);
    if (options.json)
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

} // namespace

void RegisterParamsCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<ParamsOptions>();
    CLI::App& command = registry.Add(
        "params", "one instance of the layout; every published parameter with its value and text",
        [options] { return RunParams(*options); });
    AddModuleArgument(command, options->module);
    AddInstanceOptions(command, options->request);
    command.add_flag("--json", options->json, "the parameters as JSON");
}

} // namespace ombrelhost
