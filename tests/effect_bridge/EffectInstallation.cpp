#include "tests/effect_bridge/EffectInstallation.h"

#include <cstdio>
#include <cstring>
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

} // namespace

EffectInstallation::EffectInstallation(const std::string& effectLibrary, const std::string& bundle,
                                       Control mode)
    : bundleFolder(rootFolder.path() + "/" + bundle)
{
    layOutBundle(bundleFolder, "", effectLibrary);
    if (!effectLibrary.empty() && mode == Control::TestEffect)
        control = std::make_unique<TestEffectLibrary>(effectFile());

    previousCalls = platform::calls();
    fakeModuleFile = moduleFile();
    capturedMessages.clear();
    platform::calls().getModuleFileName = installedModuleFileName;
    platform::calls().messageBox = captureMessage;
}

EffectInstallation::~EffectInstallation()
{
    platform::calls() = previousCalls;
}

const std::vector<std::string>& EffectInstallation::messages()
{
    return capturedMessages;
}

const TestEffectLibrary& EffectInstallation::testEffect() const
{
    if (control == nullptr)
        throw std::logic_error("no test effect is installed under control");
    return *control;
}
