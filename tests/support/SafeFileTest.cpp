// The one writer of the files the user names: only a regular file is replaced, a failed write
// leaves the old file whole and says why in the system's words, and nothing is left behind.
#include "support/SafeFile.h"

#include "common/SmallFileSystem.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(SafeFile, OnlyARegularFileIsReplaced) {
    QTemporaryDir folder;
    const std::vector<test::SpecialFile> specials =
        test::MakeSpecialFiles(folder.path(), QStringLiteral(".out"));
    ASSERT_FALSE(specials.empty());
    for (const test::SpecialFile& special : specials) {
        SCOPED_TRACE(special.what.toStdString());
        const QString refusal = QStringLiteral("it is a ") + special.kindWords;
        EXPECT_EQ(MessageOf(NotARegularFile(special.path)), refusal);
        EXPECT_EQ(MessageOf(WriteFileWhole(special.path, "new")), refusal);
        EXPECT_TRUE(test::StillSpecial(special));
    }
    EXPECT_EQ(MessageOf(WriteFileWhole(QString(), "new")),
              QStringLiteral("no file name was given"));

    // What may be written: a new name, a regular file, a link to one (which stays a link).
    const QString file = folder.filePath(QStringLiteral("file.out"));
    const QString link = folder.filePath(QStringLiteral("link.out"));
    ASSERT_TRUE(test::WriteAll(file, "old"));
    ASSERT_TRUE(QFile::link(file, link));
    for (const QString& path : {folder.filePath(QStringLiteral("new.out")), file, link}) {
        EXPECT_EQ(MessageOf(NotARegularFile(path)), QString());
        EXPECT_EQ(MessageOf(WriteFileWhole(path, "new")), QString());
        EXPECT_EQ(test::ReadAll(path), QByteArray("new"));
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(SafeFile, AFullDiskSaysSoAndKeepsTheOldFile) {
    const test::SmallFileSystem disk;
    if (!disk.mounted()) {
        GTEST_SKIP() << "no file system can be mounted here (" << disk.refusal().toStdString()
                     << ")";
    }
    const QString path = disk.filePath(QStringLiteral("kept.out"));
    ASSERT_TRUE(test::WriteAll(path, "old"));
    ASSERT_TRUE(disk.Fill());
    // Bytes that stay in the buffer until the commit, and bytes written out at once.
    for (const qsizetype size : {qsizetype{100}, qsizetype{1024 * 1024}}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(MessageOf(WriteFileWhole(path, QByteArray(size, 'x'))),
                  QStringLiteral("No space left on device"));
        EXPECT_EQ(test::ReadAll(path), QByteArray("old"));
        QStringList names = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        EXPECT_EQ(names, QStringList({QStringLiteral("filler"), QStringLiteral("kept.out")}));
    }
    // A write given up on the way leaves the old file too.
    ASSERT_TRUE(disk.Empty());
    {
        SafeFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("half"));
    }
    EXPECT_EQ(test::ReadAll(path), QByteArray("old"));
}

} // namespace
} // namespace orbivex
