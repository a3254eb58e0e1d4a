// Saving a chart image onto a full disk or onto something that is not a regular file: the
// files the user had keep their contents, and the save says it failed and why.
#include "common/SmallFileSystem.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"
#include "draw/ImageExport.h"
#include "session/SaveTarget.h"
#include "support/ProgramTexts.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

TEST(ImageFileSafety, AFullDiskKeepsTheImagesThatWereThereAndSaysWhy) {
    const test::SmallFileSystem disk;
    if (!disk.mounted()) {
        GTEST_SKIP() << "no file system can be mounted here (" << disk.refusal().toStdString()
                     << ")";
    }
    const ImageFileNames names = ImageFileNamesFor(disk.filePath(QStringLiteral("chart.png")));
    ASSERT_TRUE(test::WriteAll(names.png, "previous chart"));
    ASSERT_TRUE(test::WriteAll(names.bitmap, "previous bitmap"));
    ASSERT_TRUE(disk.Fill());
    const ProgramTexts texts = ProgramTexts::FromEntries({{134, QStringLiteral("Saved as")}});
    // An image whose file stays in the buffer until the end, and one written out on the way.
    for (const int side : {16, 1000}) {
        SCOPED_TRACE(side);
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        for (int x = 0; x < side; ++x) {
            image.setPixel(x, (x * 7) % side, qRgb(x % 256, 200, 50)); // that compresses badly
        }
        const ImageSaveOutcome outcome = SaveImageFiles(image, names, texts);
        EXPECT_EQ(outcome.result, ImageSaveResult::Failed);
        EXPECT_TRUE(outcome.message.endsWith(QStringLiteral("\r\nNo space left on device.")))
            << outcome.message.toStdString();
        EXPECT_EQ(test::ReadAll(names.png), QByteArray("previous chart"));
        EXPECT_EQ(test::ReadAll(names.bitmap), QByteArray("previous bitmap"));
    }
}

TEST(ImageFileSafety, OnlyARegularFileIsReplaced) {
    QTemporaryDir folder;
    const std::vector<test::SpecialFile> specials =
        test::MakeSpecialFiles(folder.path(), QStringLiteral(".png"));
    ASSERT_FALSE(specials.empty());
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const ProgramTexts texts;
    for (const test::SpecialFile& special : specials) {
        SCOPED_TRACE(special.what.toStdString());
        const QString refusal = QStringLiteral("\r\nIt is a %1.").arg(special.kindWords);
        // No question, no bitmap in its place, and the reason.
        const SaveTarget target =
            SaveTargetOf(special.path.chopped(4), QStringLiteral(".png"), OtherExtension::Append);
        EXPECT_FALSE(target.askToReplace);
        const ImageSaveOutcome outcome =
            SaveImageFiles(image, ImageFileNamesFor(target.name), texts);
        EXPECT_EQ(outcome.result, ImageSaveResult::Failed);
        EXPECT_TRUE(outcome.message.endsWith(refusal)) << outcome.message.toStdString();
        EXPECT_EQ(outcome.icon, MessageIcon::Exclamation);
        EXPECT_TRUE(test::StillSpecial(special));
        EXPECT_FALSE(QFileInfo::exists(ImageFileNamesFor(special.path).bitmap));
    }
}

} // namespace
} // namespace orbivex
