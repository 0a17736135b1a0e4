#include "platform/PlatformCalls.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <sys/auxv.h>
#include <unistd.h>
#endif

namespace platform
{
namespace
{

#ifdef _WIN32

bool systemGetModuleHandleEx(uint32_t flags, const void* address, ModuleHandle* module)
{
    HMODULE handle = nullptr;
    const BOOL found = ::GetModuleHandleExA(static_cast<DWORD>(flags), static_cast<LPCSTR>(address), &handle);
    if (module != nullptr)
        *module = handle;
    return found != FALSE;
}

uint32_t systemGetModuleFileName(ModuleHandle module, char* fileName, uint32_t size)
{
    return ::GetModuleFileNameA(static_cast<HMODULE>(module), fileName, static_cast<DWORD>(size));
}

bool systemSetDllDirectory(const char* path)
{
    return ::SetDllDirectoryA(path) != FALSE;
}

uint32_t systemGetDllDirectory(uint32_t size, char* path)
{
    return ::GetDllDirectoryA(static_cast<DWORD>(size), path);
}

ModuleHandle systemLoadLibrary(const char* fileName)
{
    return ::LoadLibraryA(fileName);
}

void* systemGetProcAddress(ModuleHandle module, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

bool systemFreeLibrary(ModuleHandle module)
{
    return ::FreeLibrary(static_cast<HMODULE>(module)) != FALSE;
}

uint32_t systemGetLastError()
{
    return ::GetLastError();
}

int32_t systemMessageBox(void* owner, const char* text, const char* caption, uint32_t type)
{
    return ::MessageBoxA(static_cast<HWND>(owner), text, caption, static_cast<UINT>(type));
}

#else

// The failure code reported when the system loader fails without setting errno.
constexpr uint32_t kLoaderFailure = ELIBBAD;

thread_local uint32_t lastError = 0;

std::mutex dllDirectoryLock;
std::string dllDirectory; // guarded by dllDirectoryLock

void setLastErrorFromErrno(uint32_t fallback)
{
    lastError = errno != 0 ? static_cast<uint32_t>(errno) : fallback;
}

// The load address of the executable, for telling it apart from shared objects: the system loader
// names the executable's own mapping with an empty or argv-derived text.
const void* executableBase()
{
    Dl_info info{};
    const auto* programHeaders = reinterpret_cast<const void*>(getauxval(AT_PHDR));
    if (programHeaders != nullptr && dladdr(programHeaders, &info) != 0)
        return info.dli_fbase;
    return nullptr;
}

// An absolute form of a path without resolving symbolic links, as Windows reports module names.
std::string absolutePath(const char* path)
{
    if (path[0] == '/')
        return path;
    char workingDirectory[PATH_MAX];
    if (getcwd(workingDirectory, sizeof(workingDirectory)) == nullptr)
        return path;
    std::string result = workingDirectory;
    const char* relative = path;
    while (std::strncmp(relative, "./", 2) == 0)
        relative += 2;
    return result + "/" + relative;
}

std::string executablePath()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return {};
    path[length] = '\0';
    return path;
}

bool systemGetModuleHandleEx(uint32_t flags, const void* address, ModuleHandle* module)
{
    if (module == nullptr || (flags & kModuleHandleFromAddress) == 0)
    {
        lastError = EINVAL;
        return false;
    }
    *module = nullptr;
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fbase == nullptr)
    {
        lastError = ENOENT;
        return false;
    }
    // Load addresses stay valid while the object is mapped, so the reference count never matters.
    *module = info.dli_fbase;
    return true;
}

uint32_t systemGetModuleFileName(ModuleHandle module, char* fileName, uint32_t size)
{
    if (fileName == nullptr || size == 0)
    {
        lastError = EINVAL;
        return 0;
    }
    std::string path;
    Dl_info info{};
    if (module == nullptr || module == executableBase())
        path = executablePath();
    else if (dladdr(module, &info) != 0 && info.dli_fname != nullptr && info.dli_fname[0] != '\0')
        path = absolutePath(info.dli_fname);
    if (path.empty())
    {
        fileName[0] = '\0';
        lastError = ENOENT;
        return 0;
    }
    // Like Windows: a name that does not fit is cut, terminated, and reported with the buffer size.
    if (path.size() >= size)
    {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        lastError = ENAMETOOLONG;
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<uint32_t>(path.size());
}

bool systemSetDllDirectory(const char* path)
{
    const std::lock_guard<std::mutex> lock(dllDirectoryLock);
    dllDirectory = path != nullptr ? path : "";
    return true;
}

uint32_t systemGetDllDirectory(uint32_t size, char* path)
{
    const std::lock_guard<std::mutex> lock(dllDirectoryLock);
    const auto length = static_cast<uint32_t>(dllDirectory.size());
    if (path == nullptr || size <= length)
        return length + 1;
    std::memcpy(path, dllDirectory.c_str(), dllDirectory.size() + 1);
    return length;
}

ModuleHandle systemLoadLibrary(const char* fileName)
{
    if (fileName == nullptr || fileName[0] == '\0')
    {
        lastError = EINVAL;
        return nullptr;
    }
    std::string path = fileName;
    if (fileName[0] != '/')
    {
        const std::lock_guard<std::mutex> lock(dllDirectoryLock);
        if (!dllDirectory.empty())
            path = dllDirectory + kPathSeparator + fileName;
    }
    errno = 0;
    // Resolve every symbol now, as Windows does on load: a library that cannot be completed fails
    // here instead of in the middle of a call.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        setLastErrorFromErrno(kLoaderFailure);
    return handle;
}

void* systemGetProcAddress(ModuleHandle module, const char* name)
{
    if (module == nullptr || name == nullptr)
    {
        lastError = EINVAL;
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(module, name);
    if (symbol == nullptr)
        lastError = ENOENT;
    return symbol;
}

bool systemFreeLibrary(ModuleHandle module)
{
    if (module == nullptr)
    {
        lastError = EINVAL;
        return false;
    }
    if (dlclose(module) != 0)
    {
        lastError = kLoaderFailure;
        return false;
    }
    return true;
}

uint32_t systemGetLastError()
{
    return lastError;
}

int32_t systemMessageBox(void*, const char* text, const char* caption, uint32_t)
{
    if (caption != nullptr && caption[0] != '\0')
        std::fprintf(stderr, "%s: %s\n", caption, text != nullptr ? text : "");
    else
        std::fprintf(stderr, "%s\n", text != nullptr ? text : "");
    return kMessageBoxAnswerOk;
}

#endif

const PlatformCalls systemTable{systemGetModuleHandleEx, systemGetModuleFileName, systemSetDllDirectory,
                                systemGetDllDirectory,   systemLoadLibrary,       systemGetProcAddress,
                                systemFreeLibrary,       systemGetLastError,      systemMessageBox};

PlatformCalls currentTable = systemTable;

} // namespace

const PlatformCalls& systemCalls()
{
    return systemTable;
}

PlatformCalls& calls()
{
    return currentTable;
}

bool GetModuleHandleExA(uint32_t flags, const void* address, ModuleHandle* module)
{
    return currentTable.getModuleHandleEx(flags, address, module);
}

uint32_t GetModuleFileNameA(ModuleHandle module, char* fileName, uint32_t size)
{
    return currentTable.getModuleFileName(module, fileName, size);
}

bool SetDllDirectoryA(const char* path)
{
    return currentTable.setDllDirectory(path);
}

uint32_t GetDllDirectoryA(uint32_t size, char* path)
{
    return currentTable.getDllDirectory(size, path);
}

ModuleHandle LoadLibraryA(const char* fileName)
{
    return currentTable.loadLibrary(fileName);
}

void* GetProcAddress(ModuleHandle module, const char* name)
{
    return currentTable.getProcAddress(module, name);
}

bool FreeLibrary(ModuleHandle module)
{
    return currentTable.freeLibrary(module);
}

uint32_t GetLastError()
{
    return currentTable.getLastError();
}

int32_t MessageBoxA(void* owner, const char* text, const char* caption, uint32_t type)
{
    return currentTable.messageBox(owner, text, caption, type);
}

} // namespace platform
