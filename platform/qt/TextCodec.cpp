#include "platform/qt/TextCodec.h"

#include "platform/qt/Cp1251Table.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace quorvex::platform {

namespace {

constexpr const char* kCodecName = "windows-1251";

bool codecAvailable()
{
    static const bool available = QStringDecoder(kCodecName).isValid();
    return available;
}

bool allAscii(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool allAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

// Windows-1251 agrees with ASCII below 0x80, and most exchange text is ASCII: such text skips
// the converter. Opening an ICU converter costs far more than converting a line, and a script
// run converts several lines per command: each thread keeps one of each. A single-byte code
// page carries no state from one text to the next.
QString fromCp1251(const std::string& bytes)
{
    if (allAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!codecAvailable())
        return fromCp1251ByTable(bytes);
    thread_local QStringDecoder decoder(kCodecName);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toCp1251(const QString& text)
{
    if (allAscii(text))
        return text.toLatin1().toStdString();
    if (!codecAvailable())
        return toCp1251ByTable(text);
    thread_local QStringEncoder encoder(kCodecName);
    encoder.resetState(); // clears the error flag of an earlier text
    const QByteArray encoded = encoder.encode(text);
    // The codec substitutes an unprintable SUB byte for unmappable characters; '?' as Windows
    // does is what the registrar and the files should see.
    if (encoder.hasError())
        return toCp1251ByTable(text);
    return encoded.toStdString();
}

QString fromCp1251Visible(const std::string& bytes)
{
    QString text = fromCp1251(bytes);
    for (QChar& c : text) {
        if (c.unicode() < 0x20)
            c = QChar(static_cast<char16_t>(0x2400 + c.unicode()));
    }
    return text;
}

std::string toCp1251FromVisible(const QString& text)
{
    QString plain = text;
    for (QChar& c : plain) {
        if (c.unicode() >= 0x2400 && c.unicode() < 0x2420)
            c = QChar(static_cast<char16_t>(c.unicode() - 0x2400));
    }
    return toCp1251(plain);
}

} // namespace quorvex::platform

namespace quorvex::platform {

QString fromFileName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toFileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace quorvex::platform
