#pragma once

#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoQssPool.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/CLoadStyle.h"

#include <QApplication>
#include <QString>
#include <QTest>

#include <gtest/gtest.h>

// What the monitor page loads before it builds its views: the bundle's texts
// and images in the pools, and the page style sheet, set here on the whole
// application so that every widget of a test gets the page's look.
inline void LoadPageResources()
{
    ASSERT_EQ(CKoStringPool::LoadXml(":/xml/AMtext.xml"), 0);
    ASSERT_EQ(CKoStringPool::LoadXml(":/base_ui_xml/base_ui_text.xml"), 0);
    ASSERT_EQ(CKoPixmapPool::LoadXml(":/xml/AMImage.xml"), 0);
    ASSERT_EQ(CKoPixmapPool::LoadXml(":/base_ui_xml/base_ui_pixmap.xml"), 0);
    QString baseSheet;
    ASSERT_TRUE(CLoadStyle::loadStyleSheet(":/base_ui_xml/base_ui_style.xml",
                                           ":/base_ui_xml/base_ui.css", baseSheet));
    ASSERT_EQ(CKoQssPool::LoadQss(":/xml/AMstyle.css"), 0);
    qApp->setStyleSheet(QString::fromStdString(CKoQssPool::Get().Text()) + baseSheet);
}

// Processes events until `done` holds or ten seconds have passed; returns
// whether it holds.
template <typename Predicate>
bool WaitFor(Predicate done)
{
    return QTest::qWaitFor(done, 10000);
}
