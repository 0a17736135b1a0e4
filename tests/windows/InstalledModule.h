#pragma once
// Where scripts/wine-run installs the bundle (OMBREL_WINE_BUNDLE): the module as a host finds it.

inline const char* const kInstalledModule =
    "C:\\Program Files\\Common "
    "Files\\Avid\\Audio\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin";
