#include "tests/effect_bridge/EffectInstallation.h"

#include <dlfcn.h>
#include <algorithm>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace
{

std::string fakeModuleFile;
std::vector<std::string> capturedMessages;

uint32_t installedModuleFileName(platform::ModuleHandle, char* fileName, uint32_t size)
{
    std::snprintf(fileName, size, "%s", fakeModuleFile.c_str());
    return static_cast<uint32_t>(std::strlen(fileName));
}

int32_t captureMessage(void*, const char* text, const char*, uint32_t)
{
    capturedMessages.emplace_back(text != nullptr ? text : "");
    return platform::kMessageBoxAnswerOk;
}

template <typename Proc> Proc lookUp(void* library, const char* name)
{
    return reinterpret_cast<Proc>(dlsym(library, name));
}

} // namespace

EffectInstallation::EffectInstallation(const std::string& effectLibrary, const std::string& bundle,
                                       Control mode)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/ombrel-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    rootFolder = pattern;
    bundleFolder = rootFolder + "/" + bundle;
    std::filesystem::create_directories(bundleFolder);
    if (!effectLibrary.empty())
    {
        std::filesystem::copy_file(effectLibrary, effectFile());
        if (mode == Control::TestEffect)
            control = dlopen(effectFile().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (control != nullptr)
        {
            defaultsProc = lookUp<TestEffectDefaultsProc>(control, kTestEffectDefaultsName);
            configureProc = lookUp<TestEffectConfigureProc>(control, kTestEffectConfigureName);
            logProc = lookUp<TestEffectLogProc>(control, kTestEffectLogName);
            callHostProc = lookUp<TestEffectCallHostProc>(control, kTestEffectCallHostName);
        }
    }

    previousCalls = platform::calls();
    fakeModuleFile = moduleFile();
    capturedMessages.clear();
    platform::calls().getModuleFileName = installedModuleFileName;
    platform::calls().messageBox = captureMessage;
}

EffectInstallation::~EffectInstallation()
{
    platform::calls() = previousCalls;
    if (control != nullptr)
        dlclose(control);
    std::error_code ignored;
    std::filesystem::remove_all(rootFolder, ignored);
}

const std::vector<std::string>& EffectInstallation::messages()
{
    return capturedMessages;
}

TestEffectConfig EffectInstallation::defaults() const
{
    TestEffectConfig config{};
    if (defaultsProc != nullptr)
        defaultsProc(&config);
    return config;
}

void EffectInstallation::configure(const TestEffectConfig& config) const
{
    if (configureProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    configureProc(&config);
}

TestEffectLog& EffectInstallation::log() const
{
    if (logProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    return *logProc();
}

intptr_t EffectInstallation::callHostFromEffect(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                                float opt) const
{
    if (callHostProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    return callHostProc(opcode, index, value, ptr, opt);
}

std::string testEffectPath()
{
    return OMBREL_TEST_EFFECT;
}

std::string testEffectMainOnlyPath()
{
    return OMBREL_TEST_EFFECT_MAIN_ONLY;
}

std::string testEffectVstPluginMainOnlyPath()
{
    return OMBREL_TEST_EFFECT_VST_PLUGIN_MAIN_ONLY;
}

std::string testEffectNoEntryPath()
{
    return OMBREL_TEST_EFFECT_NO_ENTRY;
}

int findCall(const TestEffectLog& log, int32_t kind, int32_t opcode, int from)
{
    const int kept = std::min(log.count, kTestEffectLogCapacity);
    for (int i = std::max(0, from); i < kept; ++i)
        if (log.calls[i].kind == kind && log.calls[i].opcode == opcode)
            return i;
    return -1;
}

std::vector<int32_t> dispatcherOpcodes(const TestEffectLog& log)
{
    std::vector<int32_t> opcodes;
    const int kept = std::min(log.count, kTestEffectLogCapacity);
    for (int i = 0; i < kept; ++i)
        if (log.calls[i].kind == kTestCallDispatcher)
            opcodes.push_back(log.calls[i].opcode);
    return opcodes;
}
