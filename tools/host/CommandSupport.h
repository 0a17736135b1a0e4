#pragma once
// What every command of the reference host shares: exit codes, error reporting and the options
// several commands accept.

#include "tools/host/ArgumentValues.h"
#include "tools/host/ChannelLayout.h"
#include "tools/host/CommandLine.h"
#include "tools/host/ModuleSession.h"

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

// --layout if given (nothing otherwise). False with a reason for an unknown layout.
bool LayoutOption(const CommandLine& commandLine, std::optional<ChannelLayout>& layout, std::string& error);
// Every --set of a command where the writes are untimed ("ID=VALUE").
bool UntimedSetOptions(const CommandLine& commandLine, std::vector<ParameterAssignment>& assignments,
                       std::string& error);
// What --layout and the untimed --set options ask of the one instance a command sets up.
struct InstanceRequest
{
    std::optional<ChannelLayout> layout;
    std::vector<ParameterAssignment> assignments;
};
bool InstanceOptions(const CommandLine& commandLine, InstanceRequest& request, std::string& error);

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

int RunScan(const CommandLine& commandLine);
int RunBundle(const CommandLine& commandLine);
int RunParams(const CommandLine& commandLine);
int RunRender(const CommandLine& commandLine);
int RunStateSave(const CommandLine& commandLine);
int RunStateLoad(const CommandLine& commandLine);
int RunGui(const CommandLine& commandLine);
int RunGenerate(const CommandLine& commandLine);
int RunValidate(const CommandLine& commandLine);

} // namespace ombrelhost
