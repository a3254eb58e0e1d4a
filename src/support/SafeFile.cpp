#include "support/SafeFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace orbivex {

Status NotARegularFile(const QString& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    // The status of what the path leads to: a link to a device is a device. Where the status
    // cannot be learnt (a folder that cannot be searched), opening the file fails and says why.
    const fs::file_status status =
        fs::status(fs::path(QFile::encodeName(path).toStdString()), error);
    switch (status.type()) {
    case fs::file_type::directory:
        return Fail(QStringLiteral("it is a folder, not a regular file"));
    case fs::file_type::character:
    case fs::file_type::block:
        return Fail(QStringLiteral("it is a device, not a regular file"));
    case fs::file_type::fifo:
        return Fail(QStringLiteral("it is a named pipe, not a regular file"));
    case fs::file_type::socket:
        return Fail(QStringLiteral("it is a socket, not a regular file"));
    case fs::file_type::unknown:
        if (error) {
            return {};
        }
        return Fail(QStringLiteral("it is not a regular file"));
    default:
        return {};
    }
}

QString FailureReason(const QFileDevice& file, int systemError) {
    const QString said = file.errorString();
    // Qt leaves some failures of the system (a full disk met while writing out its buffer)
    // without words of their own.
    if (systemError != 0 && (said.isEmpty() || said == QLatin1String("Unknown error"))) {
        return QString::fromLocal8Bit(std::strerror(systemError));
    }
    return said;
}

Status SafeFile::Open() {
    if (file_.fileName().isEmpty()) {
        return Fail(QStringLiteral("no file name was given"));
    }
    if (Status regular = NotARegularFile(file_.fileName()); !regular) {
        return regular;
    }
    errno = 0;
    if (!file_.open(QIODevice::WriteOnly)) {
        return Fail(FailureReason(file_, errno));
    }
    open_ = true;
    return {};
}

Status SafeFile::Write(QByteArrayView bytes) {
    errno = 0;
    if (file_.write(bytes.data(), bytes.size()) != bytes.size()) {
        return Failed();
    }
    return {};
}

Status SafeFile::Failed() {
    const QString reason = FailureReason(file_, errno);
    Cancel();
    return Fail(reason);
}

Status SafeFile::Commit() {
    // commit() does not report a failure to write out the bytes still buffered, as on a full
    // disk, and would put a cut-off file in place of the old one: flush them first.
    errno = 0;
    if (!file_.flush()) {
        return Failed();
    }
    open_ = false; // commit() closes the file, and throws the new one away when it fails
    if (!file_.commit()) {
        return Fail(FailureReason(file_, errno));
    }
    return {};
}

void SafeFile::Cancel() {
    if (open_) {
        file_.cancelWriting();
        file_.commit(); // after cancelWriting, only removes the new file
        open_ = false;
    }
}

Status WriteFileWhole(const QString& path, QByteArrayView bytes) {
    SafeFile file(path);
    if (Status opened = file.Open(); !opened) {
        return opened;
    }
    if (Status written = file.Write(bytes); !written) {
        return written;
    }
    return file.Commit();
}

} // namespace orbivex
