#include "session/ViewerText.h"

#include <QFile>
#include <QStringDecoder>

namespace orbivex {

namespace {

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

} // namespace orbivex
