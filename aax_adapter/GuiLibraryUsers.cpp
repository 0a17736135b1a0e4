#include "aax_adapter/GuiLibraryUsers.h"

#include "aax_library/AAX_ModuleInstanceHandle.h"
#include "aax_adapter/MessageThread.h"
#include "effect_bridge/ThreadChecks.h"

#include <juce_events/juce_events.h>

#include <memory>
#include <mutex>

namespace AAXClasses
{

namespace
{

// Uses may come from several host threads at once (instances created in parallel), and starting or
// stopping the library must not interleave, so the count has a lock of its own. It is never taken
// on the audio path.
std::mutex& usersLock()
{
    static std::mutex lock;
    return lock;
}

int32_t guiUserCount = 0; // guarded by usersLock()

#ifndef _WIN32
std::unique_ptr<MessageThread> messageThread; // guarded by usersLock(); only while there are users
#endif

void startLibrary()
{
#ifdef _WIN32
    // JUCE registers its window classes, the hidden message window's among them, under the current
    // module's handle. It would look the handle up from its own address, and falls back to the host
    // program's when that fails; the handle the module entry kept leaves no such doubt.
    juce::Process::setCurrentModuleInstanceHandle(AAX_GetModuleInstanceHandle());
    juce::MessageManager::getInstance();
#else
    auto thread = std::make_unique<MessageThread>();
    // Another message manager in this module (one this module did not start) keeps serving.
    if (thread->start())
        messageThread = std::move(thread);
#endif
}

void stopLibrary()
{
#ifdef _WIN32
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
#else
    if (messageThread != nullptr)
    {
        messageThread->stop();
        messageThread.reset();
    }
#endif
}

} // namespace

void GuiLibraryUsers::acquire()
{
    const std::lock_guard<std::mutex> guard(usersLock());
    if (guiUserCount == 0)
        startLibrary();
    ++guiUserCount;
}

void GuiLibraryUsers::release()
{
#ifndef _WIN32
    // On Windows the host's main thread is the message thread and gives the last use back there.
    OMBREL_ASSERT_NOT_MESSAGE_THREAD();
#endif
    const std::lock_guard<std::mutex> guard(usersLock());
    if (guiUserCount <= 0)
        return;
    --guiUserCount;
    if (guiUserCount == 0)
        stopLibrary();
}

int32_t GuiLibraryUsers::count()
{
    const std::lock_guard<std::mutex> guard(usersLock());
    return guiUserCount;
}

} // namespace AAXClasses
