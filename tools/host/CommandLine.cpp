#include "tools/host/CommandLine.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace ombrelhost
{

namespace
{

const OptionDefinition kLayout{"layout", true, false,
                               "a layout the module describes: mono, stereo, 5.1, mono-stereo, ..."};
const OptionDefinition kSetRepeatable{"set", true, true, "a parameter's normalised value, ID=VALUE"};

// One option as CLI11 collects it: every occurrence's value (or an empty text for a flag).
struct CollectedOption
{
    const OptionDefinition* definition = nullptr;
    CLI::Option* option = nullptr;
    std::vector<std::string> values;
    int flagCount = 0;
};

struct CollectedCommand
{
    const CommandDefinition* definition = nullptr;
    CLI::App* app = nullptr;
    std::vector<std::string> positionals;
    std::vector<std::unique_ptr<CollectedOption>> options;
};

void AddOptions(CollectedCommand& command)
{
    for (const OptionDefinition& definition : command.definition->options)
    {
        auto collected = std::make_unique<CollectedOption>();
        collected->definition = &definition;
        const std::string name = std::string("--") + definition.name;
        if (definition.takesValue)
            collected->option = command.app->add_option(name, collected->values, definition.help)
                                    ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                                    ->allow_extra_args(false)
                                    ->expected(1, 1);
        else
            collected->option = command.app->add_flag(name, collected->flagCount, definition.help);
        if (definition.hidden)
            collected->option->group("");
        command.options.push_back(std::move(collected));
    }
    command.app->add_option("arguments", command.positionals)->expected(0, -1);
}

} // namespace

const std::vector<CommandDefinition>& CommandLine::Commands()
{
    static const std::vector<CommandDefinition> commands = {
        {"scan",
         1,
         "scan MODULE|DIR [--json]",
         {{"json", false, false, "the description (or a plug-in folder's list) as JSON"}}},
        {"bundle",
         1,
         "bundle EFFECT --out DIR [--name N] [--manufacturer M] [--manufacturer-id ABCD] [--product-id "
         "ABCD]\n"
         "         [--category C] [--layouts L,L...] [--module PATH]",
         {{"out", true, false, "the plug-in folder the bundle goes into"},
          {"name", true, false, "the effect's name (the effect's own)"},
          {"manufacturer", true, false, "the manufacturer's name (the effect's vendor)"},
          {"manufacturer-id", true, false, "four characters (derived from the manufacturer)"},
          {"product-id", true, false, "four characters (the effect's unique identifier)"},
          {"category", true, false, "a number or names joined by + (from the effect's category)"},
          {"layouts", true, false, "layout names separated by commas (mono, mono-stereo, stereo)"},
          {"module", true, false, "the module to copy (this build's)"},
          {"probe-into", true, false, "", true}}},
        {"params",
         1,
         "params MODULE [--layout L] [--set ID=VALUE]... [--json]",
         {kLayout, kSetRepeatable, {"json", false, false, "the parameters as JSON"}}},
        {"render",
         3,
         "render MODULE IN.wav OUT.wav [--layout L] [--block N] [--set ID=VALUE[@SECONDS]]...\n"
         "         [--bypass FROM-TO]... [--tempo BPM] [--meter N/D] [--playing yes|no] [--tail SECONDS]\n"
         "         [--bits 16|24|32] [--plot OUT.png] [--progress | --no-progress]",
         {kLayout,
          {"set", true, true, "a parameter change, ID=VALUE[@SECONDS]"},
          {"block", true, false, "samples per block (512)"},
          {"bypass", true, true, "a bypassed span, FROM-TO seconds"},
          {"tempo", true, false, "beats per minute (120)"},
          {"meter", true, false, "N/D (4/4)"},
          {"playing", true, false, "yes or no (yes)"},
          {"tail", true, false, "seconds of silence after the file"},
          {"bits", true, false, "16, 24 or 32 (float)"},
          {"plot", true, false, "waveforms and spectra into a PNG file"},
          {"progress", false, false, "always show the progress bar"},
          {"no-progress", false, false, "never show the progress bar"}}},
        {"state save",
         2,
         "state save MODULE FILE [--layout L] [--set ID=VALUE]...",
         {kLayout, kSetRepeatable}},
        {"state load",
         2,
         "state load MODULE FILE [--layout L] [--resave FILE2]",
         {kLayout, {"resave", true, false, "save the restored instance again into FILE2"}}},
        {"gui",
         1,
         "gui MODULE [--layout L] [--seconds N] [--screenshot FILE.png]",
         {kLayout,
          {"seconds", true, false, "close the editor after N seconds"},
          {"screenshot", true, false, "the editor's window into a PNG file"}}},
        {"generate",
         1,
         "generate OUT.wav [--signal clicks|pluck] [--seconds S] [--rate HZ] [--channels 1|2] [--every "
         "SECONDS]\n"
         "         [--bits 16|24|32]",
         {{"signal", true, false, "clicks or pluck"},
          {"seconds", true, false, "length"},
          {"rate", true, false, "sample rate in Hz"},
          {"channels", true, false, "1 or 2"},
          {"every", true, false, "seconds between clicks or tones"},
          {"bits", true, false, "16, 24 or 32 (float)"}}},
        {"validate",
         1,
         "validate MODULE [--strictness 1..10] [--layout L|all] [--json FILE] [--junit FILE] [--in-process]\n"
         "         [--timeout SECONDS]",
         {{"strictness", true, false, "how long and how hard the checks run, 1 to 10 (5)"},
          {"timeout", true, false, "time limit of each group of checks (by strictness)"},
          {"layout", true, false, "a layout the module describes, or all (all)"},
          {"json", true, false, "the report as JSON into FILE"},
          {"junit", true, false, "the report as JUnit XML into FILE"},
          {"in-process", false, false, "run every group in this process (for debugging)"},
          {"group", true, false, "", true},
          {"progress-file", true, false, "", true}}},
    };
    return commands;
}

std::string CommandLine::Usage()
{
    std::string text = "usage: ombrel-host COMMAND ARGUMENTS [OPTIONS]\n\n";
    for (const CommandDefinition& command : Commands())
        text += "  ombrel-host " + std::string(command.synopsis) + "\n";
    text +=
        "\nMODULE is an Ombrel.aaxplugin module file or its bundle folder (.../NAME.aaxplugin); DIR a\n"
        "folder of bundles. Layouts are named by their stem formats (\"stereo\", \"5.1\", \"mono-stereo\").\n"
        "Parameter IDs are those `params` lists (\"MasterBypassID\", \"0\", \"1\", ...); VALUE is\n"
        "normalised, 0 to 1. Times are in seconds from the start of the file.\n"
        "`ombrel-host COMMAND --help` describes one command's options.\n";
    return text;
}

bool CommandLine::Parse(int argc, const char* const* argv, std::string& error)
{
    mCommand.clear();
    mPositionals.clear();
    mOptions.clear();
    mHelpText.clear();

    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i] != nullptr ? argv[i] : "");
    if (words.empty() || words[0] == "help" || words[0] == "--help" || words[0] == "-h")
    {
        mCommand = "help";
        return true;
    }

    // The command word is checked first, so that a misspelling is named as such.
    std::string name = words[0];
    if (name == "state")
    {
        if (words.size() < 2 || (words[1] != "save" && words[1] != "load"))
        {
            error = "`state` needs `save` or `load`";
            return false;
        }
        name += " " + words[1];
    }
    const CommandDefinition* definition = nullptr;
    for (const CommandDefinition& candidate : Commands())
        if (name == candidate.name)
            definition = &candidate;
    if (definition == nullptr)
    {
        error = "unknown command `" + name + "`";
        return false;
    }

    CLI::App app("The reference AAX host for Ombrel modules.", "ombrel-host");
    app.require_subcommand(1, 1);
    CLI::App* parent = &app;
    std::string leaf = name;
    if (const size_t space = name.find(' '); space != std::string::npos)
    {
        parent = app.add_subcommand(name.substr(0, space), "");
        parent->require_subcommand(1, 1);
        leaf = name.substr(space + 1);
    }
    CollectedCommand command;
    command.definition = definition;
    command.app = parent->add_subcommand(leaf, std::string("ombrel-host ") + definition->synopsis);
    command.app->allow_extras();
    AddOptions(command);

    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try
    {
        app.parse(reversed);
    }
    catch (const CLI::CallForHelp&)
    {
        mCommand = "command help";
        mHelpText = command.app->help();
        return true;
    }
    catch (const CLI::ParseError& parseError)
    {
        error = parseError.what();
        return false;
    }

    for (const std::string& extra : command.app->remaining())
    {
        if (extra.size() > 2 && extra.compare(0, 2, "--") == 0)
        {
            error = "`" + name + "` has no option " + extra.substr(0, extra.find('='));
            return false;
        }
        command.positionals.push_back(extra);
    }
    for (const std::unique_ptr<CollectedOption>& collected : command.options)
    {
        const OptionDefinition& option = *collected->definition;
        const size_t given =
            option.takesValue ? collected->values.size() : static_cast<size_t>(collected->flagCount);
        if (given == 0)
            continue;
        if (!option.repeatable && given > 1)
        {
            error = std::string("--") + option.name + " is given twice";
            return false;
        }
        if (option.takesValue)
            mOptions[option.name] = collected->values;
        else
            mOptions[option.name] = std::vector<std::string>(given);
    }

    mCommand = name;
    mPositionals = command.positionals;
    if (static_cast<int>(mPositionals.size()) != definition->positionals)
    {
        error = "usage: ombrel-host " + std::string(definition->synopsis);
        return false;
    }
    return true;
}

std::string CommandLine::Value(const std::string& option, const std::string& fallback) const
{
    auto found = mOptions.find(option);
    return found != mOptions.end() && !found->second.empty() ? found->second.back() : fallback;
}

std::vector<std::string> CommandLine::Values(const std::string& option) const
{
    auto found = mOptions.find(option);
    return found != mOptions.end() ? found->second : std::vector<std::string>{};
}

} // namespace ombrelhost
