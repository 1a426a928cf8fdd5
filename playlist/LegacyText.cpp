#include "playlist/LegacyText.h"

#include <QStringDecoder>

#include <langinfo.h>

#include <algorithm>
#include <iterator>
#include <optional>

namespace korvel {

namespace {

// The code pages in which Windows programs wrote 8-bit text for each language; languages
// not named here used Western European (1252). Chinese is decided by its script below.
struct LanguageCodePage {
    QLocale::Language language;
    const char* codePage;
};

constexpr LanguageCodePage CodePages[] = {
    {QLocale::Japanese, "windows-31j"},    {QLocale::Korean, "windows-949"},
    {QLocale::Thai, "windows-874"},        {QLocale::Polish, "windows-1250"},
    {QLocale::Czech, "windows-1250"},      {QLocale::Slovak, "windows-1250"},
    {QLocale::Hungarian, "windows-1250"},  {QLocale::Slovenian, "windows-1250"},
    {QLocale::Croatian, "windows-1250"},   {QLocale::Romanian, "windows-1250"},
    {QLocale::Russian, "windows-1251"},    {QLocale::Ukrainian, "windows-1251"},
    {QLocale::Belarusian, "windows-1251"}, {QLocale::Bulgarian, "windows-1251"},
    {QLocale::Serbian, "windows-1251"},    {QLocale::Macedonian, "windows-1251"},
    {QLocale::Greek, "windows-1253"},      {QLocale::Turkish, "windows-1254"},
    {QLocale::Hebrew, "windows-1255"},     {QLocale::Arabic, "windows-1256"},
    {QLocale::Persian, "windows-1256"},    {QLocale::Estonian, "windows-1257"},
    {QLocale::Latvian, "windows-1257"},    {QLocale::Lithuanian, "windows-1257"},
    {QLocale::Vietnamese, "windows-1258"},
};

QByteArray windowsCodePage(const QLocale& locale) {
    if (locale.language() == QLocale::Chinese) {
        return locale.script() == QLocale::TraditionalChineseScript ? "Big5" : "GBK";
    }
    const auto* found = std::find_if(
        std::begin(CodePages), std::end(CodePages),
        [&locale](const LanguageCodePage& entry) { return entry.language == locale.language(); });
    return found != std::end(CodePages) ? found->codePage : "windows-1252";
}

// The C library's encoding, when it is an 8-bit one worth trying: UTF-8 has failed already
// and plain ASCII would fail too.
QByteArray localeCodeset() {
    const QByteArray codeset(nl_langinfo(CODESET));
    const QByteArray name = codeset.toUpper();
    if (name == "UTF-8" || name == "UTF8" || name == "ANSI_X3.4-1968" || name == "ASCII") {
        return {};
    }
    return codeset;
}

std::optional<QString> decodeStrictly(QStringDecoder decoder, QByteArrayView bytes) {
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

} // namespace

bool LegacyText::isUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // The decoder works when its result is taken.
    const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}

bool LegacyText::isBinary(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = quint8(c);
        return byte < 32 && byte != '\t' && byte != '\r' && byte != '\n' && byte != 26;
    });
}

QString LegacyText::decode(QByteArrayView bytes, const QLocale& locale) {
    using Flag = QStringConverter::Flag;
    if (auto text =
            decodeStrictly(QStringDecoder(QStringConverter::Utf8, Flag::Stateless), bytes)) {
        return *text;
    }
    const QByteArray codeset = localeCodeset();
    if (!codeset.isEmpty()) {
        if (auto text =
                decodeStrictly(QStringDecoder(codeset.constData(), Flag::Stateless), bytes)) {
            return *text;
        }
    }
    const QByteArray codePage = windowsCodePage(locale);
    if (auto text = decodeStrictly(QStringDecoder(codePage.constData(), Flag::Stateless), bytes)) {
        return *text;
    }
    return QString::fromLatin1(bytes);
}

} // namespace korvel
