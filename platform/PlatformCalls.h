#pragma once
// The few operating-system calls the effect loader makes, under their Windows names. On Windows they
// are the real Win32 calls; elsewhere they are POSIX stand-ins:
// - a module handle is the load address of a shared object; the module found from an address is the
//   shared object (or executable) that contains it;
// - '/' plays the role of '\' in paths;
// - a relative library path is resolved against the directory last set with SetDllDirectoryA (when
//   that is empty, the system loader's own search rules apply);
// - the last error is errno or the loader's failure, kept per thread;
// - a message box writes its text to standard error.
// Every call goes through a replaceable table, so that tests can observe and steer the loader (the
// message box above all, whose four texts they capture).

#include <cstdint>

namespace platform
{

using ModuleHandle = void*; // HMODULE on Windows

// Flags of GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT and _FROM_ADDRESS), with
// their Win32 values; named apart from the Win32 macros so that this header and <windows.h> can meet.
constexpr uint32_t kModuleHandleUnchangedRefcount = 0x00000002;
constexpr uint32_t kModuleHandleFromAddress = 0x00000004;
// Message-box style MB_OK (one OK button) and the answer IDOK.
constexpr uint32_t kMessageBoxOk = 0x00000000;
constexpr int32_t kMessageBoxAnswerOk = 1;

// The separator the loader's path rules work with on this system.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

struct PlatformCalls
{
    bool (*getModuleHandleEx)(uint32_t flags, const void* address, ModuleHandle* module);
    uint32_t (*getModuleFileName)(ModuleHandle module, char* fileName, uint32_t size);
    bool (*setDllDirectory)(const char* path);
    uint32_t (*getDllDirectory)(uint32_t size, char* path);
    ModuleHandle (*loadLibrary)(const char* fileName);
    void* (*getProcAddress)(ModuleHandle module, const char* name);
    bool (*freeLibrary)(ModuleHandle module);
    uint32_t (*getLastError)();
    int32_t (*messageBox)(void* owner, const char* text, const char* caption, uint32_t type);
};

// [any thread] The system's own implementations.
const PlatformCalls& systemCalls();

// [any thread] The table every call below goes through. It starts as systemCalls(); tests replace
// entries while no loader runs and put the previous table back afterwards.
PlatformCalls& calls();

// [any thread] The calls themselves, with the semantics of their Win32 namesakes.
bool GetModuleHandleExA(uint32_t flags, const void* address, ModuleHandle* module);
uint32_t GetModuleFileNameA(ModuleHandle module, char* fileName, uint32_t size);
bool SetDllDirectoryA(const char* path);
// The directory last set (0 and "" when none is); a buffer too small gets nothing and the answer is
// the size it needs, terminator included.
uint32_t GetDllDirectoryA(uint32_t size, char* path);
ModuleHandle LoadLibraryA(const char* fileName);
void* GetProcAddress(ModuleHandle module, const char* name);
bool FreeLibrary(ModuleHandle module);
uint32_t GetLastError();
int32_t MessageBoxA(void* owner, const char* text, const char* caption, uint32_t type);

} // namespace platform
