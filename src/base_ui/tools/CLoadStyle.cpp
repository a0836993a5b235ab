#include "base_ui/tools/CLoadStyle.h"

#include "base/Logging.h"

#include <QDomDocument>
#include <QFile>

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        LOG_ERROR << "open file failed";
        return false;
    }
    QDomDocument document;
    if (!document.setContent(QString::fromUtf8(file.readAll()))) {
        LOG_ERROR << "set document failed";
        return false;
    }
    QMap<QString, QString>& variables = table();
    variables.clear();
    const QDomElement root = document.documentElement();
    for (QDomElement s = root.firstChildElement("s"); !s.isNull(); s = s.nextSiblingElement("s")) {
        variables[s.attribute("name")] = s.attribute("value");
    }
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
    for (auto variable = variables.cbegin(); variable != variables.cend(); ++variable) {
        sheet.replace('%' + variable.key().toUtf8() + '%', variable.value().toUtf8());
    }
    styleSheet = QString::fromUtf8(sheet);
    return true;
}
