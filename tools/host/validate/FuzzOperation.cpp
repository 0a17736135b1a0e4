#include "tools/host/validate/FuzzOperation.h"

#include <string>

namespace ombrelhost
{

const std::vector<const char*>& UnknownParameterIds()
{
    // Near misses of the identifiers the module publishes (its indices as decimal text and the
    // master bypass's name), an empty one and one far longer than any a host keeps.
    static const std::string tooLong(300, '7');
    static const std::vector<const char*> ids = {"",       "-1",  "4294967296", "MasterBypass", "MasterBypassID ",
                                                 " 0",     "0x1", "00",         "1.0",          "PreviewID",
                                                 tooLong.c_str()};
    return ids;
}

const char* FuzzValueKindName(FuzzValueKind kind)
{
    switch (kind)
    {
    case FuzzValueKind::InRange:
        return "in range";
    case FuzzValueKind::Edge:
        return "edge";
    case FuzzValueKind::OutOfRange:
        return "out of range";
    case FuzzValueKind::NaN:
        return "NaN";
    case FuzzValueKind::PlusInfinity:
        return "+infinity";
    case FuzzValueKind::MinusInfinity:
        return "-infinity";
    }
    return "?";
}

const char* FuzzDamageName(FuzzDamage damage)
{
    switch (damage)
    {
    case FuzzDamage::None:
        return "as saved";
    case FuzzDamage::Truncated:
        return "truncated";
    case FuzzDamage::FlippedBytes:
        return "with flipped bytes";
    case FuzzDamage::Empty:
        return "empty";
    case FuzzDamage::RandomBytes:
        return "replaced by random bytes";
    case FuzzDamage::Extended:
        return "with garbage appended";
    }
    return "?";
}

const char* FuzzSignalName(FuzzSignal signal)
{
    switch (signal)
    {
    case FuzzSignal::Silence:
        return "silence";
    case FuzzSignal::Noise:
        return "noise";
    case FuzzSignal::Impulse:
        return "an impulse";
    case FuzzSignal::FullScaleSine:
        return "a full-scale sine";
    case FuzzSignal::DirectCurrent:
        return "full-scale DC";
    case FuzzSignal::Denormal:
        return "denormal values";
    }
    return "?";
}

} // namespace ombrelhost
