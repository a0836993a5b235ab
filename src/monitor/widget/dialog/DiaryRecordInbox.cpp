#include "monitor/widget/dialog/DiaryRecordInbox.h"

#include <QMetaObject>
#include <QMutexLocker>

#include <iterator>
#include <utility>

void DiaryRecordInbox::post(DiaryRecord record)
{
    const QMutexLocker lock(&m_mutex);
    m_batch.push_back(std::move(record));
    postCall();
}

std::vector<DiaryRecord> DiaryRecordInbox::take(std::size_t limit)
{
    const QMutexLocker lock(&m_mutex);
    m_callPosted = false;
    if (limit == 0 || m_batch.size() <= limit) {
        return std::exchange(m_batch, {});
    }
    const auto end = m_batch.begin() + static_cast<std::ptrdiff_t>(limit);
    std::vector<DiaryRecord> taken(std::make_move_iterator(m_batch.begin()),
                                   std::make_move_iterator(end));
    m_batch.erase(m_batch.begin(), end);
    postCall();
    return taken;
}

void DiaryRecordInbox::postCall()
{
    if (!m_callPosted) {
        m_callPosted = true;
        QMetaObject::invokeMethod(this, &DiaryRecordInbox::arrived, Qt::QueuedConnection);
    }
}
