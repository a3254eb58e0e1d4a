#pragma once
// A file system of a few kilobytes, mounted over a temporary folder for the life of the
// object, to see what saving does when the disk is full. Mounting needs the superuser (or the
// right to mount); where it is refused, mounted() is false and the test skips.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace orbivex::test {

class SmallFileSystem {
  public:
    SmallFileSystem() {
        mounted_ =
            dir_.isValid() && mount("orbivex-test", QFile::encodeName(dir_.path()).constData(),
                                    "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") == 0;
        if (!mounted_) {
            refusal_ = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ~SmallFileSystem() {
        if (mounted_) {
            umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    // Why the file system could not be mounted.
    QString refusal() const { return refusal_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Takes up every free byte with the file "filler"; false when that did not work.
    bool Fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append)) {
            return false;
        }
        const QByteArray block(4096, 'x');
        qint64 written = 0;
        while (filler.write(block) == block.size() && filler.flush()) {
            written += block.size();
        }
        return written > 0;
    }
    // Frees what Fill took.
    bool Empty() const { return QFile::remove(filePath(QStringLiteral("filler"))); }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString refusal_;
};

} // namespace orbivex::test
