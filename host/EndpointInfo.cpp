#include "EndpointInfo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QSysInfo>

namespace {

const QString kUnknown = QStringLiteral("unknown");

QString Known(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? kUnknown : trimmed;
}

QString ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The value after "key:" on the first line of `text` that starts with `key`.
QString Field(const QString& text, const QString& key)
{
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(key)) {
            return line.section(':', 1).trimmed();
        }
    }
    return {};
}

// The number in kB after `key` in /proc/meminfo.
double MemInfoKb(const QString& meminfo, const QString& key)
{
    return Field(meminfo, key).section(' ', 0, 0).toDouble();
}

QString Percent(double used, double total)
{
    return total > 0 ? QString::number(qRound(100.0 * used / total)) + '%' : kUnknown;
}

QString Gigabytes(double bytes)
{
    return bytes > 0 ? QString::number(qRound(bytes / (1024.0 * 1024 * 1024))) + " GB" : kUnknown;
}

// CPU time spent busy since boot, from the first line of /proc/stat.
QString CpuUsage()
{
    const QStringList numbers =
        ReadFile("/proc/stat").section('\n', 0, 0).split(' ', Qt::SkipEmptyParts).mid(1);
    double total = 0;
    for (const QString& number : numbers) {
        total += number.toDouble();
    }
    const double idle = numbers.size() > 4 ? numbers[3].toDouble() + numbers[4].toDouble() : 0;
    return Percent(total - idle, total);
}

QNetworkInterface FirstInterface()
{
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const bool up = interface.flags().testFlag(QNetworkInterface::IsUp);
        if (up && !interface.flags().testFlag(QNetworkInterface::IsLoopBack)) {
            return interface;
        }
    }
    return {};
}

QString IpAddress(const QNetworkInterface& interface)
{
    for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
            return entry.ip().toString();
        }
    }
    return kUnknown;
}

QString DiskSerial()
{
    for (const QString& disk : QDir("/sys/block").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString serial = ReadFile("/sys/block/" + disk + "/device/serial").trimmed();
        if (!serial.isEmpty()) {
            return serial;
        }
    }
    return kUnknown;
}

QString SoundCard()
{
    // " 0 [PCH            ]: HDA-Generic - HD Audio PCH"
    const QString first = ReadFile("/proc/asound/cards").section('\n', 0, 0);
    return Known(first.section(" - ", 1));
}

QString GraphicsCard()
{
    for (const QString& card : QDir("/sys/class/drm").entryList({"card?"}, QDir::Dirs)) {
        const QString driver = Field(
            ReadFile("/sys/class/drm/" + card + "/device/uevent").replace('=', ':'), "DRIVER");
        if (!driver.isEmpty()) {
            return driver;
        }
    }
    return kUnknown;
}

} // namespace

// static
QStringList EndpointInfo::Collect()
{
    const QString meminfo = ReadFile("/proc/meminfo");
    const double memoryTotal = MemInfoKb(meminfo, "MemTotal:") * 1024;
    const double memoryAvailable = MemInfoKb(meminfo, "MemAvailable:") * 1024;
    const QStorageInfo root = QStorageInfo::root();
    const QNetworkInterface interface = FirstInterface();
    const QString board = (ReadFile("/sys/class/dmi/id/board_vendor").trimmed() + ' ' +
                           ReadFile("/sys/class/dmi/id/board_name").trimmed());
    return {
        QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"),
        interface.isValid() ? IpAddress(interface) : kUnknown,
        interface.isValid() ? Known(interface.hardwareAddress()) : kUnknown,
        Known(Field(ReadFile("/proc/cpuinfo"), "model name")),
        Gigabytes(memoryTotal),
        Gigabytes(static_cast<double>(root.bytesTotal())),
        DiskSerial(),
        CpuUsage(),
        Percent(memoryTotal - memoryAvailable, memoryTotal),
        Percent(static_cast<double>(root.bytesTotal() - root.bytesAvailable()),
                static_cast<double>(root.bytesTotal())),
        Known(QSysInfo::prettyProductName()),
        QString::number(QSysInfo::WordSize),
        Known(board),
        SoundCard(),
        GraphicsCard(),
        Known(Field(ReadFile("/proc/sys/dev/cdrom/info"), "drive name")),
    };
}
