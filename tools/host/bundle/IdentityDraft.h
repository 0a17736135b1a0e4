#pragma once
// The identity `bundle` writes into a new bundle (Contents/Resources/Identity.json): the names,
// codes, category and channel configurations the module then describes in place of its default.
// Codes are kept as the texts that go into the file, so that a code the user typed wrong reaches the
// module's own check and its one-line reason.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrelhost
{

struct BundleConfiguration
{
    std::string input; // a stem format's name: "mono", "stereo", "5.1", ...
    std::string output;
    std::string nativeId; // four characters, as written into the file
    std::string audioSuiteId;

    // "stereo" when both sides are the same format, else "mono-stereo".
    std::string LayoutName() const;
};

struct IdentityDraft
{
    std::string name;
    std::vector<std::string> shortNames;
    std::string manufacturer;
    // Texts as given or derived: the module, not the writer, judges what the file holds.
    std::string manufacturerId;
    std::string productId;
    std::optional<uint32_t> category; // the module's default when left out
    std::vector<BundleConfiguration> configurations;

    // The file's text, fields in the documented order.
    std::string ToJson() const;
};

// The shorter forms of a name for a host's narrow places: its first 16, 8 and 4 bytes (never cutting
// a UTF-8 character), each once and only when shorter than the name; the name itself when it is
// already that short.
std::vector<std::string> ShortNamesOf(const std::string& name);

// The first bytes of text, at most maximum, without cutting a UTF-8 character.
std::string Utf8Prefix(const std::string& text, size_t maximum);

} // namespace ombrelhost
