#pragma once

#include "monitor/widget/dialog/DiaryRecord.h"

#include <QMutex>
#include <QObject>

#include <vector>

// Hands records from the log module's thread to the GUI thread in batches.
//
// post may run on any thread; it queues the record and, only when the batch
// was empty, posts one call to the inbox's thread, which emits arrived(). So
// however fast records come, the receiver sees one arrived() per turn of its
// event loop and takes everything queued by then with take(). A call still
// queued when the inbox is destroyed is dropped with it.
class DiaryRecordInbox final : public QObject
{
    Q_OBJECT

public:
    explicit DiaryRecordInbox(QObject* parent = nullptr) : QObject(parent) {}

    // Any thread.
    void post(DiaryRecord record);

    // The inbox's thread: the records queued since the last take, oldest
    // first.
    std::vector<DiaryRecord> take();

signals:
    // Records are waiting; emitted on the inbox's thread.
    void arrived();

private:
    QMutex m_mutex;
    std::vector<DiaryRecord> m_batch;
    bool m_callPosted = false;
};
