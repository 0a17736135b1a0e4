#pragma once
// What every command of the reference host shares: exit codes, error reporting, the positionals
// and options several commands take, and the one instance most commands work on.

#include "tools/host/commands/ArgumentValues.h"
#include "tools/host/session/ChannelLayout.h"
#include "tools/host/session/ModuleSession.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace ombrelhost
{

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1; // the input, the module or the effect did not allow the work
constexpr int kExitUsage = 2;   // the command line itself is wrong

// Prints "ombrel-host: message" on standard error and answers kExitFailure.
int Fail(const std::string& message);
// The same with kExitUsage.
int UsageError(const std::string& message);

// Whether a file can be created at path (its folder exists, it is not a folder), checked before
// long work whose result would otherwise be lost.
bool CheckOutputPath(const std::string& path, std::string& error);

// MODULE, the first positional of every command that loads a module.
CLI::Option* AddModuleArgument(CLI::App& command, std::string& module);
// --layout LAYOUT (a layout of the stem-format table); layout stays empty when not given.
CLI::Option* AddLayoutOption(CLI::App& command, std::optional<ChannelLayout>& layout);
// --set ID=VALUE, repeatable, each appended to assignments; "@SECONDS" is accepted when timed.
CLI::Option* AddSetOption(CLI::App& command, std::vector<ParameterAssignment>& assignments, bool timed,
                          const std::string& help);

// What --layout and the untimed --set options ask of the one instance a command sets up.
struct InstanceRequest
{
    std::optional<ChannelLayout> layout;
    std::vector<ParameterAssignment> assignments;
};
void AddInstanceOptions(CLI::App& command, InstanceRequest& request);

// The one instance a command works on, with the session that owns it.
struct CommandInstance
{
    ModuleSession session;
    ChannelLayout layout{};
    testhost::DataModelInstance* dataModel = nullptr; // owned by the session
};
// Opens the module at modulePath, makes one data model at the sample rate, of the requested layout or
// else the module's default, and writes the request's assignments as the host's own writes. False with
// a reason when any step fails.
bool OpenInstance(CommandInstance& instance, const std::string& modulePath, const InstanceRequest& request,
                  double sampleRate, std::string& error);

} // namespace ombrelhost
