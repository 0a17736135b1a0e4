#pragma once
// A gate in front of objects that one thread creates and deletes while other threads (the audio
// thread among them) may be using them. A user enters through a Use and is admitted only while the
// gate is open; the owner closes the gate and then waits until no admitted use is left, after
// which it may delete what the gate guards. Entering costs two atomic operations and never blocks,
// so the audio thread may enter; only closing waits.

#include "platform/NonCopyable.h"

#include <atomic>
#include <cstdint>
#include <thread>

class UseGate
{
public:
    class Use : private NonCopyable
    {
    public:
        // [any thread]
        explicit Use(const UseGate& gate) : gate(gate)
        {
            // Counted before the gate is read: a closing owner either sees this use or this use
            // sees the gate closed (both sequentially consistent).
            gate.users.fetch_add(1);
            admitted = gate.opened.load();
        }
        ~Use() { gate.users.fetch_sub(1); }

        // Whether what the gate guards may be used until this use ends.
        bool isAdmitted() const { return admitted; }

    private:
        const UseGate& gate;
        bool admitted = false;
    };

    // [host thread] Admits uses from now on.
    void open() { opened.store(true); }

    // [host thread] Admits no more uses; admitted ones may still be under way.
    void close() { opened.store(false); }

    // [host thread] Admits no more uses and returns once every admitted use has ended. Never
    // from inside a use of the same gate.
    void closeAndWait()
    {
        close();
        while (users.load() != 0)
            std::this_thread::yield();
    }

    // [any thread]
    bool isOpen() const { return opened.load(); }

private:
    std::atomic<bool> opened{false};
    mutable std::atomic<int32_t> users{0};
};
