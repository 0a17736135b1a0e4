#pragma once
// Loads a plug-in module file the way an AAX host does: opens the library, resolves its seven
// exported entry points and calls them. Unloads on destruction.

#include "aax_library/host/IACFUnknown.h"
#include "platform/NonCopyable.h"

#include <string>

namespace testhost
{

class ModuleLoader : private NonCopyable
{
public:
    using RegisterPluginProc = ACFRESULT (*)(IACFUnknown*, IACFPluginDefinition**);
    using RegisterComponentProc = ACFRESULT (*)(IACFUnknown*, uint32_t, IACFUnknown**);
    using GetClassFactoryProc = ACFRESULT (*)(IACFUnknown*, const acfCLSID&, const acfIID&, void**);
    using CanUnloadNowProc = ACFRESULT (*)(IACFUnknown*);
    using StartupProc = ACFRESULT (*)(IACFUnknown*);
    using ShutdownProc = ACFRESULT (*)(IACFUnknown*);
    using GetSDKVersionProc = ACFRESULT (*)(uint64_t*);

    ModuleLoader() = default;
    explicit ModuleLoader(const std::string& path) { Load(path); }
    ~ModuleLoader() { Unload(); }

    // Opens the module and resolves all seven entry points; false (with Error()) when the file
    // cannot be opened or an entry point is missing, and then nothing stays loaded.
    bool Load(const std::string& path);
    // Closes the module; the host must have released every object of it first.
    void Unload();
    bool IsLoaded() const { return mHandle != nullptr; }
    const std::string& Error() const { return mError; }
    const std::string& Path() const { return mPath; }

    // The entry points; each answers ACF_E_UNEXPECTED when nothing is loaded.
    ACFRESULT RegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out) const;
    ACFRESULT RegisterComponent(IACFUnknown* host, uint32_t index, IACFUnknown** out) const;
    ACFRESULT GetClassFactory(IACFUnknown* host, const acfCLSID& classId, const acfIID& iid,
                              void** out) const;
    ACFRESULT CanUnloadNow(IACFUnknown* host) const;
    ACFRESULT Startup(IACFUnknown* host) const;
    ACFRESULT Shutdown(IACFUnknown* host) const;
    ACFRESULT GetSDKVersion(uint64_t* out) const;

    // Any other exported symbol, or null; for tests of what the module exports.
    void* Symbol(const char* name) const;

    // The module file inside a bundle's Contents/x64 folder.
    static std::string ModulePathInBundle(const std::string& bundleDir);

private:
    void* mHandle = nullptr;
    std::string mPath;
    std::string mError;
    RegisterPluginProc mRegisterPlugin = nullptr;
    RegisterComponentProc mRegisterComponent = nullptr;
    GetClassFactoryProc mGetClassFactory = nullptr;
    CanUnloadNowProc mCanUnloadNow = nullptr;
    StartupProc mStartup = nullptr;
    ShutdownProc mShutdown = nullptr;
    GetSDKVersionProc mGetSDKVersion = nullptr;
};

} // namespace testhost
