#include "support/AppProcess.h"

#include <windows.h>

#include <string>

struct AppProcess::Impl
{
    PROCESS_INFORMATION info {};
    juce::File outputFile;

    bool started() const { return info.hProcess != nullptr; }

    bool ended() const
    {
        return started() && WaitForSingleObject (info.hProcess, 0) == WAIT_OBJECT_0;
    }
};

AppProcess::AppProcess() : impl (std::make_unique<Impl>()) {}

AppProcess::~AppProcess()
{
    kill();

    if (impl->started())
    {
        CloseHandle (impl->info.hThread);
        CloseHandle (impl->info.hProcess);
    }

    impl->outputFile.deleteFile();
}

bool AppProcess::launch (const juce::String& argument, bool quoted)
{
    impl->outputFile = juce::File::createTempFile ("app-output.txt");

    SECURITY_ATTRIBUTES inheritable { sizeof (SECURITY_ATTRIBUTES), nullptr, TRUE };
    auto* output = CreateFileW (impl->outputFile.getFullPathName().toWideCharPointer(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);

    if (output == INVALID_HANDLE_VALUE)
        return false;

    auto commandLine = executable().getFullPathName().quoted();

    if (argument.isNotEmpty())
        commandLine << " " << (quoted ? argument.quoted() : argument);

    STARTUPINFOW startup {};
    startup.cb = sizeof (startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;

    std::wstring mutableCommandLine (commandLine.toWideCharPointer());
    const bool ok = CreateProcessW (nullptr, mutableCommandLine.data(), nullptr, nullptr, TRUE, 0,
                                    nullptr, nullptr, &startup, &impl->info) != 0;
    CloseHandle (output);

    if (! ok)
        impl->info = {};

    return ok;
}

bool AppProcess::isRunning()
{
    return impl->started() && ! impl->ended();
}

bool AppProcess::waitForExit (int timeoutMs)
{
    return impl->started() && WaitForSingleObject (impl->info.hProcess, (DWORD) timeoutMs) == WAIT_OBJECT_0;
}

int AppProcess::exitCode()
{
    DWORD code = 0;

    if (! impl->ended() || ! GetExitCodeProcess (impl->info.hProcess, &code))
        return -1;

    return (int) code;
}

namespace
{
    BOOL CALLBACK closeWindowOfProcess (HWND window, LPARAM processId)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId (window, &owner);

        if (owner == (DWORD) processId && IsWindowVisible (window))
            PostMessageW (window, WM_CLOSE, 0, 0);

        return TRUE;
    }
}

void AppProcess::askToQuit()
{
    if (isRunning())
        EnumWindows (closeWindowOfProcess, (LPARAM) impl->info.dwProcessId);
}

void AppProcess::kill()
{
    if (isRunning())
    {
        TerminateProcess (impl->info.hProcess, 9);
        WaitForSingleObject (impl->info.hProcess, 10000);
    }
}

juce::String AppProcess::output()
{
    return impl->outputFile.loadFileAsString();
}
