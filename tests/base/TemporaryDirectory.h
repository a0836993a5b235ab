#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A directory of its own under the system's temporary directory, removed with
// everything in it when the object dies.
class TemporaryDirectory
{
public:
    TemporaryDirectory()
    {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        do {
            m_path = base / ("ko-test-" + std::to_string(ticks) + "-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_path));
    }

    ~TemporaryDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // The full name of an entry of the directory, with the platform's separators.
    std::wstring Name(const std::wstring& name) const { return (m_path / name).wstring(); }

private:
    std::filesystem::path m_path;
};

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}
