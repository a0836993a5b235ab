#pragma once

#include "TemporaryDirectory.h"

#include "base/Encoding.h"
#include "base/Log.h"
#include "base/Logging.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The file's bytes as a string, for searching.
inline std::string ReadText(const std::filesystem::path& path)
{
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Points the process's log writer at a fresh directory with known settings:
// UTF-8 with mark, prefix on, no rotation, level TRACE, synchronous.
class LogFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KO::Log::SetEncoding(KO::ENCODING_UTF8);
        KO::Log::SetWriteBom(true);
        KO::Log::SetWritePrefix(true);
        KO::Log::SetMaxFileSize(10000000);
        KO::Log::SetStageFileCount(0);
        KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
        KO::SetAsyncLog(false);
        UsePrefix(m_dir.Path() / "test");
    }

    static void UsePrefix(const std::filesystem::path& prefix)
    {
        KO::Log::SetPath(prefix.wstring());
    }

    std::filesystem::path Out(const std::string& suffix = "") const
    {
        return m_dir.Path() / ("test.out" + suffix);
    }

    std::set<std::string> FileNames() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    TemporaryDirectory m_dir;
};
