#pragma once

#include <QString>

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
};
