#pragma once
// Four-character codes for a new bundle: the texts a user types, and the codes `bundle` derives when
// the user leaves them out. Every derivation is a pure function of its inputs, so that making the
// same bundle again gives the same identifiers and sessions that saved them keep finding the plug-in.
//
// A code is derived from a seed text: its 32-bit FNV-1a hash written in base 62 with the characters
// A-Z, a-z, 0-9, least significant digit first (62^4 values, all printable). A code that is one of the
// module's default identifiers, or one already taken in the same bundle, is derived again from the
// seed followed by "#1", "#2", ... until it is neither. Codes are read and written in big-endian
// order, as the module's own (AAXClasses::fourCharacterText).

#include <cstdint>
#include <set>
#include <string>

namespace ombrelhost
{

// The code derived from seed, avoiding the default identifiers and those in taken.
uint32_t DeriveCode(const std::string& seed, const std::set<uint32_t>& taken = {});

// The manufacturer code of a vendor: seed "manufacturer:" + the vendor's name.
uint32_t DeriveManufacturerId(const std::string& vendor);
// The product code of an effect: its own unique identifier when that is four printable characters
// and no default identifier, else derived from seed "product:" + the effect's name.
uint32_t DeriveProductId(int32_t effectUniqueId, const std::string& effectName);
// A configuration's plug-in identifier: seed "MANUFACTURER/PRODUCT/LAYOUT/native" (or ".../audiosuite")
// with the four-character texts of the codes and the layout's name.
uint32_t DerivePlugInId(const std::string& manufacturerId, const std::string& productId,
                        const std::string& layoutName, bool audioSuite, const std::set<uint32_t>& taken);

} // namespace ombrelhost
