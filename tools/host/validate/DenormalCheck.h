#pragma once
// The cost of input that decays into denormal numbers: an effect whose filters or feedback paths do
// not flush them slows down many times over on the quiet end of every note, which a host sees as
// dropouts. A slow-down above kDenormalSlowDown warns; it does not fail the effect.

namespace ombrelhost
{

class GroupContext;
class ValidationInstance;

constexpr double kDenormalSlowDown = 4.0;

// [host thread] On the instance, the processing time of noise at -6 dB against that of noise that
// has decayed into denormal numbers (and stays there), each the quickest of three rounds of the same
// length. One result: "denormal input (LAYOUT)".
void CheckDenormalCost(GroupContext& context, ValidationInstance& instance);

} // namespace ombrelhost
