#include "tools/host/bundle/IdentifierDerivation.h"

#include "aax_adapter/PlugInIdentity.h"
#include "platform/BigEndian.h"

namespace ombrelhost
{

namespace
{

constexpr char kCodeAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr uint32_t kCodeAlphabetSize = sizeof(kCodeAlphabet) - 1;
constexpr uint32_t kFnvOffsetBasis = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;
constexpr uint8_t kFirstPrintable = 0x20;
constexpr uint8_t kLastPrintable = 0x7E;

uint32_t Fnv1a(const std::string& text)
{
    uint32_t hash = kFnvOffsetBasis;
    for (const char character : text)
    {
        hash ^= static_cast<uint8_t>(character);
        hash *= kFnvPrime;
    }
    return hash;
}

uint32_t CodeOfHash(uint32_t hash)
{
    uint8_t characters[4];
    for (uint8_t& character : characters)
    {
        character = static_cast<uint8_t>(kCodeAlphabet[hash % kCodeAlphabetSize]);
        hash /= kCodeAlphabetSize;
    }
    return BigEndian::readUint32(characters);
}

bool IsPrintableFourCharCode(uint32_t code)
{
    uint8_t characters[4];
    BigEndian::writeUint32(characters, code);
    for (const uint8_t character : characters)
        if (character < kFirstPrintable || character > kLastPrintable)
            return false;
    return true;
}

} // namespace

uint32_t DeriveCode(const std::string& seed, const std::set<uint32_t>& taken)
{
    uint32_t code = CodeOfHash(Fnv1a(seed));
    for (int attempt = 1; AAXClasses::isDefaultIdentifier(code) || taken.count(code) > 0; ++attempt)
        code = CodeOfHash(Fnv1a(seed + "#" + std::to_string(attempt)));
    return code;
}

uint32_t DeriveManufacturerId(const std::string& vendor)
{
    return DeriveCode("manufacturer:" + vendor);
}

uint32_t DeriveProductId(int32_t effectUniqueId, const std::string& effectName)
{
    const uint32_t own = static_cast<uint32_t>(effectUniqueId);
    if (IsPrintableFourCharCode(own) && !AAXClasses::isDefaultIdentifier(own))
        return own;
    return DeriveCode("product:" + effectName);
}

uint32_t DerivePlugInId(const std::string& manufacturerId, const std::string& productId,
                        const std::string& layoutName, bool audioSuite, const std::set<uint32_t>& taken)
{
    return DeriveCode(manufacturerId + "/" + productId + "/" + layoutName +
                          (audioSuite ? "/audiosuite" : "/native"),
                      taken);
}

} // namespace ombrelhost
