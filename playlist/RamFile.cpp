#include "playlist/RamFile.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "playlist/ListCapacity.h"
#include "playlist/PlayListModel.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <langinfo.h>

#include <algorithm>
#include <optional>

namespace korvel {

namespace {

constexpr char16_t CtrlZ = 26;
constexpr char16_t Cr = u'\r';
constexpr char16_t Lf = u'\n';

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

// A short write is retried for the rest, so that a real failure leaves its reason in the
// device's error text; false when the device stops taking bytes.
bool writeAll(QIODevice& device, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const qint64 written = device.write(bytes.data(), bytes.size());
        if (written <= 0) return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

KorvelError readError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::CannotReadList.arg(path, reason));
}

KorvelError writeError(const QString& path, const QString& reason) {
    return KorvelError(FixedTexts::CannotWriteList.arg(path, reason));
}

} // namespace

QString RamFile::Extension(QStringView path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype separator =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    if (dot < 0 || dot < separator) return {};
    return path.sliced(dot).toString();
}

QString RamFile::WithRamExtension(const QString& name) {
    if (name.isEmpty() || !Extension(name).isEmpty()) return name;
    return name + QStringLiteral(".ram");
}

QString RamFile::DecodeRamBytes(QByteArrayView bytes, const QLocale& locale) {
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

QStringList RamFile::ParseRam(QStringView text) {
    QStringList locations;
    const qsizetype size = text.size();
    qsizetype at = 0;
    for (;;) {
        // The blanks and control characters before a line, line ends among them.
        while (at < size && text[at].unicode() <= 32 && text[at] != CtrlZ) ++at;
        if (at == size || text[at] == CtrlZ) break;
        const qsizetype start = at;
        while (at < size && text[at] != Cr && text[at] != Lf && text[at] != CtrlZ) ++at;
        locations.append(text.sliced(start, at - start).toString());
    }
    return locations;
}

QStringList RamFile::ReadRamBytes(QByteArrayView bytes, const QLocale& locale) {
    return ParseRam(DecodeRamBytes(bytes, locale));
}

QByteArray RamFile::FormatRam(const PlayListModel& list) {
    QByteArray bytes;
    for (int row = 1; row <= list.entryCount(); ++row) {
        bytes += list.cell(PlayListModel::LocationColumn, row).toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

void RamFile::LoadRamFile(const QString& path, ListCapacity& capacity) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw readError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw readError(path, file.errorString());
    for (const QString& location : ReadRamBytes(bytes)) capacity.add(location);
}

void RamFile::LoadRamFile(const QString& path, PlayListModel& list) {
    ListCapacity capacity(list);
    LoadRamFile(path, capacity);
    list.NumberRows();
    capacity.raiseIfLeftOut();
}

void RamFile::SaveRamFile(const QString& path, const PlayListModel& list) {
    // Written beside the target and put in its place on commit, so a failure part-way leaves
    // the old list whole. Unbuffered and checked write by write: a buffered save file
    // commits even when the flush in commit() came up short.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw writeError(path, file.errorString());
    }
    if (!writeAll(file, FormatRam(list)) || !file.commit()) {
        throw writeError(path, file.errorString());
    }
}

} // namespace korvel
