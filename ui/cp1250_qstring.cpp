#include "ui/cp1250_qstring.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "core/cp1250.h"
#include "core/errors.h"

namespace velmark::ui {
namespace {

constexpr const char* kCodecName = "windows-1250";

// One character through the core's converter, "?" when CP1250 has no byte for it.
std::string characterToCp1250(const QString& character) {
    try {
        return Utf8ToCp1250(character.toStdString());
    } catch (const FileError&) {
        return "?";
    }
}

// Character by character, so that only the characters CP1250 lacks are replaced.
std::string toCp1250ByCharacter(const QString& text) {
    std::string bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        bytes += characterToCp1250(text.mid(i, length));
        i += length - 1;
    }
    return bytes;
}

}  // namespace

QString FromCp1250(std::string_view bytes) {
    QStringDecoder decoder(kCodecName);
    if (decoder.isValid()) {
        const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        if (!decoder.hasError()) {
            return text;
        }
    }
    // No ICU codec in this Qt, or a byte the codec does not define: the core's table maps
    // every byte.
    return QString::fromStdString(Cp1250ToUtf8(bytes));
}

std::string ToCp1250(const QString& text) {
    QStringEncoder encoder(kCodecName);
    if (encoder.isValid()) {
        const QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError()) {
            return bytes.toStdString();
        }
    }
    return toCp1250ByCharacter(text);
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace velmark::ui
