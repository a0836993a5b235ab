#pragma once

#include <QTemporaryDir>

#include <string>

// Routes the log into a file of a fresh temporary directory (UTF-8, every
// level up to DEBUG) for as long as the object lives, and reads it back.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    // Everything written to the log since construction.
    std::string Text() const;
    bool Contains(const std::string& text) const;

    // Whether a line of level `level` ("ERROR") carries exactly `message`.
    bool HasLine(const std::string& level, const std::string& message) const;

private:
    QTemporaryDir m_dir;
    int m_level;
};
