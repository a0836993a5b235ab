#pragma once

#include <QString>

#include <cstdint>
#include <string>

class QDomElement;
class QFontMetrics;

namespace KO::LOCALSOCKET {
class NamedPipe;
} // namespace KO::LOCALSOCKET

// Static operations shared by the user-interface libraries: the settings
// file "UiCommonSetting.ini" in the application directory, the log
// configuration read from it, the redirection of the standard streams, the
// user and the logged-on user, processes and sessions, text messages to a
// service over a named pipe, starting a tool program that lies beside the
// executable, reading an XML attribute and wrapping a text to a pixel width.
//
// Nothing is cached: every settings operation opens the file, reads or
// writes one key and closes it again. Failures are reported through return
// values and log lines, never by exceptions. The settings and log
// operations are meant for the GUI thread; the user, process and message
// operations keep no state and may run on any thread. A QCoreApplication
// must exist for everything that uses the application directory.
class CommonUtils
{
public:
    CommonUtils() = delete;

    // "<application directory>/UiCommonSetting.ini".
    static QString settingsFilePath();

    // Settings access on `file` (INI format), addressing group/key. All
    // return false for an empty file name. ReadIniInt also returns false,
    // leaving `value` alone, when the key is absent; a stored text that is
    // not a number reads as 0. ReadIniString reads an absent key as an empty
    // string. The writes return false when the file cannot be written, and
    // leave a file that does not parse as it is (also when clearing).
    static bool ReadIniInt(const QString& file, const QString& group, const QString& key,
                           int& value);
    static bool WriteIniInt(const QString& file, const QString& group, const QString& key,
                            int value);
    static bool ReadIniString(const QString& file, const QString& group, const QString& key,
                              QString& value);
    static bool WriteIniString(const QString& file, const QString& group, const QString& key,
                               const QString& value);
    // As above; `clearFile` true empties the whole file before the write.
    static bool WriteIniString(const QString& file, const QString& group, const QString& key,
                               const QString& value, bool clearFile);

    // Configures the log writer: path prefix `prefix` (".out"/".err"
    // appended), two stage files, UTF-8, and the level ("Log"/"Level",
    // default 5) and size in megabytes ("Log"/"Size", default 10) from the
    // settings file, writing a default back only when its key is absent.
    static void Init_Log(const QString& prefix);
    // Takes "Log"/"Level" from the settings file again; without a stored
    // level the current level stays and an ERROR line says so.
    static void Update_Log_ini();
    // Sets the process-wide log level, clamped to 0..5.
    static void Set_Log_Level(int level);
    // Sets the maximum log file size to `megabytes` x 1000000 bytes, clamped
    // to what the writer's 32-bit limit holds (0..4294 MB).
    static void Set_Log_Size(int megabytes);

    // Reopens standard error and standard output in append mode, unbuffered,
    // onto "./Log/<name>.stderr" and ".stdout" for "bastion_ui" and onto
    // "./log/<name>.stderr" and ".stdout" for every other name (relative to
    // the current directory; no directory is created), and writes a start
    // line with the time, process and thread prefix into each. An empty name
    // does nothing. When either file cannot be opened, both streams stay as
    // they are and one line on the error console says so.
    static void Redirect_Std_Output(const QString& moduleName);

    // Named XML paths in the group "XmlPath" of the settings file.
    static void SetXmlPath(const QString& key, const QString& path);
    // The stored path, empty when `key` was never written.
    static QString GetXmlPath(const QString& key);

    // The user name from the process environment: for each of the patterns
    // "USERNAME.*", "USER.*", "USERDOMAIN.*", "HOSTNAME.*", "DOMAINNAME.*" in
    // turn, the first entry "NAME=VALUE" (entries in the order of their
    // names) that the pattern matches as a whole, case-sensitively, gives
    // VALUE, unless VALUE holds a further "=", in which case the next pattern
    // is tried. "unknown" when no pattern gives a value.
    static QString getUserName();
    // Whether getUserName is exactly "root".
    static bool isRootUser();

    // Stores getUserName as "LogonUser"/key in the settings file.
    static void setLogonUser(const QString& key);
    // Whether "LogonUser"/key in the settings file equals getUserName; a key
    // never stored reads as empty and so differs.
    static bool isLogonUserSame(const QString& key);

    // Whether another process of the program `processName` (".exe" appended
    // on Windows), not started by this process, runs in this process's
    // session. Without such a process its session counts as 0, so the answer
    // is true only in session 0. Writes the ids it compares at level DEBUG.
    static bool SessionIdSame(const QString& processName);
    // The id of the first process whose executable file name equals
    // `executable` ignoring case and whose parent is not `excludedParentId`;
    // 0 when there is none. Enables "SeDebugPrivilege" first, so that
    // processes of other users are seen where the token allows it.
    static std::uint32_t findProcessId(const std::wstring& executable,
                                       std::uint32_t excludedParentId);
    // Enables `privilege` in the current process's token; true when the
    // system reports no error (always on POSIX, which has none to enable).
    static bool enablePrivilege(const wchar_t* privilege);
    // Writes the arguments but the third at level TRACE and returns 0.
    static int getShowInfo(int option, const QString& processName, const QString& unused,
                           const QString& userName);

    // Sends `message` to the service on the pipe `pipeName` (at most 4095
    // characters of it are used): connects within 5000 ms, writes the text
    // as UTF-16LE code units without length, terminator or header, waits
    // until the service has read it and closes the connection. 0 when the
    // message was delivered; -1 with ERROR lines on a connection time-out or
    // a pipe failure. Blocks up to 5 s to connect, then until the service
    // has read the message (a service that stops reading holds it there),
    // and up to about 2.5 s more when writes fail.
    static int sendMessage(const QString& pipeName, const QString& message);
    // Writes `text` as UTF-16LE to the connected `pipe` and waits until the
    // peer has read it, making up to 5 attempts 500 ms apart. 0 when written,
    // -1 when every attempt failed; each failure writes two ERROR lines.
    static int clientWriteToServer(KO::LOCALSOCKET::NamedPipe& pipe, const std::wstring& text);

    // Starts "<application directory>/<fileName>" as a detached process with
    // the one argument `argument`. Only a regular executable file inside the
    // application directory, symbolic links resolved, is started: an empty
    // name, a name or a link that leads out of the directory and a directory
    // start nothing. Returns whether a process was started; callers may
    // ignore it.
    static bool startDetachedTool(const QString& fileName, const QString& argument);

    // Stores the attribute `name` of `element` into `value` and returns true;
    // returns false and leaves `value` alone when the element lacks it.
    static bool readXmlAttribute(const QDomElement& element, const QString& name, QString& value);

    // `text` unchanged when it is at most `maxWidth` pixels wide in
    // `metrics`. Otherwise lines joined by `separator`: each line the
    // shortest run of characters that reaches `maxWidth` (so it may be wider
    // by up to one character), the last line the rest. Surrogate pairs are
    // never split.
    static QString wrapTextByWidth(const QString& text, int maxWidth, const QFontMetrics& metrics,
                                   const QString& separator);
};
