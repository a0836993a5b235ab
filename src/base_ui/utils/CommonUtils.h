#pragma once

#include <QString>

class QDomElement;
class QFontMetrics;

// Static operations shared by the user-interface libraries: the settings
// file "UiCommonSetting.ini" in the application directory, the log
// configuration read from it, the redirection of the standard streams,
// starting a tool program that lies beside the executable, reading an XML
// attribute and wrapping a text to a pixel width.
//
// Nothing is cached: every settings operation opens the file, reads or
// writes one key and closes it again. Failures are reported through return
// values and log lines, never by exceptions. Meant for the GUI thread; a
// QCoreApplication must exist for everything that uses the application
// directory.
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
    // string. The writes return false when the file cannot be written.
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

    // Starts "<application directory>/<fileName>" as a detached process with
    // the one argument `argument`. Only a regular executable file inside the
    // application directory is started: an empty name, a name that leads out
    // of the directory and a directory start nothing. Returns whether a
    // process was started; callers may ignore it.
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
