#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A fresh temporary directory for the files of one test, removed with it.
class TestDirectory
{
public:
    QString FilePath(const QString& name) const { return m_dir.filePath(name); }

    // Writes `content` to the file `name` and returns its path.
    QString Write(const QString& name, const QByteArray& content) const
    {
        const QString path = FilePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(content);
        }
        return path;
    }

private:
    QTemporaryDir m_dir;
};
