#pragma once

#include <QString>
#include <QtGlobal>

// One record of the view by time.
struct DiaryListRecord
{
    // Category title, for example "程序启动".
    QString type;
    QString time;
    // Long explanation, shown only as the tooltip of a heartbeat row's about icon.
    QString about;
    // Short text of the row's info label.
    QString info;
    // The record's category (RecordCategory).
    int category = 0;
    // The record's position in the journal; 0 for a sample record.
    qint64 id = 0;
    // The record's time in milliseconds since 1970-01-01 00:00 UTC; 0 for a
    // sample record.
    qint64 timeMs = 0;
};
