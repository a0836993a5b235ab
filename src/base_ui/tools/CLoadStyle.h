#pragma once

#include <QMap>
#include <QString>

// Style variables and their substitution into style sheets. A style sheet
// writes a variable as its name between two percent signs ("%baseStyleRed1%");
// the values come from a style-variable file: a root element whose child
// elements `s` define one variable each by their `name` and `value`
// attributes. The table is process-wide and lives until the process ends.
// Not locked: use it on the GUI thread.
class CLoadStyle
{
public:
    CLoadStyle() = delete;

    // loadXml(variablesPath), then replaceStyle(sheetPath, styleSheet); true
    // when both succeed.
    static bool loadStyleSheet(const QString& variablesPath, const QString& sheetPath,
                               QString& styleSheet);

    // Replaces the variable table with the definitions of the file at `path`
    // (UTF-8 or UTF-16, told by its byte-order mark or declaration). A later
    // definition of a name wins. Returns false, with an ERROR line, when the
    // file cannot be opened or parsed; the table is then unchanged.
    static bool loadXml(const QString& path);

    // Reads the style sheet at `path` and replaces every "%name%" of a
    // defined variable by its value, variables in ascending order of name (so
    // a value may name a variable that comes later); undefined names stay as
    // written. Returns false, leaving `styleSheet` unchanged, when no
    // variable is defined, the file cannot be opened, or the substitution
    // would add more than 1 MiB to the sheet (ERROR line).
    static bool replaceStyle(const QString& path, QString& styleSheet);

private:
    static QMap<QString, QString>& table();
};
