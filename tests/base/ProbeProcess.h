#pragma once

// A copy of the process_probe program under a name of its own, running as a
// child of the test while the object lives. The child runs until its standard
// input ends: the object closes it and waits for the child when destroyed, and
// the system closes it if the test dies first.
#include "TemporaryDirectory.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

class ProbeProcess
{
public:
    // Copies the program `probe` to a temporary directory as `name` and starts
    // the copy.
    ProbeProcess(const std::filesystem::path& probe, const std::wstring& name)
        : m_executable(m_directory.Path() / name)
    {
        std::filesystem::copy_file(probe, m_executable);
        Start();
    }

    ~ProbeProcess() { Stop(); }

    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    std::uint32_t ProcessId() const { return m_processId; }

private:
#ifdef _WIN32
    void Start()
    {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE input = nullptr;
        if (!CreatePipe(&input, &m_input, &inherit, 0)) {
            throw std::runtime_error("CreatePipe fails");
        }
        SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input;
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION process{};
        std::wstring commandLine = L"\"" + m_executable.wstring() + L"\"";
        const BOOL started = CreateProcessW(m_executable.c_str(), commandLine.data(), nullptr,
                                            nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        CloseHandle(input);
        if (!started) {
            CloseHandle(m_input);
            throw std::runtime_error("CreateProcessW fails");
        }
        CloseHandle(process.hThread);
        m_process = process.hProcess;
        m_processId = process.dwProcessId;
    }

    void Stop()
    {
        CloseHandle(m_input);
        WaitForSingleObject(m_process, INFINITE);
        CloseHandle(m_process);
    }

    HANDLE m_input = nullptr;
    HANDLE m_process = nullptr;
#else
    void Start()
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe2 fails");
        }
        m_input = ends[1];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
        const std::string path = m_executable.string();
        char* const arguments[] = {const_cast<char*>(path.c_str()), nullptr};
        pid_t child = 0;
        const int result = posix_spawn(&child, path.c_str(), &actions, nullptr, arguments, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(ends[0]);
        if (result != 0) {
            close(m_input);
            throw std::runtime_error("posix_spawn fails");
        }
        m_child = child;
        m_processId = static_cast<std::uint32_t>(child);
    }

    void Stop()
    {
        close(m_input);
        int status = 0;
        waitpid(m_child, &status, 0);
    }

    int m_input = -1;
    pid_t m_child = 0;
#endif

    TemporaryDirectory m_directory;
    std::filesystem::path m_executable;
    std::uint32_t m_processId = 0;
};
