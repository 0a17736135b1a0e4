#include "tools/host/commands/CommandSupport.h"

#include "tools/host/commands/OptionChecks.h"

#include <cstdio>
#include <sys/stat.h>

namespace ombrelhost
{

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ombrel-host: %s\n", message.c_str());
    return kExitFailure;
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "ombrel-host: %s\n", message.c_str());
    return kExitUsage;
}

bool CheckOutputPath(const std::string& path, std::string& error)
{
    const std::string folder =
        path.find('/') == std::string::npos ? "." : path.substr(0, path.rfind('/') + 1);
    struct stat info
    {
    };
    if (path.empty() || path.back() == '/' || (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
    {
        error = "cannot write `" + path + "`: it names a folder";
        return false;
    }
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    {
        error = "cannot write " + path + ": the folder " + folder + " does not exist";
        return false;
    }
    return true;
}

CLI::Option* AddModuleArgument(CLI::App& command, std::string& module)
{
    return command.add_option("MODULE", module, "an Ombrel.aaxplugin module file or its bundle folder")
        ->required();
}

CLI::Option* AddLayoutOption(CLI::App& command, std::optional<ChannelLayout>& layout)
{
    return command
        .add_option_function<std::string>(
            "--layout", [&layout](const std::string& name) { layout = ParseChannelLayout(name); },
            "the channel layout (the module's default)")
        ->check(LayoutNameCheck(false))
        ->type_name("LAYOUT");
}

CLI::Option* AddSetOption(CLI::App& command, std::vector<ParameterAssignment>& assignments, bool timed,
                          const std::string& help)
{
    return command
        .add_option_function<std::vector<std::string>>(
            "--set",
            [&assignments](const std::vector<std::string>& texts)
            {
                for (const std::string& text : texts)
                {
                    ParameterAssignment assignment;
                    std::string error;
                    if (ParseParameterAssignment(text, assignment, error)) // checked already
                        assignments.push_back(assignment);
                }
            },
            help)
        ->check(ParameterAssignmentCheck(timed))
        ->allow_extra_args(false)
        ->type_name(timed ? "ID=VALUE[@SECONDS]" : "ID=VALUE");
}

void AddInstanceOptions(CLI::App& command, InstanceRequest& request)
{
    AddLayoutOption(command, request.layout);
    AddSetOption(command, request.assignments, false, "a parameter's normalised value (repeatable)");
}

bool OpenInstance(CommandInstance& instance, const std::string& modulePath, const InstanceRequest& request,
                  double sampleRate, std::string& error)
{
    if (!instance.session.Open(modulePath, error))
        return false;
    instance.layout = request.layout.value_or(instance.session.DefaultLayout());
    instance.dataModel = instance.session.NewDataModel(instance.layout, sampleRate, error);
    if (instance.dataModel == nullptr)
        return false;
    // Every identifier is checked before the first write, so that a typo changes nothing.
    for (const ParameterAssignment& assignment : request.assignments)
        if (!ModuleSession::CheckParameterId(*instance.dataModel, assignment.id, error))
            return false;
    for (const ParameterAssignment& assignment : request.assignments)
        if (const AAX_Result result =
                ModuleSession::WriteParameter(*instance.dataModel, assignment.id, assignment.value))
        {
            error = "the module refused the value of parameter " + assignment.id + " (" +
                    std::to_string(result) + ")";
            return false;
        }
    return true;
}

} // namespace ombrelhost
