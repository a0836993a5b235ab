#include "base_ui/utils/UiLanguage.h"

#include "base/Logging.h"
#include "base_ui/tools/XmlResourceFile.h"
#include "base_ui/utils/CommonUtils.h"

#include <QFileInfo>
#include <QSet>

namespace {

const QString kLanguageGroup = QStringLiteral("General");
const QString kLanguageKey = QStringLiteral("Language");

// The `id` attributes of the elements named tag in the XML file at path;
// none for a file that cannot be read or parsed. The parse is shared with the
// pools' loading of the same bytes.
QStringList Ids(const QString& path, const QString& tag)
{
    QStringList ids;
    const XmlResourceFile file(path);
    if (file.status() != XmlResourceFile::Status::Parsed) {
        return ids;
    }
    XmlResourceFile::ForEachChild(
        file.root(), tag, XmlResourceFile::Others::Skip,
        [&ids](const QDomElement& element) { ids.append(element.attribute("id")); });
    return ids;
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
    const QStringList englishIds = Ids(englishPath(path), tag);
    const QSet<QString> english(englishIds.cbegin(), englishIds.cend());
    QStringList missing;
    for (const QString& id : Ids(path, tag)) {
        if (!english.contains(id)) {
            missing.append(id);
        }
    }
    return missing;
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
