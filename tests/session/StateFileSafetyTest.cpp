// What becomes of a state file when saving it goes wrong: a write that fails part-way, a
// program killed in the middle of a save, a full disk, a folder that cannot be written. The
// old file must come through whole every time. And a file saved under one locale must be the
// same bytes under any other, so that it loads on another machine.
#include "SampleStates.h"
#include "common/TestSupport.h"
#include "session/StateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <unistd.h>

namespace orbivex {
namespace {

using test::SampleState;

const QString WriterPath = QStringLiteral(ORBIVEX_STATE_WRITER_PATH);

// A folder holding a state file with the contents of variant 0.
struct SavedState {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("state.pat"));
    QByteArray bytes = FormatStateFile(SampleState(0));

    SavedState() { EXPECT_EQ(MessageOf(WriteStateFile(path, SampleState(0))), QString()); }

    // What the folder holds besides the state file: the leftovers of a save.
    QStringList Others() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("state.pat"));
        return names;
    }

    void ExpectWhole() const {
        EXPECT_EQ(test::ReadAll(path), bytes);
        const Expected<StateFileContents> read = ReadStateFile(path);
        EXPECT_EQ(MessageOf(read), QString());
        EXPECT_EQ(read, SampleState(0));
    }
};

// A write layer that lets `accepted` bytes through and then fails as a full disk does.
StateFileWriter FailingAfter(qsizetype accepted) {
    return [accepted](QFileDevice& file, const QByteArray& bytes) -> Status {
        const QByteArray part = bytes.first(std::min(accepted, bytes.size()));
        if (file.write(part) != part.size()) {
            return Fail(file.errorString());
        }
        return Fail(QString::fromLocal8Bit(std::strerror(ENOSPC)));
    };
}

TEST(SavingSafely, AWriteFailingPartWayKeepsTheOldFile) {
    SavedState saved;
    const qsizetype size = FormatStateFile(SampleState(1)).size();
    for (const qsizetype accepted : {qsizetype{0}, qsizetype{1}, size / 2, size - 1, size}) {
        const QString message =
            MessageOf(WriteStateFile(saved.path, SampleState(1), FailingAfter(accepted)));
        EXPECT_EQ(message, QStringLiteral("Cannot save %1: No space left on device.")
                               .arg(QDir::toNativeSeparators(saved.path)))
            << accepted << " bytes written";
        saved.ExpectWhole();
        EXPECT_EQ(saved.Others(), QStringList()) << "a failed save left its temporary file";
    }
}

// Starts the writer program and waits for the line it prints when it has done its part.
bool StartWriter(QProcess& writer, const QStringList& arguments, const QByteArray& awaited) {
    writer.start(WriterPath, arguments);
    QByteArray output;
    while (writer.waitForReadyRead(10000)) {
        output += writer.readAllStandardOutput();
        if (output.contains(awaited)) {
            return true;
        }
    }
    return false;
}

// The bytes of a save in progress in `folder`: the file the process `pid` has open there.
// Where the system can, the new file has no name until it is complete, so it is reached
// through the process's descriptors rather than the folder.
QByteArray BytesBeingSaved(qint64 pid, const QString& folder) {
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System)) {
        const QByteArray link = QFile::encodeName(descriptors.filePath(fd));
        char target[4096];
        const ssize_t length = readlink(link.constData(), target, sizeof target);
        if (length > 0 && QByteArrayView(target, length).startsWith(prefix)) {
            return test::ReadAll(QString::fromLocal8Bit(link));
        }
    }
    return {};
}

TEST(SavingSafely, AProgramKilledHalfWayThroughASaveLeavesTheOldFile) {
    SavedState saved;
    QProcess writer;
    ASSERT_TRUE(StartWriter(writer,
                            {QStringLiteral("stop-half-way"), saved.path, QStringLiteral("1")},
                            "half-written"));
    // The save is in progress: half of the new file is on the disk.
    const QByteArray half = BytesBeingSaved(writer.processId(), saved.dir.path());
    EXPECT_GT(half.size(), 100);
    EXPECT_EQ(half, FormatStateFile(SampleState(1)).first(half.size()));
    saved.ExpectWhole();

    writer.kill();
    ASSERT_TRUE(writer.waitForFinished(10000));
    EXPECT_EQ(writer.exitStatus(), QProcess::CrashExit);
    saved.ExpectWhole();

    // Whatever the killed save left behind does not stand in the way of the next one.
    ASSERT_EQ(MessageOf(WriteStateFile(saved.path, SampleState(1))), QString());
    EXPECT_EQ(test::ReadAll(saved.path), FormatStateFile(SampleState(1)));
}

