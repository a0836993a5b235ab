#include "monitor/widget/dialog/DiaryCsv.h"

#include "monitor/widget/dialog/DiaryCsvTesting.h"

#include <QFileDialog>
#include <QSaveFile>

#include <optional>
#include <string_view>

namespace {

std::optional<QString> s_testPath;

void AppendField(QByteArray& bytes, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        bytes.append(field.data(), static_cast<qsizetype>(field.size()));
        return;
    }
    bytes.append('"');
    for (const char c : field) {
        if (c == '"') {
            bytes.append('"');
        }
        bytes.append(c);
    }
    bytes.append('"');
}

template <typename Fields>
void AppendLine(QByteArray& bytes, const Fields& fields)
{
    bool first = true;
    for (const auto& field : fields) {
        if (!first) {
            bytes.append(',');
        }
        first = false;
        AppendField(bytes, field);
    }
    bytes.append("\r\n");
}

} // namespace

void DiaryCsvTesting::SetSavePath(std::optional<QString> path)
{
    s_testPath = std::move(path);
}

// static
QByteArray DiaryCsv::Text(const QStringList& header, const std::vector<Row>& rows)
{
    QByteArray bytes("\xEF\xBB\xBF");
    std::vector<std::string> labels;
    for (const QString& label : header) {
        labels.push_back(label.toStdString());
    }
    AppendLine(bytes, labels);
    for (const Row& row : rows) {
        AppendLine(bytes, row);
    }
    return bytes;
}

// static
bool DiaryCsv::Save(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

// static
QString DiaryCsv::AskForPath(QWidget* parent, const QString& title)
{
    if (s_testPath) {
        return *s_testPath;
    }
    return QFileDialog::getSaveFileName(parent, title, QString(), QStringLiteral("CSV (*.csv)"));
}
