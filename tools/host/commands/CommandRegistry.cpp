#include "tools/host/commands/CommandRegistry.h"

#include "tools/host/commands/CommandSupport.h"

#include <cstdio>

namespace ombrelhost
{

namespace
{

constexpr const char* kProgram = "ombrel-host";
constexpr size_t kHelpColumns = 36;

// Each command's file registers it; the usage lists them in this order.
constexpr void (*kRegistrations[])(CommandRegistry&) = {
    RegisterScanCommand,   RegisterBundleCommand, RegisterParamsCommand,   RegisterRenderCommand,
    RegisterStateCommands, RegisterGuiCommand,    RegisterGenerateCommand, RegisterValidateCommand,
};

const CLI::App* Subcommand(const CLI::App& app, const std::string& name)
{
    const std::vector<const CLI::App*> found =
        app.get_subcommands([&name](const CLI::App* sub) { return sub->get_name() == name; });
    return found.empty() ? nullptr : found.front();
}

bool IsHelpWord(const std::string& word)
{
    return word == "help" || word == "--help" || word == "-h";
}

// CLI11 writes a validator's message after "NAME: "; the host's own messages say what the value
// must be and read as one sentence with the name ("--block must be a whole number ...").
std::string ErrorText(const CLI::ParseError& error)
{
    std::string text = error.what();
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr)
        if (const size_t colon = text.find(": must "); colon != std::string::npos && text[0] == '-')
            text.erase(colon, 1);
    return text;
}

} // namespace

CommandRegistry::CommandRegistry() : mApp("The reference AAX host for Ombrel modules.", kProgram)
{
    // Set before any command is made: each copies the defaults of its parent.
    mApp.option_defaults()->always_capture_default();
    mApp.get_formatter()->column_width(kHelpColumns);
    mApp.require_subcommand(1, 1);
    for (void (*registration)(CommandRegistry&) : kRegistrations)
        registration(*this);
}

CLI::App& CommandRegistry::Add(const std::string& name, const std::string& description, CommandRun run)
{
    return Add(mApp, name, description, std::move(run));
}

CLI::App& CommandRegistry::Add(CLI::App& group, const std::string& name, const std::string& description,
                               CommandRun run)
{
    CLI::App* command = group.add_subcommand(name, description);
    // Unknown words are collected, not refused by CLI11, so that the message can name the command.
    command->allow_extras();
    mCommands.push_back({command, std::move(run)});
    return *command;
}

CLI::App& CommandRegistry::AddGroup(const std::string& name, const std::string& description)
{
    CLI::App* group = mApp.add_subcommand(name, description);
    group->require_subcommand(1, 1);
    return *group;
}

std::string CommandRegistry::FullName(const CLI::App& app)
{
    const CLI::App* parent = app.get_parent();
    return parent == nullptr ? app.get_name() : FullName(*parent) + " " + app.get_name();
}

const CommandRegistry::Command* CommandRegistry::Find(const std::vector<std::string>& words,
                                                      std::string& error) const
{
    // The command word is checked before CLI11 sees it, so that a misspelling is named as such.
    const CLI::App* top = Subcommand(mApp, words[0]);
    if (top == nullptr)
    {
        error = "unknown command `" + words[0] + "`";
        return nullptr;
    }
    const CLI::App* leaf = top;
    if (top->get_require_subcommand_min() > 0)
    {
        std::vector<std::string> names;
        for (const CLI::App* sub : top->get_subcommands({}))
            names.push_back("`" + sub->get_name() + "`");
        leaf = words.size() > 1 ? Subcommand(*top, words[1]) : nullptr;
        if (leaf == nullptr)
        {
            error = "`" + words[0] + "` needs " + CLI::detail::join(names, " or ");
            return nullptr;
        }
    }
    for (const Command& command : mCommands)
        if (command.app == leaf)
            return &command;
    error = "unknown command `" + words[0] + "`";
    return nullptr;
}

int CommandRegistry::Run(int argc, const char* const* argv)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i] != nullptr ? argv[i] : "");
    if (words.empty() || IsHelpWord(words[0]))
    {
        std::fputs(Usage().c_str(), stdout);
        return kExitSuccess;
    }

    const auto refuse = [this](const std::string& error)
    {
        std::fprintf(stderr, "%s: %s\n\n%s", kProgram, error.c_str(), Usage().c_str());
        return kExitUsage;
    };
    std::string error;
    const Command* command = Find(words, error);
    if (command == nullptr)
        return refuse(error);

    try
    {
        mApp.parse(std::vector<std::string>(words.rbegin(), words.rend()));
    }
    catch (const CLI::CallForHelp&)
    {
        std::fputs(command->app->help(FullName(*command->app->get_parent())).c_str(), stdout);
        return kExitSuccess;
    }
    catch (const CLI::ParseError& parseError)
    {
        return refuse(ErrorText(parseError));
    }

    const std::string name = FullName(*command->app).substr(std::string(kProgram).size() + 1);
    for (const std::string& extra : command->app->remaining())
    {
        if (extra.size() > 1 && extra[0] == '-')
            return refuse("`" + name + "` has no option " + extra.substr(0, extra.find('=')));
        return refuse("`" + name + "` takes no argument `" + extra + "` (`" + kProgram + " " + name +
                      " --help` lists what it takes)");
    }
    return command->run();
}

std::string CommandRegistry::Usage() const
{
    std::string text = std::string("usage: ") + kProgram + " COMMAND ARGUMENTS [OPTIONS]\n\n";
    for (const Command& command : mCommands)
    {
        std::string synopsis = "  " + FullName(*command.app);
        for (const CLI::Option* option : command.app->get_options())
            if (option->get_positional())
                synopsis += " " + option->get_name();
        synopsis += " [OPTIONS]";
        text += synopsis + "\n      " + command.app->get_description() + "\n";
    }
    text += "\nMODULE is an Ombrel.aaxplugin module file or its bundle folder (.../Ombrel.aaxplugin).\n"
            "Parameter IDs are those `params` lists (\"MasterBypassID\", \"0\", \"1\", ...); VALUE is\n"
            "normalised, 0 to 1. Times are in seconds from the start of the file.\n"
            "`ombrel-host COMMAND --help` describes one command's options.\n";
    return text;
}

} // namespace ombrelhost
