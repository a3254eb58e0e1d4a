// Saving a chart image onto a full disk: the image files the user had keep their contents,
// and the save says it failed.
#include "common/SmallFileSystem.h"
#include "common/TestSupport.h"
#include "present/ImageExport.h"
#include "support/ProgramTexts.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(ImageFileSafety, AFullDiskKeepsTheImagesThatWereThere) {
    const test::SmallFileSystem disk;
    if (!disk.mounted()) {
        GTEST_SKIP() << "no file system can be mounted here (" << disk.refusal().toStdString()
                     << ")";
    }
    // A small image: its file fits in what is buffered before the end of the save.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const ImageFileNames names = ImageFileNamesFor(disk.filePath(QStringLiteral("chart.png")));
    ASSERT_TRUE(test::WriteAll(names.png, "previous chart"));
    ASSERT_TRUE(test::WriteAll(names.bitmap, "previous bitmap"));
    ASSERT_TRUE(disk.Fill());

    QTemporaryDir work;
    const QString bitmap = work.filePath(QStringLiteral("chart.bmp"));
    ASSERT_TRUE(image.save(bitmap, "BMP"));
    QString message;
    EXPECT_FALSE(ConvertGraphicsFile(bitmap, names.png, true, true, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(bitmap)) << "the source went although nothing was converted";

    const ProgramTexts texts = ProgramTexts::FromEntries({{134, QStringLiteral("Saved as")}});
    const ImageSaveOutcome outcome = SaveImageFiles(image, names, texts);
    EXPECT_EQ(outcome.result, ImageSaveResult::Failed) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("No space left on device")))
        << outcome.message.toStdString();
    EXPECT_EQ(test::ReadAll(names.png), QByteArray("previous chart"));
    EXPECT_EQ(test::ReadAll(names.bitmap), QByteArray("previous bitmap"));
}

} // namespace
} // namespace orbivex
