#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QWidget;

// A diary's rows as a CSV file: UTF-8 with a byte-order mark, CR LF after
// every line, the header line first; a field holding a comma, a quote, CR or
// LF is quoted, its quotes doubled. The file is written to a temporary file
// beside the target and renamed over it (QSaveFile), so a failed write
// leaves no half file and the previous file, if any, as it was.
class DiaryCsv
{
public:
    using Row = std::vector<std::string>;

    // The file's bytes for `header` and `rows` (UTF-8 cells).
    static QByteArray Text(const QStringList& header, const std::vector<Row>& rows);

    // Writes `bytes` to `path`; false with the reason in `error` otherwise.
    static bool Save(const QString& path, const QByteArray& bytes, QString& error);

    // The file the user chooses for an export (QFileDialog::getSaveFileName
    // with `title`), empty when cancelled. Tests answer through
    // DiaryCsvTesting instead.
    static QString AskForPath(QWidget* parent, const QString& title);
};
