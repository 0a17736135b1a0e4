#pragma once
// What a scan found, as readable text and as JSON: the module, the effect with its names,
// category and procedures, and each component's context fields, properties and stem formats.

#include "tools/host/session/ModuleSession.h"

#include <string>

namespace ombrelhost
{

class DescriptionReport
{
public:
    static std::string Text(const ModuleSession& session);
    static std::string Json(const ModuleSession& session);

    // 'KWZq' for a code of four printable characters, else the number.
    static std::string FourCharText(uint32_t code);
    static std::string PropertyName(int32_t id);
};

} // namespace ombrelhost
