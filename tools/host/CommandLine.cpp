#include "tools/host/CommandLine.h"

namespace ombrelhost
{

namespace
{

const OptionDefinition kLayout{"layout", true, false};
const OptionDefinition kSetRepeatable{"set", true, true};

} // namespace

const std::vector<CommandDefinition>& CommandLine::Commands()
{
    static const std::vector<CommandDefinition> commands = {
        {"scan", 1, "scan MODULE [--json]", {{"json", false, false}}},
        {"params",
         1,
         "params MODULE [--layout mono|mono-stereo|stereo] [--set ID=VALUE]... [--json]",
         {kLayout, kSetRepeatable, {"json", false, false}}},
        {"render",
         3,
         "render MODULE IN.wav OUT.wav [--layout L] [--block N] [--set ID=VALUE[@SECONDS]]...\n"
         "         [--bypass FROM-TO]... [--tempo BPM] [--meter N/D] [--playing yes|no] [--tail SECONDS]\n"
         "         [--bits 16|24|32] [--plot OUT.png] [--progress | --no-progress]",
         {kLayout,
          kSetRepeatable,
          {"block", true, false},
          {"bypass", true, true},
          {"tempo", true, false},
          {"meter", true, false},
          {"playing", true, false},
          {"tail", true, false},
          {"bits", true, false},
          {"plot", true, false},
          {"progress", false, false},
          {"no-progress", false, false}}},
        {"state save",
         2,
         "state save MODULE FILE [--layout L] [--set ID=VALUE]...",
         {kLayout, kSetRepeatable}},
        {"state load",
         2,
         "state load MODULE FILE [--layout L] [--resave FILE2]",
         {kLayout, {"resave", true, false}}},
        {"gui",
         1,
         "gui MODULE [--layout L] [--seconds N] [--screenshot FILE.png]",
         {kLayout, {"seconds", true, false}, {"screenshot", true, false}}},
        {"generate",
         1,
         "generate OUT.wav [--signal clicks|pluck] [--seconds S] [--rate HZ] [--channels 1|2] [--every "
         "SECONDS]\n"
         "         [--bits 16|24|32]",
         {{"signal", true, false},
          {"seconds", true, false},
          {"rate", true, false},
          {"channels", true, false},
          {"every", true, false},
          {"bits", true, false}}},
    };
    return commands;
}

std::string CommandLine::Usage()
{
    std::string text = "usage: ombrel-host COMMAND ARGUMENTS [OPTIONS]\n\n";
    for (const CommandDefinition& command : Commands())
        text += "  ombrel-host " + std::string(command.synopsis) + "\n";
    text += "\nMODULE is an Ombrel.aaxplugin module file or its bundle folder (.../Ombrel.aaxplugin).\n"
            "Parameter IDs are those `params` lists (\"MasterBypassID\", \"0\", \"1\", ...); VALUE is\n"
            "normalised, 0 to 1. Times are in seconds from the start of the file.\n";
    return text;
}

bool CommandLine::Parse(int argc, const char* const* argv, std::string& error)
{
    mCommand.clear();
    mPositionals.clear();
    mOptions.clear();

    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i] != nullptr ? argv[i] : "");

    for (const std::string& word : words)
        if (word == "--help" || word == "-h")
        {
            mCommand = "help";
            return true;
        }
    if (words.empty() || words[0] == "help")
    {
        mCommand = "help";
        return true;
    }

    size_t next = 1;
    std::string name = words[0];
    if (name == "state")
    {
        if (words.size() < 2 || (words[1] != "save" && words[1] != "load"))
        {
            error = "`state` needs `save` or `load`";
            return false;
        }
        name += " " + words[1];
        next = 2;
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
    mCommand = name;

    for (size_t i = next; i < words.size(); ++i)
    {
        const std::string& word = words[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0)
        {
            mPositionals.push_back(word);
            continue;
        }
        std::string option = word.substr(2);
        std::string value;
        bool hasInlineValue = false;
        if (const size_t equals = option.find('='); equals != std::string::npos)
        {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasInlineValue = true;
        }
        const OptionDefinition* optionDefinition = nullptr;
        for (const OptionDefinition& candidate : definition->options)
            if (option == candidate.name)
                optionDefinition = &candidate;
        if (optionDefinition == nullptr)
        {
            error = "`" + mCommand + "` has no option --" + option;
            return false;
        }
        if (optionDefinition->takesValue && !hasInlineValue)
        {
            if (i + 1 >= words.size())
            {
                error = "--" + option + " needs a value";
                return false;
            }
            value = words[++i];
        }
        else if (!optionDefinition->takesValue && hasInlineValue)
        {
            error = "--" + option + " takes no value";
            return false;
        }
        if (!optionDefinition->repeatable && mOptions.count(option) > 0)
        {
            error = "--" + option + " is given twice";
            return false;
        }
        mOptions[option].push_back(value);
    }

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