TEST(SavingSafely, AProgramKilledAtAnyMomentLeavesOneWholeFile) {
    SavedState saved;
    const QByteArray first = FormatStateFile(SampleState(0));
    const QByteArray second = FormatStateFile(SampleState(1));
    // The writer saves the two states in turn; killing it lands anywhere in a save, the
    // replacing of the old file included.
    for (int round = 0; round < 12; ++round) {
        QProcess writer;
        ASSERT_TRUE(StartWriter(writer, {QStringLiteral("alternate"), saved.path}, "both-saved"));
        QThread::msleep(1 + 3 * round);
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished(10000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";
        const QByteArray bytes = test::ReadAll(saved.path);
        EXPECT_TRUE(bytes == first || bytes == second)
            << "round " << round << ": " << bytes.size() << " bytes of neither file";
    }
}

constexpr uid_t NobodyId = 65534;

// Runs the writer program as the user nobody, to whom permissions apply even where the tests
// run as the superuser.
QProcess::ExitStatus SaveAsNobody(const QString& path, QString& message) {
    QProcess writer;
    writer.setChildProcessModifier([] {
        if (setgroups(0, nullptr) != 0 || setgid(NobodyId) != 0 || setuid(NobodyId) != 0) {
            _exit(125);
        }
    });
    writer.start(WriterPath, {QStringLiteral("save"), path, QStringLiteral("1")});
    if (!writer.waitForFinished(30000)) {
        writer.kill();
        writer.waitForFinished();
        return QProcess::CrashExit;
    }
    message = QString::fromLocal8Bit(writer.readAllStandardOutput()).trimmed();
    if (writer.exitCode() == 125 || writer.exitCode() == 127) {
        message = QStringLiteral("the writer could not run as nobody: ") +
                  QString::fromLocal8Bit(writer.readAllStandardError());
    }
    return writer.exitStatus();
}

TEST(SavingSafely, AReadOnlyFolderGivesAMessageAndKeepsTheOldFile) {
    // A folder of the saving user that the user may read but not write.
    QTemporaryDir outer;
    const QString folder = outer.filePath(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/state.pat");
    ASSERT_EQ(MessageOf(WriteStateFile(path, SampleState(0))), QString());
    const bool superuser = geteuid() == 0;
    if (superuser) {
        // nobody reaches the folder through the outer one, and owns the folder and the file.
        ASSERT_TRUE(
            QFile::setPermissions(outer.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ExeOther));
        ASSERT_EQ(chown(QFile::encodeName(folder).constData(), NobodyId, NobodyId), 0);
        ASSERT_EQ(chown(QFile::encodeName(path).constData(), NobodyId, NobodyId), 0);
    }
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    QString message;
    if (superuser) {
        ASSERT_EQ(SaveAsNobody(path, message), QProcess::NormalExit);
    } else {
        message = MessageOf(WriteStateFile(path, SampleState(1)));
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(
        message,
        QStringLiteral("Cannot save %1: Permission denied.").arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(test::ReadAll(path), FormatStateFile(SampleState(0)));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("state.pat")});
}

TEST(SavingSafely, TheFileIsTheSameBytesInEveryLocale) {
    const QByteArray expected = FormatStateFile(SampleState(0));
    // Latin-1 whatever the locale's encoding, CR LF whatever the system's line ends.
    EXPECT_TRUE(expected.contains("\r\n19\xe9"
                                  "0\r\n"));
    EXPECT_EQ(expected.count("\r\n"), 44);
    EXPECT_EQ(expected.count('\n'), 44);

    // In this process under German number formats ...
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray german = FormatStateFile(SampleState(0));
    QLocale::setDefault(before);
    EXPECT_EQ(german, expected);

    // ... and in a program started in a German UTF-8 environment.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("german.pat"));
    QProcess writer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LANG", "LC_NUMERIC", "LC_CTYPE"}) {
        environment.insert(QString::fromLatin1(name), QStringLiteral("de_DE.UTF-8"));
    }
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    writer.setProcessEnvironment(environment);
    writer.start(WriterPath, {QStringLiteral("save"), path, QStringLiteral("0")});
    ASSERT_TRUE(writer.waitForFinished(30000));
    ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardOutput().constData();
    EXPECT_EQ(test::ReadAll(path), expected);

    // And what was written there reads back here.
    const Expected<StateFileContents> read = ReadStateFile(path);
    ASSERT_EQ(MessageOf(read), QString());
    EXPECT_EQ(read, SampleState(0));
}

} // namespace
} // namespace orbivex
