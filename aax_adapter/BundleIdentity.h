#pragma once
// The identity of the bundle the running module lies in, read from the bundle's identity file:
// NAME.aaxplugin/Contents/Resources/Identity.json, beside the Contents/x64 folder that holds the
// module and its effect.

#include "aax_adapter/PlugInIdentityReader.h"

#include <string>

namespace AAXClasses
{

struct BundleIdentity
{
    // False when the file has a fault; the module then describes no effect at all.
    bool valid = false;
    PlugInIdentity identity;
    // The identity file's path as the module looked for it; empty when the module could not find
    // its own file.
    std::string file;
    IdentityFault fault;
};

// [any thread] The identity file of a module file: Resources/Identity.json in the folder above the
// module's own, with separator the system's path separator.
std::string identityFileFor(const std::string& moduleFileName, char separator);

// [host thread] The identity of this module's bundle: the defaults when the bundle has no identity
// file (or the module cannot find its own file), else what the file says, or its fault.
BundleIdentity readBundleIdentity();

// [host thread] The identity of the bundle at identityFile, as readBundleIdentity reads it.
BundleIdentity readBundleIdentityFile(const std::string& identityFile);

} // namespace AAXClasses
