#include "present/ViewerDisplay.h"

#include "session/ViewerText.h"

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

} // namespace

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
