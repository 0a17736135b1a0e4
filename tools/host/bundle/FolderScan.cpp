#include "tools/host/bundle/FolderScan.h"

#include "aax_adapter/PlugInIdentity.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/reports/PlugInCategories.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/bundle/BundleFolder.h"
#include "tools/host/bundle/FolderIdentifiers.h"

#include "tools/host/reports/Utf8String.h"

#include <juce_core/juce_core.h>

#include <cstdio>

namespace ombrelhost
{

namespace
{

struct ScannedBundle
{
    BundlePaths paths;
    std::string modulePath; // as loaded
    std::string error;      // why it is not listed; empty when it is
    std::string effectName;
    std::string manufacturer;
    std::string effectId;
    std::vector<uint32_t> categories;
    BundleIdentifiers identifiers;
};

ScannedBundle ScanBundle(const BundlePaths& paths)
{
    ScannedBundle scanned;
    scanned.paths = paths;
    std::string fault;
    // A fault is reported from the file, as the module itself would report it, without loading a
    // module that would describe nothing.
    if (!ReadBundleIdentifiers(paths, scanned.identifiers, &fault))
    {
        scanned.error = fault;
        return scanned;
    }
    ModuleSession session;
    std::string error;
    if (!session.Open(paths.module, error))
    {
        scanned.error = "ombrel-host: " + paths.FolderName() + ": " + error;
        return scanned;
    }
    scanned.modulePath = session.ModulePath();
    const testhost::Description& description = session.Scan().description;
    const testhost::EffectDescription& effect = session.Effect();
    scanned.effectName = session.EffectName();
    scanned.manufacturer = description.manufacturerName;
    scanned.effectId = effect.effectId;
    scanned.categories = effect.categories;
    scanned.identifiers = IdentifiersOfDescription(paths.FolderName(), description);
    return scanned;
}

std::string Code(uint32_t code)
{
    return "'" + AAXClasses::fourCharacterText(code) + "'";
}

void PrintText(const std::string& directory, const std::vector<ScannedBundle>& bundles,
               const std::vector<std::string>& clashes)
{
    size_t listed = 0;
    for (const ScannedBundle& bundle : bundles)
    {
        if (!bundle.error.empty())
            continue;
        ++listed;
        std::printf("%s\n", bundle.paths.FolderName().c_str());
        std::printf("  module           %s\n", bundle.modulePath.c_str());
        std::printf("  effect           %s by %s, %s\n", QuotedText(bundle.effectName).c_str(),
                    QuotedText(bundle.manufacturer).c_str(), bundle.effectId.c_str());
        for (const uint32_t category : bundle.categories)
            std::printf("  category         %s\n", CategoryText(category).c_str());
        std::printf("  manufacturer id  %s\n", Code(bundle.identifiers.manufacturerId).c_str());
        std::printf("  product id       %s\n", Code(bundle.identifiers.productId).c_str());
        for (const BundleIdentifiers::PlugIn& plugIn : bundle.identifiers.plugIns)
        {
            std::string layout = plugIn.layout;
            layout.resize(std::max<size_t>(layout.size(), 15), ' ');
            std::printf("  %s  native %s  AudioSuite %s\n", layout.c_str(), Code(plugIn.nativeId).c_str(),
                        Code(plugIn.audioSuiteId).c_str());
        }
        std::printf("\n");
    }
    const size_t errors = bundles.size() - listed + clashes.size();
    std::printf("%zu effect%s in %s, %zu error%s\n", listed, listed == 1 ? "" : "s", directory.c_str(),
                errors, errors == 1 ? "" : "s");
}

void PrintJson(const std::vector<ScannedBundle>& bundles, const std::vector<std::string>& clashes)
{
    juce::Array<juce::var> list;
    for (const ScannedBundle& bundle : bundles)
    {
        auto entry = std::make_unique<juce::DynamicObject>();
        entry->setProperty("bundle", Utf8String(bundle.paths.folder));
        if (!bundle.error.empty())
            entry->setProperty("error", Utf8String(bundle.error));
        else
        {
            entry->setProperty("module", Utf8String(bundle.modulePath));
            entry->setProperty("name", Utf8String(bundle.effectName));
            entry->setProperty("manufacturer", Utf8String(bundle.manufacturer));
            entry->setProperty("effectId", Utf8String(bundle.effectId));
            entry->setProperty("manufacturerId",
                               Utf8String(AAXClasses::fourCharacterText(bundle.identifiers.manufacturerId)));
            entry->setProperty("productId",
                               Utf8String(AAXClasses::fourCharacterText(bundle.identifiers.productId)));
            juce::Array<juce::var> plugIns;
            for (const BundleIdentifiers::PlugIn& plugIn : bundle.identifiers.plugIns)
            {
                auto item = std::make_unique<juce::DynamicObject>();
                item->setProperty("layout", Utf8String(plugIn.layout));
                item->setProperty("nativeId", Utf8String(AAXClasses::fourCharacterText(plugIn.nativeId)));
                item->setProperty("audioSuiteId",
                                  Utf8String(AAXClasses::fourCharacterText(plugIn.audioSuiteId)));
                plugIns.add(juce::var(item.release()));
            }
            entry->setProperty("configurations", plugIns);
        }
        list.add(juce::var(entry.release()));
    }
    juce::Array<juce::var> clashList;
    for (const std::string& clash : clashes)
        clashList.add(Utf8String(clash));
    auto root = std::make_unique<juce::DynamicObject>();
    root->setProperty("bundles", list);
    root->setProperty("clashes", clashList);
    std::printf("%s\n", juce::JSON::toString(juce::var(root.release())).toRawUTF8());
}

} // namespace

int ScanFolder(const std::string& directory, bool json)
{
    std::vector<ScannedBundle> bundles;
    std::vector<BundleIdentifiers> described;
    bool failed = false;
    for (const BundlePaths& paths : BundlesInFolder(directory))
    {
        bundles.push_back(ScanBundle(paths));
        if (bundles.back().error.empty())
            described.push_back(bundles.back().identifiers);
        else
        {
            std::fprintf(stderr, "%s\n", bundles.back().error.c_str());
            failed = true;
        }
    }
    const std::vector<std::string> clashes = ClashesAmong(described);
    for (const std::string& clash : clashes)
        Fail(clash);
    if (json)
        PrintJson(bundles, clashes);
    else
        PrintText(directory, bundles, clashes);
    return failed || !clashes.empty() ? kExitFailure : kExitSuccess;
}

} // namespace ombrelhost
