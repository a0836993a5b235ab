#pragma once

#include "LogFixture.h"

#include <cstddef>
#include <string>
#include <vector>

// The log in a directory of the test's own, with every level up to DEBUG,
// read back line by line.
class LoaderLogTest : public LogFixture
{
protected:
    // The header of LoadSdk's lines at `level`.
    static std::string LoadSdkHeader(const std::string& level)
    {
        return "[" + level + "] <CLogModuleLib.cpp> <CLogModuleLib::LoadSdk>";
    }

    void SetUp() override
    {
        LogFixture::SetUp();
        KO::SetLogLevel(KO::LOG_LEVEL_DEBUG);
    }

    std::vector<std::string> Lines() const
    {
        const std::string text = ReadText(Out());
        std::vector<std::string> lines;
        for (std::size_t begin = 0, end = text.find("\r\n"); end != std::string::npos;
             begin = end + 2, end = text.find("\r\n", begin)) {
            lines.push_back(text.substr(begin, end - begin));
        }
        return lines;
    }

    // Whether a line carries `header` ("[ERROR] <file.cpp> <Class::function>")
    // followed by the line number and exactly `message`.
    bool HasLine(const std::string& header, const std::string& message) const
    {
        const std::string lineNumber = " <line:";
        for (const std::string& line : Lines()) {
            const std::size_t at = line.find(header + lineNumber);
            if (at == std::string::npos) {
                continue;
            }
            const std::size_t digits = at + header.size() + lineNumber.size();
            const std::size_t end = line.find_first_not_of("0123456789", digits);
            if (end != digits && end != std::string::npos &&
                line.compare(end, std::string::npos, "> " + message) == 0) {
                return true;
            }
        }
        return false;
    }

    // The number of lines at `level` ("ERROR").
    std::size_t CountLines(const std::string& level) const
    {
        std::size_t count = 0;
        for (const std::string& line : Lines()) {
            count += line.find("[" + level + "] <") != std::string::npos ? 1 : 0;
        }
        return count;
    }
};
