// CLoadStyle on arbitrary bytes: the input up to its first zero byte is the
// style-variable file, the rest the style sheet. loadXml must succeed exactly
// when the same bytes parse in memory and then hold the same variables;
// replaceStyle must give what substituting the parsed variables gives.
//
// A sheet whose variables name one another grows with every level of
// nesting: replaceStyle must refuse a substitution that would grow the sheet
// by more than kMaximumGrowth, and give the substituted sheet otherwise.
#include "FuzzInput.h"

#include "base_ui/tools/CLoadStyle.h"

#include <QByteArray>
#include <QDomDocument>
#include <QMap>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr qsizetype kMaximumGrowth = qsizetype{1} << 20;

QMap<QString, QString> Variables(const QDomDocument& document)
{
    QMap<QString, QString> variables;
    for (QDomElement s = document.documentElement().firstChildElement("s"); !s.isNull();
         s = s.nextSiblingElement("s")) {
        variables[s.attribute("name")] = s.attribute("value");
    }
    return variables;
}

// The sheet with the variables substituted, or nothing once it would grow
// by more than kMaximumGrowth.
std::optional<QByteArray> Substituted(QByteArray sheet, const QMap<QString, QString>& variables)
{
    const qsizetype maximumSheet = sheet.size() + kMaximumGrowth;
    for (auto variable = variables.cbegin(); variable != variables.cend(); ++variable) {
        const QByteArray name = '%' + variable.key().toUtf8() + '%';
        const QByteArray value = variable.value().toUtf8();
        const qsizetype grown = sheet.size() + sheet.count(name) * (value.size() - name.size());
        if (grown > maximumSheet) {
            return std::nullopt;
        }
        sheet.replace(name, value);
    }
    return sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* begin = reinterpret_cast<const char*>(data);
    const auto* split = std::find(begin, begin + size, '\0');
    const QByteArray variableBytes(begin, static_cast<int>(split - begin));
    const QByteArray sheetBytes =
        split == begin + size ? QByteArray() : QByteArray(split + 1, begin + size - split - 1);
    FuzzInput& input = FuzzInput::Get();
    const QString variablePath = QString::fromStdString(
        input.WriteFile(reinterpret_cast<const std::uint8_t*>(variableBytes.constData()),
                        static_cast<std::size_t>(variableBytes.size()), "variables.xml"));
    const QString sheetPath = QString::fromStdString(
        input.WriteFile(reinterpret_cast<const std::uint8_t*>(sheetBytes.constData()),
                        static_cast<std::size_t>(sheetBytes.size()), "sheet.css"));

    const bool loaded = CLoadStyle::loadXml(variablePath);
    QDomDocument reference;
    const bool parsed = reference.setContent(variableBytes);
    if (loaded != parsed) {
        std::fprintf(stderr, "loadXml gave %d, parsing in memory %d\n", loaded, parsed);
        std::abort();
    }
    if (!loaded) {
        return 0;
    }
    const QMap<QString, QString> variables =
        parsed ? Variables(reference) : QMap<QString, QString>();
    const std::optional<QByteArray> expected = Substituted(sheetBytes, variables);
    QString sheet;
    const bool replaced = CLoadStyle::replaceStyle(sheetPath, sheet);
    const bool shouldReplace = !variables.isEmpty() && expected.has_value();
    if (replaced != shouldReplace || (replaced && sheet != QString::fromUtf8(*expected))) {
        std::fprintf(stderr, "replaceStyle gave %d with %lld variables, %lld characters\n",
                     replaced, static_cast<long long>(variables.size()),
                     static_cast<long long>(sheet.size()));
        std::abort();
    }
    return 0;
}
