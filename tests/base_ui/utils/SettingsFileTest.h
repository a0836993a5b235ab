#pragma once

#include "base_ui/utils/CommonUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QVariant>

#include <gtest/gtest.h>

// Base of the tests that use the settings file in the application directory.
// The file's place is fixed and test processes of one directory run in
// parallel, so a lock file beside it gives each test sole use of it. The
// file is removed before and after every test.
class SettingsFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_lock.tryLock(kLockTimeoutMs)) << "lock of " << Path().toStdString();
        Remove();
        ASSERT_FALSE(QFileInfo::exists(Path()));
    }

    void TearDown() override
    {
        if (m_lock.isLocked()) {
            Remove();
        }
    }

    static QString Path() { return CommonUtils::settingsFilePath(); }

    // Reads or writes one group/key of the settings file directly.
    static QVariant Stored(const QString& fullKey)
    {
        return QSettings(Path(), QSettings::IniFormat).value(fullKey);
    }
    static void Store(const QString& fullKey, const QVariant& value)
    {
        QSettings(Path(), QSettings::IniFormat).setValue(fullKey, value);
    }

private:
    static constexpr int kLockTimeoutMs = 60000;

    // A test may have put a directory in the file's place.
    static void Remove()
    {
        QFile::remove(Path());
        QDir(Path()).removeRecursively();
    }

    QLockFile m_lock{Path() + QStringLiteral(".testlock")};
};
