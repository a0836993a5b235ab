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
