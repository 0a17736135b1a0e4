#include "tools/host/CommandSupport.h"

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

bool LayoutOption(const CommandLine& commandLine, std::optional<ChannelLayout>& layout, std::string& error)
{
    layout.reset();
    if (!commandLine.Has("layout"))
        return true;
    const std::string text = commandLine.Value("layout");
    layout = ParseChannelLayout(text);
    if (!layout)
        error = "unknown layout `" + text +
                "` (use a layout the module describes: mono, stereo, 5.1, mono-stereo, ...)";
    return layout.has_value();
}

bool UntimedSetOptions(const CommandLine& commandLine, std::vector<ParameterAssignment>& assignments,
                       std::string& error)
{
    for (const std::string& text : commandLine.Values("set"))
    {
        ParameterAssignment assignment;
        if (!ParseParameterAssignment(text, assignment, error))
            return false;
        if (assignment.timed)
        {
            error = "`" + text + "`: a time (@SECONDS) only means something for render";
            return false;
        }
        assignments.push_back(assignment);
    }
    return true;
}

bool InstanceOptions(const CommandLine& commandLine, InstanceRequest& request, std::string& error)
{
    return LayoutOption(commandLine, request.layout, error) &&
           UntimedSetOptions(commandLine, request.assignments, error);
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
