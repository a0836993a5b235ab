#include "FuzzInput.h"

#include "base/Log.h"
#include "base/Logging.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

// static
FuzzInput& FuzzInput::Get()
{
    static FuzzInput input;
    return input;
}

FuzzInput::FuzzInput()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ko-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    m_directory = pattern;
    const std::string logPrefix = m_directory + "/log";
    KO::Log::SetPath(std::wstring(logPrefix.begin(), logPrefix.end()));
    KO::Log::SetMaxFileSize(1000000);
    KO::Log::SetStageFileCount(1);
    KO::SetLogLevel(KO::LOG_LEVEL_INFO);
}

FuzzInput::~FuzzInput()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_directory, ignored);
}

std::string FuzzInput::WriteFile(const std::uint8_t* data, std::size_t size,
                                 const std::string& name) const
{
    const std::string path = PathOf(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    file.close();
    if (!file) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}
