#include "tests/windows/ProgramRun.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>
#include <sstream>

namespace
{

// One argument as the program's command line carries it; none of ours holds a quote.
std::string Quoted(const std::string& argument)
{
    return "\"" + argument + "\"";
}

} // namespace

std::string ProgramRun::Describe() const
{
    return (finished ? "exit code " + std::to_string(exitCode) : std::string("did not finish")) +
           ", output:\n" + output;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& folder, std::chrono::seconds limit)
{
    ProgramRun run;
    const std::string outputPath = folder + "\\program-output.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
    {
        run.output = "cannot create " + outputPath;
        return run;
    }
    std::string commandLine = Quoted(program);
    for (const std::string& argument : arguments)
        commandLine += " " + Quoted(argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, folder.c_str(), &startup, &process);
    CloseHandle(output);
    if (!started)
    {
        run.output = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
        return run;
    }
    const DWORD waited =
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(std::chrono::milliseconds(limit).count()));
    if (waited == WAIT_OBJECT_0)
    {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        run.finished = true;
        run.exitCode = exitCode;
    }
    else
    {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::ifstream file(outputPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    run.output += text.str();
    return run;
}
