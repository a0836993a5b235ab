// Starting a tool program that lies beside the executable.

#include "base_ui/utils/CommonUtils.h"

#include "base/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// The tool path, all symbolic links resolved, when `fileName` names a
// regular executable file inside the application directory, else an empty
// string. The check runs on the resolved path, so that a link inside the
// directory cannot lead to a program outside it.
QString ToolPath(const QString& fileName)
{
    const QString directoryPath = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
    const QString path = QFileInfo(directoryPath + QLatin1Char('/') + fileName).canonicalFilePath();
    if (directoryPath.isEmpty() || path.isEmpty()) {
        return QString();
    }
    const QDir directory(directoryPath);
    const QString relative = directory.relativeFilePath(path);
    const bool inside =
        !relative.isEmpty() && relative != QLatin1String(".") && relative != QLatin1String("..") &&
        !relative.startsWith(QLatin1String("../")) && !QDir::isAbsolutePath(relative);
    const QFileInfo info(path);
    return inside && info.isFile() && info.isExecutable() ? path : QString();
}

} // namespace

// static
bool CommonUtils::startDetachedTool(const QString& fileName, const QString& argument)
{
    if (fileName.isEmpty()) {
        return false;
    }
    const QString path = ToolPath(fileName);
    if (path.isEmpty()) {
        LOG_ERROR << "Not a tool of the application directory: " << fileName.toStdString();
        return false;
    }
    if (!QProcess::startDetached(path, {argument})) {
        LOG_ERROR << "Start tool failed: " << path.toStdString();
        return false;
    }
    return true;
}
