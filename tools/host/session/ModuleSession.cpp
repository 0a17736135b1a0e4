#include "tools/host/session/ModuleSession.h"

#include "aax_library/AAX_Types.h"
#include "host_kit/HostString.h"
#include "host_kit/MessagePump.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrelhost
{

namespace
{

constexpr const char* kModuleFileName = "Ombrel.aaxplugin";
constexpr const char* kModuleExtension = ".aaxplugin";

bool IsFile(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Made absolute but not resolved: the module looks for its effect beside the path it was loaded
// from, which for a bundle of links must stay the bundle's own folder.
std::string Absolute(const std::string& path)
{
    if (!path.empty() && path.front() == '/')
        return path;
#ifdef _WIN32
    // C:\..., C:/... and \\server\... are absolute too.
    if (path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\')))
        return path;
#endif
    char* folder = getcwd(nullptr, 0);
    if (folder == nullptr)
        return path;
    std::string result = std::string(folder) + "/" + (path.rfind("./", 0) == 0 ? path.substr(2) : path);
    std::free(folder);
    return result;
}

std::string ResultText(int32_t result)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d (0x%08X)", result, static_cast<unsigned>(result));
    return text;
}

// Checks an instance the module made and keeps it among owned, even one whose Initialize failed, so
// that it is given back in order at Close. The instance when it is ready; null with a reason otherwise.
template <class Instance>
Instance* KeepMade(std::unique_ptr<Instance> instance, std::vector<std::unique_ptr<Instance>>& owned,
                   const std::string& kind, std::string& error)
{
    if (!instance->IsValid())
    {
        error = "the module's " + kind + " factory gave no usable object (query answered " +
                ResultText(instance->QueryResult()) + ")";
        return nullptr;
    }
    owned.push_back(std::move(instance));
    Instance& kept = *owned.back();
    if (kept.InitializeResult() != AAX_SUCCESS)
    {
        error = "the " + kind + " object's Initialize failed with " + ResultText(kept.InitializeResult());
        return nullptr;
    }
    return &kept;
}

} // namespace

ModuleSession::ModuleSession() : mHost(std::make_unique<testhost::TestHost>())
{
    // The log records every host call; a long render would only make it grow.
    mHost->Log().SetEnabled(false);
}

ModuleSession::~ModuleSession()
{
    Close();
}

bool ModuleSession::ResolveModulePath(const std::string& argument, std::string& path, std::string& error)
{
    if (argument.empty())
    {
        error = "no module given";
        return false;
    }
    if (IsFile(argument))
    {
        path = Absolute(argument);
        return true;
    }
    if (!IsFolder(argument))
    {
        error = argument + ": no such file or folder";
        return false;
    }
    std::string folder = argument;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    // A bundle folder, the Contents/x64 folder itself, or the folder holding the bundle. A bundle is
    // named after its effect, NAME.aaxplugin/Contents/x64/NAME.aaxplugin; the build's own is Ombrel.
    const std::filesystem::path folderPath(folder);
    std::vector<std::string> candidates;
    if (folderPath.extension() == kModuleExtension)
        candidates.push_back(folder + "/Contents/x64/" + folderPath.filename().string());
    candidates.push_back(folder + "/Contents/x64/" + kModuleFileName);
    if (folderPath.filename() == "x64" && folderPath.parent_path().filename() == "Contents")
        candidates.push_back(folder + "/" + folderPath.parent_path().parent_path().filename().string());
    candidates.push_back(folder + "/" + kModuleFileName);
    candidates.push_back(folder + "/" + kModuleFileName + "/Contents/x64/" + kModuleFileName);
    for (const std::string& candidate : candidates)
        if (IsFile(candidate))
        {
            path = Absolute(candidate);
            return true;
        }
    error = argument + " is a folder without a module (looked for " + candidates[0] + ")";
    return false;
}

bool ModuleSession::Open(const std::string& moduleArgument, std::string& error)
{
    Close();
    if (!ResolveModulePath(moduleArgument, mModulePath, error))
        return false;
    if (!mLoader.Load(mModulePath))
    {
        const std::string& reason = mLoader.Error();
        if (reason.rfind("missing entry point", 0) == 0)
            error = mModulePath + " is not an AAX plug-in module: " + reason;
        else
            error = mModulePath + " is not a loadable module: " + reason;
        return false;
    }
    mScan = testhost::Scan(mLoader, *mHost);
    mStarted = true;
    if (mScan.startupResult != ACF_OK)
    {
        error = "the module's start-up (ACFStartup) failed with " + ResultText(mScan.startupResult);
        Close();
        return false;
    }
    if (mScan.registerResult != ACF_OK)
    {
        error =
            "the module's registration (ACFRegisterPlugin) failed with " + ResultText(mScan.registerResult);
        Close();
        return false;
    }
    if (mScan.description.effects.empty())
    {
        error = "the module registered without describing an effect";
        Close();
        return false;
    }
    return true;
}

void ModuleSession::Close()
{
    while (!mGuis.empty())
        mGuis.pop_back();
    while (!mDataModels.empty())
        mDataModels.pop_back();
    if (mStarted)
    {
        testhost::Shutdown(mLoader, *mHost);
        mStarted = false;
        const ACFRESULT live = mLoader.CanUnloadNow(mHost->Unknown());
        if (live != ACF_OK)
        {
            // Unloading under live objects would pull code from under them; keep it loaded.
            std::fprintf(stderr,
                         "ombrel-host: warning: the module still reports %d live objects; not unloading it\n",
                         live);
            return;
        }
    }
    mLoader.Unload();
}

std::string ModuleSession::EffectName() const
{
    const testhost::EffectDescription& effect = Effect();
    return effect.names.empty() ? effect.effectId : effect.names.front();
}

const testhost::ComponentDescription* ModuleSession::Component(ChannelLayout layout) const
{
    for (const testhost::ComponentDescription& component : Effect().components)
        if (component.Property(AAX_eProperty_InputStemFormat, -1) == InputStemFormat(layout) &&
            component.Property(AAX_eProperty_OutputStemFormat, -1) == OutputStemFormat(layout))
            return &component;
    return nullptr;
}

std::vector<ChannelLayout> ModuleSession::DescribedLayouts() const
{
    std::vector<ChannelLayout> layouts;
    for (const testhost::ComponentDescription& component : Effect().components)
        if (auto layout = ChannelLayoutOfStemFormats(component.Property(AAX_eProperty_InputStemFormat, -1),
                                                     component.Property(AAX_eProperty_OutputStemFormat, -1)))
            layouts.push_back(*layout);
    return layouts;
}

ChannelLayout ModuleSession::DefaultLayout() const
{
    const std::vector<ChannelLayout> layouts = DescribedLayouts();
    if (layouts.empty() || std::find(layouts.begin(), layouts.end(), ChannelLayout::Stereo) != layouts.end())
        return ChannelLayout::Stereo;
    return layouts.front();
}

bool ModuleSession::LayoutOfPlugInId(int32_t plugInId, ChannelLayout& layout) const
{
    for (const testhost::ComponentDescription& component : Effect().components)
        if (component.HasProperty(AAX_eProperty_PlugInID_Native) &&
            component.Property(AAX_eProperty_PlugInID_Native) == plugInId)
            if (auto found = ChannelLayoutOfStemFormats(component.Property(AAX_eProperty_InputStemFormat),
                                                        component.Property(AAX_eProperty_OutputStemFormat)))
            {
                layout = *found;
                return true;
            }
    return false;
}

testhost::DataModelInstance* ModuleSession::NewDataModel(ChannelLayout layout, double sampleRate,
                                                         std::string& error, bool settle)
{
    if (Component(layout) == nullptr)
    {
        error = std::string("the module describes no ") + ChannelLayoutName(layout) + " component";
        return nullptr;
    }
    const AAX_CCreateProc create = Effect().CreateProc(kAAX_ProcPtrID_Create_EffectParameters);
    if (create == nullptr)
    {
        error = "the module registered no data-model factory";
        return nullptr;
    }
    mHost->config.sampleRate = static_cast<float>(sampleRate);
    mHost->config.inputStemFormat = InputStemFormat(layout);
    mHost->config.outputStemFormat = OutputStemFormat(layout);
    testhost::DataModelInstance* dataModel = KeepMade(
        std::make_unique<testhost::DataModelInstance>(*mHost, create), mDataModels, "data-model", error);
    if (dataModel != nullptr && settle)
        Settle(*dataModel);
    return dataModel;
}

void ModuleSession::ReleaseDataModel(testhost::DataModelInstance* dataModel)
{
    mGuis.erase(std::remove_if(mGuis.begin(), mGuis.end(),
                               [dataModel](const std::unique_ptr<testhost::GuiInstance>& gui)
                               { return gui->Controller() == dataModel->Controller(); }),
                mGuis.end());
    mDataModels.erase(std::remove_if(mDataModels.begin(), mDataModels.end(),
                                     [dataModel](const std::unique_ptr<testhost::DataModelInstance>& instance)
                                     { return instance.get() == dataModel; }),
                      mDataModels.end());
}

testhost::GuiInstance* ModuleSession::NewGui(testhost::DataModelInstance& dataModel, std::string& error)
{
    const AAX_CCreateProc create = Effect().CreateProc(kAAX_ProcPtrID_Create_EffectGUI);
    if (create == nullptr)
    {
        error = "the module registered no GUI factory";
        return nullptr;
    }
    return KeepMade(std::make_unique<testhost::GuiInstance>(*mHost, create, &dataModel), mGuis, "GUI", error);
}

void ModuleSession::Settle(testhost::DataModelInstance& dataModel)
{
    // The module publishes every parameter at the effect's value of the moment and takes host
    // writes from then on, so a new instance needs no waiting: what it asked of the host while it
    // initialised (and the messages it posted, on a host whose thread serves them) is handled now.
    testhost::WaitServingMessages(std::chrono::milliseconds(0));
    dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
}

bool ModuleSession::CheckParameterId(testhost::DataModelInstance& dataModel, const std::string& id,
                                     std::string& error)
{
    const std::vector<std::string> published = dataModel.ParameterIds();
    if (std::find(published.begin(), published.end(), id) != published.end())
        return true;
    std::string known;
    for (const std::string& name : published)
        known += (known.empty() ? "" : ", ") + name;
    error = "unknown parameter ID `" + id + "` (this effect publishes: " + known + ")";
    return false;
}

AAX_Result ModuleSession::WriteParameter(testhost::DataModelInstance& dataModel, const std::string& id,
                                         double value)
{
    const AAX_Result result =
        dataModel->UpdateParameterNormalizedValue(id.c_str(), value, AAX_eUpdateSource_Unspecified);
    dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
    return result;
}

} // namespace ombrelhost
