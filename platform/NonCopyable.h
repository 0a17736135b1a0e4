#pragma once
// The base of objects that must never be copied: they own a library, a thread, a lock, a reference
// the host counts or a registration, which a copy would give back twice. Derive privately.

class NonCopyable
{
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};
