#pragma once

#include "monitor/widget/dialog/DiaryRecord.h"

#include <QMutex>
#include <QObject>

#include <cstddef>
#include <vector>

// Hands records from the log module's thread to the GUI thread in batches.
//
// post may run on any thread; it queues the record and, only when no call
// is pending, posts one call to the inbox's thread, which emits arrived().
// So however fast records come, the receiver sees at most one arrived() per
// turn of its event loop and takes a batch with take(); a take that leaves
// records behind posts the next call, so a long history reaches the receiver
// in bounded batches over several turns. A call still queued when the inbox
// is destroyed is dropped with it.
class DiaryRecordInbox final : public QObject
{
    Q_OBJECT

public:
    explicit DiaryRecordInbox(QObject* parent = nullptr) : QObject(parent) {}

    // Any thread.
    void post(DiaryRecord record);

    // The inbox's thread: the oldest `limit` records queued (all when 0),
    // oldest first.
    std::vector<DiaryRecord> take(std::size_t limit = 0);

signals:
    // Records are waiting; emitted on the inbox's thread.
    void arrived();

private:
    // Posts the call that emits arrived(), unless one is pending. Called
    // with the lock held.
    void postCall();

    QMutex m_mutex;
    std::vector<DiaryRecord> m_batch;
    bool m_callPosted = false;
};
