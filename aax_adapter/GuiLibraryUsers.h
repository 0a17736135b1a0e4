#pragma once
// The count of users of the GUI library (JUCE's message manager), `guiUserCount`. The first use
// starts the library: on Windows the message manager is created on the calling thread, which the
// host's own message pump drives; on POSIX, where no host pumps JUCE's messages, a message thread
// of the module's own creates it and runs its dispatch loop. The last use shuts the library down
// again before it returns (objects registered for deletion at shutdown, then the manager), so that
// no JUCE thread outlives the module once every object is released.

#include "platform/NonCopyable.h"

#include <cstdint>

namespace AAXClasses
{

class GuiLibraryUsers
{
public:
    // [host thread] Takes one use; the first starts the library. Throws when the library cannot be
    // started (the use is then not taken).
    static void acquire();
    // [host thread] Gives one use back; the last shuts the library down before returning. On POSIX
    // never on the module's message thread, which the last use stops and joins.
    static void release();
    // [any thread] Current number of uses.
    static int32_t count();
};

// One use of the GUI library for the lifetime of the object.
class GuiLibraryUse : private NonCopyable
{
public:
    GuiLibraryUse() { GuiLibraryUsers::acquire(); }
    ~GuiLibraryUse() { GuiLibraryUsers::release(); }
};

} // namespace AAXClasses
