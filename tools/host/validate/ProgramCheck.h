#pragma once
// The effect's programs as a host reaches them through the module: the module shows an effect
// without a chunk of its own to the host as one state block holding every program's name and
// values and the current program, so a host selects a program by restoring that block with
// another current program.

namespace ombrelhost
{

class GroupContext;
class ValidationInstance;

// [host thread] Each program (all from strictness 5 up to a bound, a few at 1) selected, its name
// read and noise processed through it: the instance must save the program as its current one and
// its output must stay finite. Skips an effect that saves a chunk of its own.
void CheckPrograms(GroupContext& context, ValidationInstance& instance);

} // namespace ombrelhost
