#include "hosts/qt/TextConversion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringDecoder>

namespace qthost {

QString FromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::pmr::string ToLatin1(const QString& text, std::pmr::memory_resource* memory) {
    std::pmr::string out(size_t(text.size()), '\0', memory);
    char* next = out.data();
    for (QChar c : text) *next++ = c.unicode() <= 0xFF ? char(c.unicode()) : '?';
    return out;
}

QString DisplayText(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) return decoded;
    return FromLatin1(text);
}

QString ApplicationCaption() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace qthost
