#include "monitor/widget/dialog/DiaryRecordInbox.h"

#include <QMetaObject>
#include <QMutexLocker>

#include <utility>

void DiaryRecordInbox::post(DiaryRecord record)
{
    const QMutexLocker lock(&m_mutex);
    m_batch.push_back(std::move(record));
    if (!m_callPosted) {
        m_callPosted = true;
        QMetaObject::invokeMethod(this, &DiaryRecordInbox::arrived, Qt::QueuedConnection);
    }
}

std::vector<DiaryRecord> DiaryRecordInbox::take()
{
    const QMutexLocker lock(&m_mutex);
    m_callPosted = false;
    return std::exchange(m_batch, {});
}
