// `bundle EFFECT --out DIR`: a bundle for a VST 2 effect of the user's, ready to validate and to
// install. What the user leaves out is read from the effect (in a child process, since a third-party
// effect may crash as it starts) or derived; the module's own reader checks the identity before any
// file is written, and no identifier of another bundle in DIR may be taken again.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"

#include "aax_adapter/PlugInIdentityReader.h"
#include "tools/host/reports/PlugInCategories.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/session/StemFormatNames.h"
#include "tools/host/bundle/BundleFolder.h"
#include "tools/host/bundle/BundlePlan.h"
#include "tools/host/bundle/EffectProbe.h"
#include "tools/host/bundle/FolderIdentifiers.h"
#include "tools/host/bundle/IdentifierClashes.h"
#include "tools/host/validate/ChildProcess.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

namespace ombrelhost
{

namespace
{

namespace fs = std::filesystem;

// Characters no file name on either system may hold; each becomes '_' in the bundle's file names.
constexpr const char* kUnsafeFileNameCharacters = "/\\:*?\"<>|";

struct BundleOptions
{
    std::string effect;
    std::string out;
    std::optional<std::string> module;
    std::string probeInto;
    BundleRequest request;
};

std::string Absolute(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// The module of this build: bin/ombrel-host beside Plug-Ins/Ombrel.aaxplugin.
std::string BuiltModulePath()
{
    const fs::path program(CurrentProgramPath());
    return (program.parent_path().parent_path() / "Plug-Ins" / "Ombrel.aaxplugin" / "Contents" / "x64" /
            "Ombrel.aaxplugin")
        .string();
}

std::string FileNameOf(const std::string& name)
{
    std::string fileName;
    for (const char character : name)
        fileName += (static_cast<uint8_t>(character) < 0x20 ||
                     std::string(kUnsafeFileNameCharacters).find(character) != std::string::npos)
                        ? '_'
                        : character;
    // Windows drops a trailing dot or space from a file name, and a leading dot hides it elsewhere.
    if (!fileName.empty() && (fileName.back() == '.' || fileName.back() == ' '))
        fileName.back() = '_';
    if (!fileName.empty() && fileName.front() == '.')
        fileName.front() = '_';
    return fileName;
}

// A path as a shell word: as it is when that is safe, else in single quotes.
std::string ShellWord(const std::string& text)
{
    if (!text.empty() && text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                "0123456789/._+-:=@,") == std::string::npos)
        return text;
    std::string word = "'";
    for (const char character : text)
        word += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return word + "'";
}

int AnswerProbe(const BundleOptions& options)
{
    EffectFacts facts;
    std::string error;
    if (!ReadEffectFacts(options.effect, facts, error))
        return Fail(error);
    std::ofstream answers(options.probeInto, std::ios::binary | std::ios::trunc);
    answers << facts.ToJson();
    return answers.good() ? kExitSuccess : Fail("cannot write " + options.probeInto);
}

bool CopyInto(const std::string& from, const std::string& to, std::string& error)
{
    std::error_code code;
    if (fs::copy_file(from, to, fs::copy_options::overwrite_existing, code))
        return true;
    error = "cannot copy " + from + " to " + to + ": " + code.message();
    return false;
}

// The bundle's folders and files, over an older bundle of the same name.
bool Assemble(const BundlePaths& paths, const std::string& module, const std::string& effect,
              const std::string& identityJson, std::string& error)
{
    std::error_code code;
    fs::remove_all(paths.folder, code);
    fs::create_directories(paths.binaryFolder, code);
    fs::create_directories(fs::path(paths.identity).parent_path(), code);
    if (code)
    {
        error = "cannot make " + paths.folder + ": " + code.message();
        return false;
    }
    if (!CopyInto(module, paths.module, error) || !CopyInto(effect, paths.effect, error))
        return false;
    std::ofstream identity(paths.identity, std::ios::binary | std::ios::trunc);
    identity << identityJson;
    identity.close();
    if (!identity)
    {
        error = "cannot write " + paths.identity;
        return false;
    }
    return true;
}

// facts: what the effect answered, null when it could not be asked.
void PrintReport(const BundlePaths& paths, bool replaced, const EffectFacts* facts, const BundlePlan& plan,
                 const AAXClasses::PlugInIdentity& identity)
{
    auto origin = [&plan](const std::string& field)
    {
        for (const auto& [name, text] : plan.origins)
            if (name == field)
                return "  (" + text + ")";
        return std::string();
    };
    std::printf("bundle           %s%s\n", paths.folder.c_str(), replaced ? " (replaced)" : "");
    if (facts != nullptr)
    {
        std::printf("effect           %s by %s: %d inputs, %d outputs, latency %d samples\n",
                    QuotedText(facts->name).c_str(), QuotedText(facts->vendor).c_str(), facts->inputs,
                    facts->outputs, facts->latency);
        std::string served;
        for (const std::string& layout : LayoutsServedBy(*facts))
            served += (served.empty() ? "" : ", ") + layout;
        std::printf("serves           %s\n", served.empty() ? "no layout of the table" : served.c_str());
    }
    else
        std::printf(
            "effect           not a library of this system: not asked; the module checks its channels\n");
    std::printf("name             %s%s\n", QuotedText(identity.name).c_str(), origin("name").c_str());
    std::printf("manufacturer     %s%s\n", QuotedText(identity.manufacturer).c_str(),
                origin("manufacturer").c_str());
    std::printf("manufacturer id  '%s'%s\n", AAXClasses::fourCharacterText(identity.manufacturerId).c_str(),
                origin("manufacturer id").c_str());
    std::printf("product id       '%s'%s\n", AAXClasses::fourCharacterText(identity.productId).c_str(),
                origin("product id").c_str());
    std::printf("effect id        %s\n", identity.effectId.c_str());
    std::printf("category         %s%s\n", CategoryText(identity.category).c_str(),
                origin("category").c_str());
    std::printf("layouts%s\n", origin("layouts").c_str());
    for (const AAXClasses::ChannelConfiguration& configuration : identity.configurations)
    {
        std::string layout = LayoutNameOf(NameOfStemFormat(configuration.inputFormat),
                                          NameOfStemFormat(configuration.outputFormat));
        layout.resize(std::max<size_t>(layout.size(), 15), ' ');
        std::printf("  %s  native '%s'  AudioSuite '%s'\n", layout.c_str(),
                    AAXClasses::fourCharacterText(configuration.nativePlugInID).c_str(),
                    AAXClasses::fourCharacterText(configuration.audioSuitePlugInID).c_str());
    }
    std::printf("\nnext: ombrel-host validate %s\n", ShellWord(paths.folder).c_str());
}

int MakeBundle(const BundleOptions& options)
{
    if (!options.probeInto.empty())
        return AnswerProbe(options);

    std::error_code code;
    if (!fs::is_regular_file(options.effect, code))
        return Fail(options.effect + ": no such effect file");
    std::string module = BuiltModulePath();
    std::string error;
    if (options.module && !ModuleSession::ResolveModulePath(*options.module, module, error))
        return Fail(error);
    if (!fs::is_regular_file(module, code))
        return Fail("no module at " + module + " (build it, or name one with --module)");
    if (fs::exists(options.out, code) && !fs::is_directory(options.out, code))
        return Fail("--out " + options.out + " is not a folder");

    EffectFacts facts;
    const bool readable = IsLibraryOfThisSystem(options.effect);
    if (readable && !ProbeEffect(CurrentProgramPath(), Absolute(options.effect), facts, error))
        return Fail(error);
    if (!readable)
    {
        // A Windows effect bundled on Linux (or the other way round) cannot be asked: what the
        // module needs comes from the options, and the module checks the channels once loaded.
        const BundleRequest& request = options.request;
        if (!request.name || !request.manufacturer || !request.layouts)
            return Fail(options.effect +
                        " is not a library of this system, so it cannot be asked about itself: "
                        "give --name, --manufacturer and --layouts, or bundle it on its own system");
        facts.name = *request.name;
        facts.vendor = *request.manufacturer;
    }
    BundlePlan plan;
    if (!PlanBundle(options.request, facts, plan, error))
        return Fail(error);

    const BundlePaths paths = BundlePaths::In(options.out, FileNameOf(plan.identity.name));
    const std::string identityJson = plan.identity.ToJson();
    // The module's own reader judges the file, so that the user meets its faults here, in its words,
    // rather than as a plug-in the host does not list.
    const AAXClasses::IdentityReading reading = AAXClasses::readPlugInIdentity(identityJson);
    AAXClasses::IdentityFault fault = reading.fault;
    if (!reading.valid ||
        (readable && !AAXClasses::checkDeclaredChannels(reading.identity, facts.inputs, facts.outputs,
                                                        fs::path(paths.effect).filename().string(), fault)))
    {
        std::fprintf(stderr, "%s\n", AAXClasses::identityFaultLine(Absolute(paths.identity), fault).c_str());
        return kExitFailure;
    }

    const std::vector<BundlePaths> existing = BundlesInFolder(options.out);
    std::vector<BundleIdentifiers> others;
    bool replaced = false;
    for (const BundlePaths& other : existing)
    {
        if (other.name == paths.name)
        {
            replaced = true;
            continue;
        }
        BundleIdentifiers identifiers;
        if (ReadBundleIdentifiers(other, identifiers))
            others.push_back(identifiers);
    }
    const std::vector<std::string> clashes =
        ClashesWith(IdentifiersOfIdentity(paths.FolderName(), reading.identity), others);
    if (!clashes.empty())
    {
        for (const std::string& clash : clashes)
            Fail(clash);
        return Fail("no bundle made: give codes of its own with --manufacturer-id or --product-id");
    }
    if (!replaced && fs::exists(paths.folder, code))
        return Fail(paths.folder + " exists and is no bundle: no bundle made");

    fs::create_directories(options.out, code);
    if (!Assemble(paths, module, options.effect, identityJson, error))
        return Fail(error);
    PrintReport(paths, replaced, readable ? &facts : nullptr, plan, reading.identity);
    return kExitSuccess;
}

} // namespace

void RegisterBundleCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<BundleOptions>();
    CLI::App& command = registry.Add(
        "bundle", "a bundle of its own for a VST 2 effect: the module, the effect and its identity",
        [options] { return MakeBundle(*options); });
    command.add_option("EFFECT", options->effect, "the VST 2 effect library")->required();
    command.add_option("--out", options->out, "the plug-in folder the bundle goes into")
        ->required()
        ->type_name("DIR");
    BundleRequest& request = options->request;
    command.add_option("--name", request.name, "the effect's name (the effect's own)");
    command.add_option("--manufacturer", request.manufacturer,
                       "the manufacturer's name (the effect's vendor)");
    command.add_option("--manufacturer-id", request.manufacturerId,
                       "four characters (derived from the manufacturer)");
    command.add_option("--product-id", request.productId, "four characters (the effect's unique identifier)");
    command.add_option("--category", request.category, "a number or names joined by + (from the effect)")
        ->check(CLI::Validator(
            [](std::string& text)
            {
                return ParseCategory(text)
                           ? std::string()
                           : "must be a number or names joined by + (" + CategoryNames() + ")";
            },
            "CATEGORY"));
    command.add_option(
        "--layouts", request.layouts,
        "layout names separated by commas (those of mono, mono-stereo and stereo the effect has)");
    command.add_option("--module", options->module, "the module to copy (this build's)")->type_name("PATH");
    // The child that asks the effect about itself (EffectProbe.h); not for users.
    command.add_option(std::string("--") + kProbeIntoOption, options->probeInto)->group("");
}

} // namespace ombrelhost
