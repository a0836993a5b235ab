#include "base_ui/tools/CLoadStyle.h"

#include "base/Logging.h"
#include "base_ui/tools/XmlResourceFile.h"

#include <QFile>

namespace {

// How much the substitution may add to a sheet. Values may name variables
// that come later in the order of substitution, so without a bound a few
// hundred bytes of variables that each name the next one twice grow a sheet
// exponentially.
constexpr qsizetype kMaxSheetGrowth = qsizetype{1} << 20;

} // namespace

// static
QMap<QString, QString>& CLoadStyle::table()
{
    static QMap<QString, QString> variables;
    return variables;
}

// static
bool CLoadStyle::loadStyleSheet(const QString& variablesPath, const QString& sheetPath,
                                QString& styleSheet)
{
    return loadXml(variablesPath) && replaceStyle(sheetPath, styleSheet);
}

// static
bool CLoadStyle::loadXml(const QString& path)
{
    const XmlResourceFile file(path);
    switch (file.status()) {
    case XmlResourceFile::Status::OpenFailed:
        LOG_ERROR << "open file failed";
        return false;
    case XmlResourceFile::Status::ParseFailed:
        LOG_ERROR << "set document failed";
        return false;
    case XmlResourceFile::Status::Parsed:
        break;
    }
    QMap<QString, QString>& variables = table();
    variables.clear();
    XmlResourceFile::ForEachChild(file.root(), QStringLiteral("s"), XmlResourceFile::Others::Skip,
                                  [&variables](const QDomElement& s) {
                                      variables[s.attribute("name")] = s.attribute("value");
                                  });
    return true;
}

// static
bool CLoadStyle::replaceStyle(const QString& path, QString& styleSheet)
{
    const QMap<QString, QString>& variables = table();
    if (variables.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray sheet = file.readAll();
    const qsizetype maxSize = sheet.size() + kMaxSheetGrowth;
    for (auto variable = variables.cbegin(); variable != variables.cend(); ++variable) {
        const QByteArray name = '%' + variable.key().toUtf8() + '%';
        const QByteArray value = variable.value().toUtf8();
        const qsizetype uses = sheet.count(name);
        if (sheet.size() + uses * (value.size() - name.size()) > maxSize) {
            LOG_ERROR << "Style variables expand " << path.toStdString() << " beyond " << maxSize
                      << " bytes; not substituted.";
            return false;
        }
        sheet.replace(name, value);
    }
    styleSheet = QString::fromUtf8(sheet);
    return true;
}
