#include "host_kit/HostString.h"

namespace testhost
{

#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
void* HostString::DeletingDestructor(uint32_t flags)
{
    if ((flags & kDeleteMemory) != 0)
        delete this;
    else
        this->~HostString();
    return this;
}
#endif

} // namespace testhost
