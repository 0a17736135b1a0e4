#pragma once
// One module as the reference host uses it: found from what the user typed, loaded, started and
// registered as an AAX host does, with its plug-in instances made from the description, and
// everything given back in the right order at the end (instances, shut-down, unload).

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Properties.h"
#include "platform/NonCopyable.h"
#include "tools/host/session/ChannelLayout.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#include <memory>
#include <string>
#include <vector>

namespace ombrelhost
{

class ModuleSession : private NonCopyable
{
public:
    ModuleSession();
    ~ModuleSession();

    // [host thread] finds the module (a module file, or a bundle folder with Contents/x64 inside),
    // loads it, and runs start-up and registration. False with a reason when any step fails.
    bool Open(const std::string& moduleArgument, std::string& error);
    // [host thread] releases the instances, shuts the module down and unloads it. Also run by the
    // destructor.
    void Close();

    const std::string& ModulePath() const { return mModulePath; }
    testhost::TestHost& Host() { return *mHost; }
    const testhost::ScanResult& Scan() const { return mScan; }
    // The first effect of the description (Open fails without one).
    const testhost::EffectDescription& Effect() const { return mScan.description.effects.front(); }
    std::string EffectName() const;

    // The component declaring the layout's stem formats, or null.
    const testhost::ComponentDescription* Component(ChannelLayout layout) const;
    // The layouts of the description's components, in its order (those with named stem formats).
    std::vector<ChannelLayout> DescribedLayouts() const;
    // Stereo when the module offers it, else the first layout it describes.
    ChannelLayout DefaultLayout() const;
    // The layout of the component declaring this native plug-in id, if any.
    bool LayoutOfPlugInId(int32_t plugInId, ChannelLayout& layout) const;

    // [host thread] a new, initialised data-model object for the layout at the sample rate, owned
    // by the session, settled unless told not to. Null with a reason when the module does not offer it.
    testhost::DataModelInstance* NewDataModel(ChannelLayout layout, double sampleRate, std::string& error,
                                              bool settle = true);
    // [host thread] gives one instance back now (with the GUIs made for it), as a host closing it.
    void ReleaseDataModel(testhost::DataModelInstance* dataModel);
    // [host thread] a new, initialised GUI object for a plug-in instance, owned by the session.
    testhost::GuiInstance* NewGui(testhost::DataModelInstance& dataModel, std::string& error);

    // [host thread] handles what a new instance asked of the host while it initialised: the
    // messages it posted (on a host whose thread serves them) and its automation requests. The
    // module is at rest once Initialize returns, so nothing here waits.
    static void Settle(testhost::DataModelInstance& dataModel);

    // [host thread] checks the identifier against the published ones; the reason lists them.
    static bool CheckParameterId(testhost::DataModelInstance& dataModel, const std::string& id,
                                 std::string& error);
    // [host thread] the host's own write of a parameter (automation or a control of the host), then
    // the requests the module posted in return, as a host accepts them.
    static AAX_Result WriteParameter(testhost::DataModelInstance& dataModel, const std::string& id,
                                     double value);

    // What the user may type for MODULE, turned into the module file's path.
    static bool ResolveModulePath(const std::string& argument, std::string& path, std::string& error);

private:
    std::unique_ptr<testhost::TestHost> mHost;
    testhost::ModuleLoader mLoader;
    testhost::ScanResult mScan;
    std::string mModulePath;
    bool mStarted = false;
    // Released in reverse order of creation: GUIs before the data models they refer to.
    std::vector<std::unique_ptr<testhost::GuiInstance>> mGuis;
    std::vector<std::unique_ptr<testhost::DataModelInstance>> mDataModels;
};

} // namespace ombrelhost
