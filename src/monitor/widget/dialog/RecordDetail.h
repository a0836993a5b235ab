#pragma once

#include "base_ui/controls/CDetailMessageBox.h"
#include "monitor/widget/dialog/DiaryRecord.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

// The detail box of one record of the log module's journal, fetched by its
// id: the one place that the diary's view buttons and the view by time's
// items open it from.
//
// A program-start record fills the box's sixteen endpoint slots; a record of
// another category gets a listed box of the same look with its time and its
// category's fields. "导出" asks for a file and saves the record there as
// UTF-8 text, one "name：value" line per field (CR LF line ends; a CR or LF
// inside a value is written as \r or \n, so that a field stays one line),
// through QSaveFile, so a failed write leaves no half file: a notice with the
// reason and an ERROR line; a cancelled file dialog does nothing. A record
// that no longer exists, or a module that cannot deliver single records,
// shows a notice instead of the box. GUI thread only.
class RecordDetail
{
public:
    // Opens the box of the record `id` of `category` over `parent`, modal,
    // and returns once it is closed (the box deletes itself).
    static void show(int category, std::int64_t id, QWidget* parent);

    // The name/value pairs of `record` of `category`, in the box's order.
    static std::vector<CDetailMessageBox::Field> Fields(int category, const DiaryRecord& record);

    // What "导出" writes of `record`: the box's fields, for a program-start
    // record after its time and description, which the box does not show.
    static std::vector<CDetailMessageBox::Field> ExportFields(int category,
                                                              const DiaryRecord& record);

    // The bytes that "导出" writes for `fields`.
    static QByteArray ExportText(const std::vector<CDetailMessageBox::Field>& fields);

    // Writes ExportText(fields) to `path` whole or not at all; the reason
    // when it cannot.
    static std::optional<QString> Save(const std::vector<CDetailMessageBox::Field>& fields,
                                       const QString& path);

private:
    static void openBox(int category, const DiaryRecord& record, QWidget* parent);
    static void exportRecord(const std::vector<CDetailMessageBox::Field>& fields, std::int64_t id,
                             QWidget* box);
    static void notify(const QString& text, QWidget* parent);
};
