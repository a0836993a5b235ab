// The page's language through the plug-in: the "Language" setting of the
// settings file beside the program decides, else the default locale; an
// English page shows the English texts of AMtext.xml.

#include "PluginHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QSettings>

#include <gtest/gtest.h>

using namespace PluginHost;

namespace {

struct LanguageCase
{
    const char* name;
    const char* setting; // null: no Language key
    QLocale::Language locale;
    const char* title;
    const char* byTime;
};

// The cases share the settings file beside the program, so they run one
// after another in one test.
const LanguageCase kCases[] = {
    {"chinese_locale", nullptr, QLocale::Chinese, "Korvan杀毒行为监控", "按时间查看"},
    {"english_locale", nullptr, QLocale::English, "Korvan Antivirus Behaviour Monitor", "By time"},
    {"setting_en", "en", QLocale::Chinese, "Korvan Antivirus Behaviour Monitor", "By time"},
    {"setting_zh", "zh", QLocale::English, "Korvan杀毒行为监控", "按时间查看"},
};

QString SettingsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath("UiCommonSetting.ini");
}

void SetLanguage(const char* setting)
{
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.remove("General/Language");
    if (setting != nullptr) {
        settings.setValue("General/Language", setting);
    }
    settings.sync();
}

TEST(AntivirusMonitorLanguageTest, TitleAndViewButtonsInTheChosenLanguage)
{
    for (const LanguageCase& languageCase : kCases) {
        SCOPED_TRACE(languageCase.name);
        SetLanguage(languageCase.setting);
        QLocale::setDefault(QLocale(languageCase.locale));
        Host host;
        QStringList labels;
        for (const QLabel* label : host.page().findChildren<QLabel*>()) {
            labels.append(label->text());
        }
        EXPECT_TRUE(labels.contains(QString::fromUtf8(languageCase.title)))
            << labels.join('|').toStdString();
        QStringList radios;
        for (const QRadioButton* radio : host.page().findChildren<QRadioButton*>()) {
            radios.append(radio->text());
        }
        EXPECT_TRUE(radios.contains(QString::fromUtf8(languageCase.byTime)))
            << radios.join('|').toStdString();
    }
    SetLanguage(nullptr);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

} // namespace
