#include "host_kit/HostString.h"

namespace testhost
{

#ifdef AAX_ISTRING_MICROSOFT_DESTRUCTOR_SLOT
void* HostString::DeletingDestructor(uint32_t flags)
{
    return DestroyForDestructorSlot(this, flags);
}
#endif

} // namespace testhost
