#include "support/AppProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct AppProcess::Impl
{
    pid_t pid = -1;
    int status = 0;
    bool ended = false;
    juce::File outputFile;

    bool poll()
    {
        if (pid > 0 && ! ended && waitpid (pid, &status, WNOHANG) == pid)
            ended = true;

        return ended;
    }
};

AppProcess::AppProcess() : impl (std::make_unique<Impl>()) {}

AppProcess::~AppProcess()
{
    kill();
    impl->outputFile.deleteFile();
}

bool AppProcess::launch (const juce::String& argument, bool)
{
    impl->outputFile = juce::File::createTempFile ("app-output.txt");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, impl->outputFile.getFullPathName().toRawUTF8(),
                                      O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2 (&actions, STDOUT_FILENO, STDERR_FILENO);

    // An xdg desktop entry's "%u" passes an address as one argument.
    const auto path = executable().getFullPathName();
    juce::StringArray arguments { path };

    if (argument.isNotEmpty())
        arguments.add (argument);

    std::vector<char*> argv;

    for (auto& each : arguments)
        argv.push_back (const_cast<char*> (each.toRawUTF8()));

    argv.push_back (nullptr);

    const int error = posix_spawn (&impl->pid, path.toRawUTF8(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);

    if (error != 0)
        impl->pid = -1;

    return error == 0;
}

bool AppProcess::isRunning()
{
    return impl->pid > 0 && ! impl->poll();
}

bool AppProcess::waitForExit (int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;

    while (! impl->poll())
    {
        if (impl->pid <= 0 || juce::Time::getMillisecondCounterHiRes() > end)
            return false;

        juce::Thread::sleep (5);
    }

    return true;
}

int AppProcess::exitCode()
{
    if (! impl->poll() || ! WIFEXITED (impl->status))
        return -1;

    return WEXITSTATUS (impl->status);
}

void AppProcess::askToQuit()
{
    if (isRunning())
        ::kill (impl->pid, SIGINT);
}

void AppProcess::kill()
{
    if (isRunning())
    {
        ::kill (impl->pid, SIGKILL);
        waitForExit (10000);
    }
}

juce::String AppProcess::output()
{
    return impl->outputFile.loadFileAsString();
}
