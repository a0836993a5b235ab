#include "base_ui/utils/UiLanguage.h"

#include "base/Logging.h"
#include "base_ui/tools/DocumentMemo.h"
#include "base_ui/tools/XmlResourceFile.h"
#include "base_ui/utils/CommonUtils.h"

#include <QFileInfo>
#include <QSet>

#include <memory>

namespace {

const QString kLanguageGroup = QStringLiteral("General");
const QString kLanguageKey = QStringLiteral("Language");

// The `id` attributes of the elements named tag under root.
QStringList Ids(const QDomElement& root, const QString& tag)
{
    QStringList ids;
    XmlResourceFile::ForEachChild(
        root, tag, XmlResourceFile::Others::Skip,
        [&ids](const QDomElement& element) { ids.append(element.attribute("id")); });
    return ids;
}

// The identifiers of a Chinese document's elements named tag that its English
// document lacks.
struct MissingKey
{
    QDomElement chinese;
    QDomElement english;
    QString tag;

    bool operator==(const MissingKey& other) const
    {
        return tag == other.tag && chinese == other.chinese && english == other.english;
    }
};

DocumentMemo<MissingKey, QStringList>& Missing()
{
    static DocumentMemo<MissingKey, QStringList> missing;
    return missing;
}

QStringList MissingIds(const QDomElement& chinese, const QDomElement& english, const QString& tag)
{
    const QStringList englishIds = Ids(english, tag);
    const QSet<QString> known(englishIds.cbegin(), englishIds.cend());
    QStringList missing;
    for (const QString& id : Ids(chinese, tag)) {
        if (!known.contains(id)) {
            missing.append(id);
        }
    }
    return missing;
}

} // namespace

// static
UiLanguage::Language UiLanguage::choose(const QString& settingsFile, const QLocale& locale)
{
    QString setting;
    CommonUtils::ReadIniString(settingsFile, kLanguageGroup, kLanguageKey, setting);
    if (setting == "en") {
        return English;
    }
    if (setting == "zh") {
        return Chinese;
    }
    return locale.language() == QLocale::Chinese ? Chinese : English;
}

// static
QString UiLanguage::englishPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return path.left(slash + 1) + "en/" + path.mid(slash + 1);
}

// static
QStringList UiLanguage::missingEnglish(const QString& path, const QString& tag)
{
    // A file that cannot be read or parsed has a null root and no
    // identifiers. Null roots compare equal, which is sound here: a key with a
    // null Chinese root always gives none, and one with a null English root is
    // told apart by its Chinese root.
    const XmlResourceFile chinese(path);
    const XmlResourceFile english(englishPath(path));
    const MissingKey key{chinese.root(), english.root(), tag};
    if (const std::shared_ptr<const QStringList> known = Missing().find(key)) {
        return *known;
    }
    auto missing = std::make_shared<const QStringList>(MissingIds(key.chinese, key.english, tag));
    Missing().keep(key, missing);
    return *missing;
}

// static
int UiLanguage::load(const QString& path, Language language, const QString& tag,
                     const std::function<int(const QString&)>& load)
{
    const int result = load(path);
    if (language != English || result < 0) {
        return result;
    }
    load(englishPath(path));
    const QStringList missing = missingEnglish(path, tag);
    if (!missing.isEmpty()) {
        LOG_WARN << "no English text in " << QFileInfo(englishPath(path)).fileName().toStdString()
                 << " for " << missing.join(", ").toStdString() << "; the Chinese text stays.";
    }
    return result;
}
