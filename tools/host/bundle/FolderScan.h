#pragma once
// `scan DIR` on a plug-in folder: every bundle in it loaded and described in turn, as a host scans
// its Plug-Ins folder, each effect listed with its identifiers; a bundle whose identity has a fault,
// a module that does not load, and every identifier two bundles share are errors.

#include <string>

namespace ombrelhost
{

// [host thread] Prints the list (text, or JSON with json) and answers the command's exit code.
int ScanFolder(const std::string& directory, bool json);

} // namespace ombrelhost
