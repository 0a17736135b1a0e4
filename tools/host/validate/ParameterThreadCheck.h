#pragma once
// Parameters under the threads a real host uses at once: its own writes from a thread of their
// own, the audio thread processing, and the effect changing its values itself (here by restoring
// a state saved at other values, which the effect takes in and the module reports back as the
// effect's automation, accepted by the host as it comes).

#include <string>
#include <vector>

namespace ombrelhost
{

class GroupContext;
class ValidationInstance;

// [host thread] Runs the three for a while (longer with the strictness); the output must stay
// finite, every thread must finish (a deadlock is the group's hang, placed by its step), and once
// they are done a value the host writes to each parameter must read back as written.
void CheckParameterThreads(GroupContext& context, ValidationInstance& instance,
                           const std::vector<std::string>& ids);

} // namespace ombrelhost
