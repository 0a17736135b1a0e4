#include "host_kit/ModuleLoader.h"

#include "host_kit/SharedLibrary.h"

namespace testhost
{

namespace
{
template <class Proc> bool Resolve(void* handle, const char* name, Proc* proc, std::string* error)
{
    *proc = reinterpret_cast<Proc>(SharedLibrarySymbol(handle, name));
    if (*proc == nullptr && error->empty())
        *error = std::string("missing entry point ") + name;
    return *proc != nullptr;
}
} // namespace

bool ModuleLoader::Load(const std::string& path)
{
    Unload();
    mError.clear();
    mPath = path;
    void* handle = OpenSharedLibrary(path, &mError);
    if (handle == nullptr)
        return false;
    bool complete = true;
    complete &= Resolve(handle, "ACFRegisterPlugin", &mRegisterPlugin, &mError);
    complete &= Resolve(handle, "ACFRegisterComponent", &mRegisterComponent, &mError);
    complete &= Resolve(handle, "ACFGetClassFactory", &mGetClassFactory, &mError);
    complete &= Resolve(handle, "ACFCanUnloadNow", &mCanUnloadNow, &mError);
    complete &= Resolve(handle, "ACFStartup", &mStartup, &mError);
    complete &= Resolve(handle, "ACFShutdown", &mShutdown, &mError);
    complete &= Resolve(handle, "ACFGetSDKVersion", &mGetSDKVersion, &mError);
    mHandle = handle;
    if (!complete)
    {
        const std::string error = mError;
        Unload();
        mError = error;
        return false;
    }
    return true;
}

void ModuleLoader::Unload()
{
    if (mHandle != nullptr)
        CloseSharedLibrary(mHandle);
    mHandle = nullptr;
    mRegisterPlugin = nullptr;
    mRegisterComponent = nullptr;
    mGetClassFactory = nullptr;
    mCanUnloadNow = nullptr;
    mStartup = nullptr;
    mShutdown = nullptr;
    mGetSDKVersion = nullptr;
}

ACFRESULT ModuleLoader::RegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out) const
{
    return mRegisterPlugin != nullptr ? mRegisterPlugin(host, out) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::RegisterComponent(IACFUnknown* host, uint32_t index, IACFUnknown** out) const
{
    return mRegisterComponent != nullptr ? mRegisterComponent(host, index, out) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::GetClassFactory(IACFUnknown* host, const acfCLSID& classId, const acfIID& iid,
                                        void** out) const
{
    return mGetClassFactory != nullptr ? mGetClassFactory(host, classId, iid, out) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::CanUnloadNow(IACFUnknown* host) const
{
    return mCanUnloadNow != nullptr ? mCanUnloadNow(host) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::Startup(IACFUnknown* host) const
{
    return mStartup != nullptr ? mStartup(host) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::Shutdown(IACFUnknown* host) const
{
    return mShutdown != nullptr ? mShutdown(host) : ACF_E_UNEXPECTED;
}

ACFRESULT ModuleLoader::GetSDKVersion(uint64_t* out) const
{
    return mGetSDKVersion != nullptr ? mGetSDKVersion(out) : ACF_E_UNEXPECTED;
}

void* ModuleLoader::Symbol(const char* name) const
{
    return mHandle != nullptr && name != nullptr ? SharedLibrarySymbol(mHandle, name) : nullptr;
}

std::string ModuleLoader::ModulePathInBundle(const std::string& bundleDir)
{
    return bundleDir + "/Ombrel.aaxplugin";
}

} // namespace testhost
