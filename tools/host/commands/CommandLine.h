#pragma once
// The reference host's command line: a command word (with a sub-command for "state"), positional
// arguments and --options, checked against what each command accepts before anything is loaded.
// CLI11 does the parsing and each command's generated help (`ombrel-host COMMAND --help`); the
// commands read the values through this class.

#include <map>
#include <string>
#include <vector>

namespace ombrelhost
{

// One accepted option of a command.
struct OptionDefinition
{
    const char* name; // without the leading dashes
    bool takesValue;  // "--name VALUE" or "--name=VALUE"
    bool repeatable;  // may be given more than once
    const char* help = "";
    bool hidden = false; // for the host's own use (a child process it starts), not in the help
};

struct CommandDefinition
{
    const char* name;     // "scan", "state save", ...
    int positionals;      // exact number of positional arguments
    const char* synopsis; // the arguments and options as the usage text shows them
    std::vector<OptionDefinition> options;
};

class CommandLine
{
public:
    // Parses argv (argv[0] is the program). On failure returns false with a one-line reason in
    // error; "help" (or no arguments) parses as the command "help".
    bool Parse(int argc, const char* const* argv, std::string& error);

    // "scan", "params", "render", "state save", "state load", "gui", "generate", "validate" or
    // "help"; "command help" when the text in HelpText() is to be printed.
    const std::string& Command() const { return mCommand; }
    const std::vector<std::string>& Positionals() const { return mPositionals; }
    const std::string& Positional(size_t index) const { return mPositionals.at(index); }

    bool Has(const std::string& option) const { return mOptions.count(option) > 0; }
    // The last value given for the option, or fallback when it was not given.
    std::string Value(const std::string& option, const std::string& fallback = {}) const;
    // Every value given for a repeatable option, in command-line order.
    std::vector<std::string> Values(const std::string& option) const;

    // The generated help of one command, after "command help".
    const std::string& HelpText() const { return mHelpText; }

    // The usage text for every command.
    static std::string Usage();
    static const std::vector<CommandDefinition>& Commands();

private:
    std::string mCommand;
    std::vector<std::string> mPositionals;
    std::map<std::string, std::vector<std::string>> mOptions;
    std::string mHelpText;
};

} // namespace ombrelhost
