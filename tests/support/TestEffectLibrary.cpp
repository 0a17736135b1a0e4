#include "tests/support/TestEffectLibrary.h"

#include "tests/support/BuiltEffects.h"

#include <dlfcn.h>

#include <algorithm>
#include <stdexcept>

namespace
{

template <typename Proc> Proc lookUp(void* library, const char* name)
{
    return library != nullptr ? reinterpret_cast<Proc>(dlsym(library, name)) : nullptr;
}

// The log's calls are written while the effect runs; the count is published last.
int keptCalls(const TestEffectLog& log)
{
    return std::min(__atomic_load_n(&log.count, __ATOMIC_ACQUIRE), kTestEffectLogCapacity);
}

} // namespace

namespace
{

void* openLibrary(const std::string& file)
{
    return file.empty() ? nullptr : dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

TestEffectLibrary::TestEffectLibrary(const std::string& effectFile)
    : library(openLibrary(effectFile), dlclose)
{
    defaultsProc = lookUp<TestEffectDefaultsProc>(library.get(), kTestEffectDefaultsName);
    configureProc = lookUp<TestEffectConfigureProc>(library.get(), kTestEffectConfigureName);
    logProc = lookUp<TestEffectLogProc>(library.get(), kTestEffectLogName);
    callHostProc = lookUp<TestEffectCallHostProc>(library.get(), kTestEffectCallHostName);
}

TestEffectConfig TestEffectLibrary::defaults() const
{
    TestEffectConfig config{};
    if (defaultsProc != nullptr)
        defaultsProc(&config);
    return config;
}

void TestEffectLibrary::configure(const TestEffectConfig& config) const
{
    if (configureProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    configureProc(&config);
}

TestEffectLog& TestEffectLibrary::log() const
{
    if (logProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    return *logProc();
}

intptr_t TestEffectLibrary::callHostFromEffect(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                               float opt) const
{
    if (callHostProc == nullptr)
        throw std::logic_error("the installed library is no test effect");
    return callHostProc(opcode, index, value, ptr, opt);
}

void* TestEffectLibrary::symbol(const char* name) const
{
    return library != nullptr ? dlsym(library.get(), name) : nullptr;
}

TestEffectConfig testEffectDefaults()
{
    return TestEffectLibrary(testEffectPath()).defaults();
}

int findEffectCall(const TestEffectLog& log, int32_t kind, int32_t opcode, int from)
{
    const int kept = keptCalls(log);
    for (int i = std::max(from, 0); i < kept; ++i)
        if (log.calls[i].kind == kind && (kind == kTestCallProcess || log.calls[i].opcode == opcode))
            return i;
    return -1;
}

int countDispatcherCalls(const TestEffectLog& log, int32_t opcode)
{
    const int kept = keptCalls(log);
    int count = 0;
    for (int i = 0; i < kept; ++i)
        if (log.calls[i].kind == kTestCallDispatcher && log.calls[i].opcode == opcode)
            ++count;
    return count;
}

std::vector<int32_t> dispatcherOpcodes(const TestEffectLog& log)
{
    std::vector<int32_t> opcodes;
    const int kept = keptCalls(log);
    for (int i = 0; i < kept; ++i)
        if (log.calls[i].kind == kTestCallDispatcher)
            opcodes.push_back(log.calls[i].opcode);
    return opcodes;
}
