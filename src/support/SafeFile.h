#pragma once
// Files the user names, written whole or not at all and never in place of anything but a
// regular file; and read only when they are regular files, since opening a named pipe waits
// for a writer that may never come.

#include "support/Expected.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace orbivex {

// Success when a file may be written or read at `path`: nothing is there yet, or a regular
// file (also behind a link). Otherwise why not, as "it is a device, not a regular file": a
// folder, a device, a named pipe or a socket is never replaced by a plain file nor read.
Status NotARegularFile(const QString& path);

// A file written in steps and put in place only by Commit(): until then, and after any
// failure, the file that was there keeps its contents. The messages are the system's reason
// ("No space left on device"), never a bare "Unknown error".
class SafeFile {
  public:
    explicit SafeFile(const QString& path) : file_(path) {}
    // An uncommitted file is thrown away.
    ~SafeFile() { Cancel(); }
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Refuses anything but a regular file, then opens the new file beside it.
    Status Open();
    Status Write(QByteArrayView bytes);
    // The open file, for writers that take a device; their failures are told by Failed().
    QFileDevice& Device() { return file_; }
    // Gives up the write, with the reason of the device's last failure.
    Status Failed();
    // Writes out what is buffered and puts the file in place of the old one.
    Status Commit();
    void Cancel();

  private:
    QSaveFile file_;
    bool open_ = false;
};

// Writes `bytes` to `path` whole or not at all, or says why not.
Status WriteFileWhole(const QString& path, QByteArrayView bytes);

// The reason of the last failure of `file`: its own message, or the system's when Qt has
// none better than "Unknown error" (`systemError` is errno right after the failure).
QString FailureReason(const QFileDevice& file, int systemError);

} // namespace orbivex
