#include "session/ViewerText.h"

#include <QFile>
#include <QStringDecoder>

namespace orbivex {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString OpeningNote() {
    return QStringLiteral("NOTE: This file is too large to display entirely in this textbox.") +
           kCrLf + QStringLiteral("To view the entire contents of the file load it into NotePad,") +
           kCrLf + QStringLiteral("WordPad or some other text editor.") + kCrLf + kCrLf;
}

QString ClosingNote() {
    return QStringLiteral("NOTE: Entire contents of file have not been displayed.") + kCrLf;
}

// UTF-8 never spends more than three bytes on one UTF-16 code unit, so this many bytes always
// decode to more characters than the limit.
constexpr qint64 kBytesEnoughForLimit = 3 * static_cast<qint64>(kViewerCharacterLimit) + 16;

} // namespace

ViewerFile ReadViewerFile(const QString& path) {
    ViewerFile result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorDescription = file.errorString();
        return result;
    }
    const QByteArray bytes = file.read(kBytesEnoughForLimit);
    if (file.error() != QFileDevice::NoError) {
        result.errorDescription = file.errorString();
        return result;
    }
    if (bytes.isEmpty()) {
        result.status = ViewerFile::Status::Empty;
        return result;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    result.text = decoder.decode(bytes);
    result.status = ViewerFile::Status::Read;
    return result;
}

QString ViewerDisplayText(const QString& fileText) {
    if (fileText.size() < kViewerCharacterLimit) {
        return fileText;
    }
    const QString opening = OpeningNote();
    const QString closing = ClosingNote();
    qsizetype partLength = kViewerCharacterLimit - opening.size() - closing.size();
    // Never end the part between the two halves of a surrogate pair.
    if (partLength > 0 && fileText.at(partLength - 1).isHighSurrogate()) {
        --partLength;
    }
    return opening + fileText.left(partLength) + kCrLf + kCrLf + closing;
}

} // namespace orbivex
