#pragma once

#include "monitor/lib/CLogModuleLib.h"

#include "LogCapture.h"
#include "PageResources.h"

#include "lib/TestJournal.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// A diary test over a journal of its own: the page's resources, the log
// captured, the log module loaded on the journal, and a shown window for the
// dialogs to stand on.
class DiaryJournalFixture : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_loader.LoadSdk());
        m_host.setGeometry(100, 100, 700, 600);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    const LogCapture m_log;
    const TestJournal m_journal;
    CLogModuleLib m_loader;
    QWidget m_host;
};
