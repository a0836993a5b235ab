#include "LogCapture.h"

#include "base/Log.h"
#include "base/Logging.h"

#include <QFile>

LogCapture::LogCapture() : m_level(KO::GetLogLevel())
{
    KO::Log::SetPath(m_dir.filePath("test").toStdWString());
    KO::Log::SetEncoding(1);
    KO::SetLogLevel(5);
}

LogCapture::~LogCapture()
{
    KO::SetLogLevel(m_level);
}

std::string LogCapture::Text() const
{
    QFile file(m_dir.filePath("test.out"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::string();
    }
    return file.readAll().toStdString();
}

bool LogCapture::Contains(const std::string& text) const
{
    return Text().find(text) != std::string::npos;
}

bool LogCapture::HasLine(const std::string& level, const std::string& message) const
{
    const std::string text = Text();
    const std::string header = "[" + level + "] <";
    const std::string tail = "> " + message;
    std::size_t begin = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         begin = end + 2, end = text.find("\r\n", begin)) {
        const std::string line = text.substr(begin, end - begin);
        if (line.find(header) != std::string::npos && line.size() >= tail.size() &&
            line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
            return true;
        }
    }
    return false;
}
