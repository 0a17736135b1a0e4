#pragma once
// Where the build put the effect libraries and modules the tests install.

#include <string>

// The test effect, once for each exported entry: "main", only "Main", only "VSTPluginMain", none.
std::string testEffectPath();
std::string testEffectMainOnlyPath();
std::string testEffectVstPluginMainOnlyPath();
std::string testEffectNoEntryPath();
