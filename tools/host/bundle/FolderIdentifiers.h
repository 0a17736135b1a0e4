#pragma once
// The identifiers of the bundles in a plug-in folder, as `bundle` and `scan` compare them: from a
// bundle's identity file (the module's defaults without one), or from what a loaded module described.

#include "aax_adapter/PlugInIdentity.h"
#include "host_kit/Description.h"
#include "tools/host/bundle/BundleFolder.h"
#include "tools/host/bundle/IdentifierClashes.h"

#include <string>

namespace ombrelhost
{

BundleIdentifiers IdentifiersOfIdentity(const std::string& bundle,
                                        const AAXClasses::PlugInIdentity& identity);
// The codes of every component of the description's first effect.
BundleIdentifiers IdentifiersOfDescription(const std::string& bundle,
                                           const testhost::Description& description);

// From the bundle's identity file as the module reads it. False when the file has a fault (its
// identifiers are then unknown); fault gets the module's one line for it.
bool ReadBundleIdentifiers(const BundlePaths& paths, BundleIdentifiers& identifiers,
                           std::string* fault = nullptr);

} // namespace ombrelhost
