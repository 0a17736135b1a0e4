#pragma once
// The operating system's handle of the plug-in module, kept by the module entry when the process
// attaches it (HINSTANCE on Windows, the load address elsewhere).

// [any thread] This module's instance handle (null before the module entry ran).
void* AAX_GetModuleInstanceHandle();
