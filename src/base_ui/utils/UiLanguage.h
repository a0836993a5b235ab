#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

// The language of the page's texts. Every text file "dir/name.xml" has an
// English version "dir/en/name.xml" with the same entries; the Chinese file
// is loaded first and the English one over it, so an entry the English file
// lacks keeps its Chinese text.
class UiLanguage
{
public:
    enum Language
    {
        Chinese,
        English
    };

    // "General/Language" of the settings file decides: "en" or "zh".
    // Without it (or with any other value) the locale does: Chinese for a
    // Chinese locale, English for any other.
    static Language choose(const QString& settingsFile, const QLocale& locale = QLocale());

    // "dir/name.xml" -> "dir/en/name.xml".
    static QString englishPath(const QString& path);

    // The `id` attributes of the elements named tag in the Chinese file at
    // path that its English version lacks, in file order.
    static QStringList missingEnglish(const QString& path, const QString& tag);

    // Loads path with load; for English, when that worked, also its English
    // version over it, with one WARN line naming the identifiers that keep
    // their Chinese text. Returns what loading path returned.
    static int load(const QString& path, Language language, const QString& tag,
                    const std::function<int(const QString&)>& load);
};
