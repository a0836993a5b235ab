#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <string>

// `text` as the bytes of a file in `encoding`, every line ending in CR LF,
// with a byte-order mark for the UTF-16 encodings. Resource files written on
// Windows look like this.
inline QByteArray EncodedWithCrLf(QString text, QStringConverter::Encoding encoding)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const bool bom = encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE;
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom
                                         : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

// The encoding's name for an XML declaration.
inline const char* XmlEncodingName(QStringConverter::Encoding encoding)
{
    return encoding == QStringConverter::Utf8 ? "UTF-8" : "UTF-16";
}

// The encodings that resource files come in, for parameterised tests.
inline auto ResourceFileEncodings()
{
    return testing::Values(QStringConverter::Utf8, QStringConverter::Utf16LE,
                           QStringConverter::Utf16BE);
}

// Test names for those encodings: "Utf8", "Utf16LE", "Utf16BE".
inline std::string EncodingTestName(const testing::TestParamInfo<QStringConverter::Encoding>& info)
{
    switch (info.param) {
    case QStringConverter::Utf16LE:
        return "Utf16LE";
    case QStringConverter::Utf16BE:
        return "Utf16BE";
    default:
        return "Utf8";
    }
}
