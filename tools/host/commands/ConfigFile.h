#pragma once
// A command's options from a JSON file (`validate --config FILE`): each key is an option's name
// without its dashes, each value the option's value, checked by the option's own validators. An
// option given on the command line keeps that value. CLI11 reads configuration files only for the
// top-level command, so a command applies the file itself, after the command line is parsed.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace ombrelhost
{

// The JSON type a key of the file must have.
enum class ConfigValue
{
    Text,   // a string
    Number, // a number
    Switch, // true or false (a flag)
};

struct ConfigurableOption
{
    CLI::Option* option;
    ConfigValue value;
};

class ConfigFile
{
public:
    // [host thread] Reads the file and gives each option the file sets and the command line did
    // not its value, as if it had been given. False with a reason naming the file and the key
    // (an unreadable file or one that is not a JSON object, an unknown key, a value of the wrong
    // type or one the option's validator refuses).
    static bool Apply(const std::string& path, const std::vector<ConfigurableOption>& options, std::string& error);
};

} // namespace ombrelhost
