#pragma once
// The latency a plug-in reports to the host against the delay an impulse takes through it: a host
// moves every other track by the reported figure, so a wrong one puts this track out of time.

namespace ombrelhost
{

class GroupContext;
class ModuleSession;
struct ChannelLayout;

// [host thread] On a fresh instance of the layout, an impulse at sample 0 is followed for a second
// past the reported latency; where it comes out is the first output sample (on any channel) reaching
// a hundredth of the largest output magnitude. Passes when that is exactly the reported latency,
// fails on any difference (and on a negative latency), skips when the output stays silent.
void CheckLatency(GroupContext& context, ModuleSession& session, ChannelLayout layout);

} // namespace ombrelhost
