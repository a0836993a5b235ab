#pragma once

// Sends what the process writes to its standard output into a file while the
// object lives; Finish puts the original output back and returns the bytes.
// The C stream is reopened on the file, so it starts without an orientation,
// as in a process that has written nothing yet; whatever orientation it has
// gained stays after Finish.
#include "TemporaryDirectory.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        m_saved = Dup(Fileno(stdout));
        m_captured =
            std::freopen((m_directory.Path() / "stdout").string().c_str(), "w", stdout) != nullptr;
    }

    ~StdoutCapture() { Restore(); }

    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    std::string Finish()
    {
        Restore();
        if (!m_captured) {
            return "(standard output could not be captured)";
        }
        const Bytes bytes = ReadBytes(m_directory.Path() / "stdout");
        return std::string(bytes.begin(), bytes.end());
    }

private:
#ifdef _WIN32
    static int Fileno(std::FILE* stream)
    {
        return _fileno(stream);
    }
    static int Dup(int fd)
    {
        return _dup(fd);
    }
    static void Dup2(int from, int to)
    {
        _dup2(from, to);
    }
    static void Close(int fd)
    {
        _close(fd);
    }
#else
    static int Fileno(std::FILE* stream)
    {
        return fileno(stream);
    }
    static int Dup(int fd)
    {
        return dup(fd);
    }
    static void Dup2(int from, int to)
    {
        dup2(from, to);
    }
    static void Close(int fd)
    {
        close(fd);
    }
#endif

    void Restore()
    {
        if (m_saved < 0) {
            return;
        }
        std::fflush(stdout);
        Dup2(m_saved, Fileno(stdout));
        Close(m_saved);
        m_saved = -1;
    }

    TemporaryDirectory m_directory;
    int m_saved = -1;
    bool m_captured = false;
};
