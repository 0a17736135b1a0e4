#include "tools/host/validate/ChildProcess.h"

#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ombrelhost
{

namespace
{
constexpr auto kPollInterval = std::chrono::milliseconds(5);
#ifdef _WIN32
constexpr int kStartAttempts = 3;
#endif
} // namespace

#ifdef _WIN32

// The Windows build runs the child with CreateProcess; the exit code of a crashed process is the
// exception code (0xC0000005 for an access violation), which names the failure.
ChildOutcome RunChildProcess(const std::vector<std::string>& argv, const std::string& outputPath,
                             std::chrono::milliseconds timeLimit)
{
    ChildOutcome outcome;
    std::string commandLine;
    for (const std::string& argument : argv)
        commandLine += (commandLine.empty() ? "\"" : " \"") + argument + "\"";
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    // Under Wine on a loaded machine a start now and then fails with an internal error (1359) that
    // the next attempt does not meet; nothing of the child has run then, so starting it again is
    // harmless, and the group is not failed for a reason that has nothing to do with the module.
    DWORD startError = 0;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt)
    {
        if (attempt > 0)
            std::this_thread::sleep_for(kPollInterval * 20 * attempt);
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &process))
        {
            startError = 0;
            break;
        }
        startError = GetLastError();
    }
    if (startError != 0)
    {
        outcome.startError = "CreateProcess failed with " + std::to_string(startError);
        CloseHandle(output);
        return outcome;
    }
    outcome.started = true;
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeLimit.count())) == WAIT_TIMEOUT)
    {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        outcome.timedOut = true;
    }
    else
    {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        if (code >= 0xC0000000u)
        {
            outcome.signal = static_cast<int>(code);
            outcome.signalName =
                code == 0xC0000005u ? "access violation" : "exception " + std::to_string(code);
        }
        else
            outcome.exitCode = static_cast<int>(code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(output);
    return outcome;
}

std::string CurrentProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

#else

ChildOutcome RunChildProcess(const std::vector<std::string>& argv, const std::string& outputPath,
                             std::chrono::milliseconds timeLimit)
{
    ChildOutcome outcome;
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0)
    {
        outcome.startError = std::string("fork failed: ") + std::strerror(errno);
        return outcome;
    }
    if (child == 0)
    {
        // Only async-signal-safe calls between fork and exec.
        const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output >= 0)
        {
            dup2(output, STDOUT_FILENO);
            dup2(output, STDERR_FILENO);
            close(output);
        }
        // Its own process group, so that a hung child is killed with whatever it started.
        setpgid(0, 0);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    outcome.started = true;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    int status = 0;
    while (true)
    {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
        {
            outcome.startError = std::string("waitpid failed: ") + std::strerror(errno);
            return outcome;
        }
        if (std::chrono::steady_clock::now() >= deadline)
        {
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            outcome.timedOut = true;
            return outcome;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
    {
        outcome.signal = WTERMSIG(status);
        const char* abbreviation = sigabbrev_np(outcome.signal);
        outcome.signalName = abbreviation != nullptr ? std::string("SIG") + abbreviation
                                                     : "signal " + std::to_string(outcome.signal);
    }
    return outcome;
}

std::string CurrentProgramPath()
{
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

#endif

} // namespace ombrelhost
