#pragma once
// The reference host's command line: every command, its typed options and its run, with CLI11
// doing the parsing, the checking and each command's help (`ombrel-host COMMAND --help`).
//
// How a command is written (commands/ScanCommand.cpp is the shortest example):
//   - One file per command, commands/NameCommand.cpp, with a struct NameOptions holding every
//     positional and option as a typed field with its default, and a pair of functions:
//       void RegisterNameCommand(CommandRegistry& registry);   // declared below
//       int RunName(const NameOptions& options);               // in the file's own namespace
//   - Register makes the options in a std::shared_ptr, adds the command with
//       CLI::App& command = registry.Add("name", "what it does", [options] { return RunName(*options); });
//     and binds each field: named positionals (AddModuleArgument, command.add_option("IN.wav", ...)
//     ->required()), options with CLI11's validators (CLI::Range, CLI::IsMember,
//     CLI::ExistingFile) or the host's own in OptionChecks.h where the message is the host's, flags
//     with add_flag. Defaults are captured, so the help shows them.
//   - A new option of an existing command is one more field and one more add_option line in that
//     command's Register function (or in a function of its own file that Register calls, for a
//     larger feature: validate's options are gathered in ValidateSettings).
//   - A new command adds its Register function below and to the list in CommandRegistry.cpp.
// Errors of the command line (exit status 2) are found before anything is loaded. A validator's
// message that starts with "must" reads after the option's name: "--block must be ...".

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace ombrelhost
{

// A command's work once its options are parsed; answers the exit status.
using CommandRun = std::function<int()>;

class CommandRegistry
{
public:
    // Every command of the host, registered in the order the usage lists them.
    CommandRegistry();

    // A command of its own ("scan") or a sub-command of a group made with AddGroup ("save" in
    // "state"): its CLI::App, for the caller to add positionals and options to.
    CLI::App& Add(const std::string& name, const std::string& description, CommandRun run);
    CLI::App& Add(CLI::App& group, const std::string& name, const std::string& description, CommandRun run);
    // A command word that only groups sub-commands ("state").
    CLI::App& AddGroup(const std::string& name, const std::string& description);

    // Parses argv (argv[0] is the program) and runs the command; answers the exit status. A wrong
    // command line is explained on standard error with the usage, and answers 2.
    int Run(int argc, const char* const* argv);

    // Every command with its positionals, generated from the registered commands.
    std::string Usage() const;

private:
    struct Command
    {
        CLI::App* app;
        CommandRun run;
    };

    // The command the words name (a group's sub-command included), or null with a reason.
    const Command* Find(const std::vector<std::string>& words, std::string& error) const;
    static std::string FullName(const CLI::App& app);

    CLI::App mApp;
    std::vector<Command> mCommands;
};

// The commands, one file each.
void RegisterScanCommand(CommandRegistry& registry);
void RegisterBundleCommand(CommandRegistry& registry);
void RegisterParamsCommand(CommandRegistry& registry);
void RegisterRenderCommand(CommandRegistry& registry);
void RegisterStateCommands(CommandRegistry& registry);
void RegisterGuiCommand(CommandRegistry& registry);
void RegisterGenerateCommand(CommandRegistry& registry);
void RegisterValidateCommand(CommandRegistry& registry);

} // namespace ombrelhost
