#include "tests/aax_adapter/ModuleBundle.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace
{

constexpr const char* kInstalledBundle = "Plug-Ins/Ombrel.aaxplugin/Contents/x64";

template <typename Proc> Proc lookUp(void* library, const char* name)
{
    return reinterpret_cast<Proc>(dlsym(library, name));
}

} // namespace

ModuleBundle::ModuleBundle(const std::string& effectLibrary)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/ombrel-adapter-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    rootFolder = pattern;
    bundleFolder = rootFolder + "/" + kInstalledBundle;
    std::filesystem::create_directories(bundleFolder);
    std::filesystem::copy_file(builtModulePath(), moduleFile());
    if (effectLibrary.empty())
        return;
    std::filesystem::copy_file(effectLibrary, effectFile());
    control = dlopen(effectFile().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (control == nullptr)
        return;
    defaultsProc = lookUp<TestEffectDefaultsProc>(control, kTestEffectDefaultsName);
    configureProc = lookUp<TestEffectConfigureProc>(control, kTestEffectConfigureName);
    logProc = lookUp<TestEffectLogProc>(control, kTestEffectLogName);
    callHostProc = lookUp<TestEffectCallHostProc>(control, kTestEffectCallHostName);
}

ModuleBundle::~ModuleBundle()
{
    if (control != nullptr)
        dlclose(control);
    // A sanitizer symbolizes a report from the module's file on disk, found by the path it was
    // loaded from, also for a module later loaded at the same address: sanitizer runs keep every
    // copy (in a temporary folder of their own) so that each report names the module's functions.
    if (std::getenv("OMBREL_KEEP_TEST_BUNDLES") != nullptr)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(rootFolder, ignored);
}

TestEffectConfig ModuleBundle::defaults() const
{
    TestEffectConfig config{};
    if (defaultsProc != nullptr)
        defaultsProc(&config);
    return config;
}

void ModuleBundle::configure(const TestEffectConfig& config) const
{
    if (configureProc != nullptr)
        configureProc(&config);
}

TestEffectLog& ModuleBundle::log() const
{
    if (logProc == nullptr)
        throw std::logic_error("the installed effect is not a test effect");
    return *logProc();
}

intptr_t ModuleBundle::callHostFromEffect(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                          float opt) const
{
    return callHostProc != nullptr ? callHostProc(opcode, index, value, ptr, opt) : 0;
}

void* ModuleBundle::effectSymbol(const char* name) const
{
    return control != nullptr ? dlsym(control, name) : nullptr;
}

std::string builtModulePath()
{
    return OMBREL_MODULE_FILE;
}

std::string testEffectPath()
{
    return OMBREL_TEST_EFFECT;
}

std::string exampleDelayPath()
{
    return OMBREL_EXAMPLE_DELAY;
}

std::string dualDelayPath()
{
    return "/usr/lib/lxvst/iem.at/libDualDelay.so";
}

TestEffectConfig testEffectDefaults()
{
    TestEffectConfig config{};
    if (void* library = dlopen(testEffectPath().c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (auto defaults = lookUp<TestEffectDefaultsProc>(library, kTestEffectDefaultsName))
            defaults(&config);
        dlclose(library);
    }
    return config;
}

int findEffectCall(const TestEffectLog& log, int32_t kind, int32_t opcode, int from)
{
    const int kept = std::min(__atomic_load_n(&log.count, __ATOMIC_ACQUIRE), kTestEffectLogCapacity);
    for (int i = std::max(from, 0); i < kept; ++i)
        if (log.calls[i].kind == kind && (kind == kTestCallProcess || log.calls[i].opcode == opcode))
            return i;
    return -1;
}

int countDispatcherCalls(const TestEffectLog& log, int32_t opcode)
{
    const int kept = std::min(__atomic_load_n(&log.count, __ATOMIC_ACQUIRE), kTestEffectLogCapacity);
    int count = 0;
    for (int i = 0; i < kept; ++i)
        if (log.calls[i].kind == kTestCallDispatcher && log.calls[i].opcode == opcode)
            ++count;
    return count;
}
