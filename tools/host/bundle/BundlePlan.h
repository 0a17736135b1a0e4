#pragma once
// What `bundle` makes of the user's options and the effect's own answers: the identity of the new
// bundle, each field either as given or read from the effect, the codes derived where left out.

#include "tools/host/bundle/IdentityDraft.h"
#include "tools/host/bundle/EffectFacts.h"

#include <optional>
#include <string>
#include <vector>

namespace ombrelhost
{

// The options of `bundle` that shape the identity; nothing where the user gave none.
struct BundleRequest
{
    std::optional<std::string> name;
    std::optional<std::string> manufacturer;
    std::optional<std::string> manufacturerId;
    std::optional<std::string> productId;
    std::optional<std::string> category; // a number or names ("Reverb", "EQ+Dynamics")
    std::optional<std::string> layouts;  // layout names separated by commas
};

struct BundlePlan
{
    IdentityDraft identity;
    // Where each field came from ("the effect's vendor", "derived", "given"), in the report's order.
    std::vector<std::pair<std::string, std::string>> origins;
};

// The layouts a bundle gets when the user names none: those of mono, mono-stereo and stereo whose
// channels the effect has.
std::vector<std::string> DefaultLayoutsFor(const EffectFacts& facts);
// The table's one-format layouts ("mono", "stereo", ... "7.1-dts") whose channels the effect has.
std::vector<std::string> LayoutsServedBy(const EffectFacts& facts);

// False with a reason when an option cannot be read at all (an unknown category) or the effect
// leaves a field without a value (no name). Values the module refuses (a code of three characters,
// an unknown format) are planned as given: the module's check names them.
bool PlanBundle(const BundleRequest& request, const EffectFacts& facts, BundlePlan& plan, std::string& error);

} // namespace ombrelhost
