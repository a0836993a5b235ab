#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What every fuzz target shares: a private temporary directory (removed at
// exit) to hold the input as a file, and the log writer pointed into it, so
// that the log sites that echo input run on every execution too.
class FuzzInput
{
public:
    // The process-wide instance; the first call creates the directory and
    // configures the log (level 5, every site writes; 1 MB files, 1 stage).
    static FuzzInput& Get();

    // Writes the bytes to the file `name` in the directory; returns its path.
    std::string WriteFile(const std::uint8_t* data, std::size_t size,
                          const std::string& name = "input") const;
    std::string PathOf(const std::string& name) const { return m_directory + "/" + name; }
    const std::string& Directory() const { return m_directory; }

    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;

private:
    FuzzInput();
    ~FuzzInput();

    std::string m_directory;
};
