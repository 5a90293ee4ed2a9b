// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/data_file.h"

#include "platform/native_path.h"
#include "platform/text/qt_text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

#include <cstring>

namespace kpx {

QString nativeFileName(const std::string &programPath)
{
    const std::string native = os::nativePath(programPath);
    return QFile::decodeName(QByteArray(native.data(), static_cast<qsizetype>(native.size())));
}

QString nativePathText(const std::string &programPath)
{
    return pathBytesText(os::nativePath(programPath));
}

QString pathBytesText(const std::string &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return fromBig5(bytes);
}

DataFileRead readDataFile(const QString &fileName)
{
    DataFileRead result;
    const QFileInfo info(fileName);
    if (!info.exists())
        return result; // Missing
    if (info.isDir()) {
        result.status = DataFileRead::Status::CannotOpen;
        return result;
    }
    if (info.size() > kEditorCapacityBytes) {
        result.status = DataFileRead::Status::TooLarge;
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = DataFileRead::Status::CannotOpen;
        return result;
    }
    // The size may have changed since it was looked at; read what is there, within capacity.
    QByteArray bytes = file.read(kEditorCapacityBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = DataFileRead::Status::CannotOpen;
        return result;
    }
    if (bytes.size() > kEditorCapacityBytes) {
        result.status = DataFileRead::Status::TooLarge;
        return result;
    }
    qsizetype length = bytes.size();
    if (const void *zero = std::memchr(bytes.constData(), 0, static_cast<std::size_t>(length)))
        length = static_cast<const char *>(zero) - bytes.constData();
    result.text = fromBig5(std::string_view(bytes.constData(), static_cast<std::size_t>(length)));
    result.status = DataFileRead::Status::Loaded;
    return result;
}

DataFileWrite writeDataFile(const QString &fileName, const std::string &bytes)
{
    DataFileWrite result;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = DataFileWrite::Status::CannotCreate;
        result.reason = file.errorString();
        return result;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    // QSaveFile buffers its writes and its commit does not notice a write that the system cut
    // short (a full disk, a file-size limit): it would put the shortened file in place. So the
    // buffer is flushed here and the temporary file measured before the old file is replaced.
    if (file.write(bytes.data(), size) != size || !file.flush() || file.size() != size) {
        result.status = DataFileWrite::Status::WriteFailed;
        result.reason = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.status = DataFileWrite::Status::WriteFailed;
        result.reason = file.errorString();
        return result;
    }
    return result;
}

EditorLines::EditorLines(const QTextDocument &document)
    : text_(document.toRawText())
{
}

bool EditorLines::next(std::u16string_view &line, int &position)
{
    if (done_)
        return false;
    // The document's own text keeps U+2029 between its blocks, one unit per line break, so
    // that indices in it are cursor positions.
    const std::u16string_view text = u16View(text_);
    std::size_t end = text.find(u'\u2029', at_);
    if (end == std::u16string_view::npos) {
        end = text.size();
        done_ = true;
    }
    line = text.substr(at_, end - at_);
    position = static_cast<int>(at_);
    at_ = end + 1;
    return true;
}

EditorBytes editorBytes(const QTextDocument &document)
{
    EditorBytes result;
    std::string &bytes = result.bytes;
    EditorLines lines(document);
    std::u16string_view line;
    int position = 0;
    int number = 0;
    while (lines.next(line, position)) {
        ++number;
        if (number > 1)
            bytes += "\r\n";
        const Big5EncodeResult encoded = encodeBig5(line);
        if (!encoded.ok()) {
            const std::size_t index = encoded.badPosition;
            const bool pair = QChar::isHighSurrogate(line[index]) && index + 1 < line.size()
                              && QChar::isLowSurrogate(line[index + 1]);
            result.ok = false;
            result.badLine = number;
            result.badPosition = position + static_cast<int>(index);
            result.badCharacter = QString::fromUtf16(line.data() + index, pair ? 2 : 1);
            bytes.clear();
            return result;
        }
        bytes += encoded.bytes;
    }
    return result;
}

int editorLineCount(const QTextDocument &document)
{
    // An empty document has one empty block; a text ending with a line break ends with one.
    // QTextBlock::length() counts the block's separator too.
    const int blocks = document.blockCount();
    return document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString codePointText(const QString &character)
{
    if (character.isEmpty())
        return {};
    const char32_t code = character.size() > 1 && character.at(0).isHighSurrogate()
                              ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                              : character.at(0).unicode();
    return QStringLiteral("U+") + QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0');
}

} // namespace kpx
