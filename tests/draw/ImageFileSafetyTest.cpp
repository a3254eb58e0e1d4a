// Saving a chart image onto a full disk or onto something that is not a regular file: the
// files the user had keep their contents, and the save says it failed and why.
#include "common/ScriptedDialogs.h"
#include "common/SmallFileSystem.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"
#include "draw/ImageExport.h"
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
    const Status converted = ConvertGraphicsFile(bitmap, names.png, true, true);
    ASSERT_FALSE(converted);
    EXPECT_FALSE(converted.error().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(bitmap)) << "the source went although nothing was converted";

    const ProgramTexts texts = ProgramTexts::FromEntries({{134, QStringLiteral("Saved as")}});
    const ImageSaveOutcome outcome = SaveImageFiles(image, names, texts);
    EXPECT_EQ(outcome.result, ImageSaveResult::Failed) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("No space left on device")))
        << outcome.message.toStdString();
    EXPECT_EQ(test::ReadAll(names.png), QByteArray("previous chart"));
    EXPECT_EQ(test::ReadAll(names.bitmap), QByteArray("previous bitmap"));
}

TEST(ImageFileSafety, OnlyARegularFileIsReplaced) {
    QTemporaryDir folder;
    const std::vector<test::SpecialFile> specials =
        test::MakeSpecialFiles(folder.path(), QStringLiteral(".png"));
    ASSERT_FALSE(specials.empty());
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const QString bitmap = folder.filePath(QStringLiteral("source.bmp"));
    ASSERT_TRUE(image.save(bitmap, "BMP"));
    const ProgramTexts texts = ProgramTexts::FromEntries({{132, QStringLiteral("Save as")}});
    for (const test::SpecialFile& special : specials) {
        SCOPED_TRACE(special.what.toStdString());
        const QString refusal =
            QStringLiteral("Cannot write %1: it is a %2.").arg(special.path, special.kindWords);
        EXPECT_EQ(MessageOf(ConvertGraphicsFile(bitmap, special.path, false, true)) +
                      QLatin1Char('.'),
                  refusal);

        // Through "Save as": no question, no bitmap in its place, and the reason.
        test::ScriptedDialogs dialogs;
        dialogs.QueueFileName(special.path.chopped(4));
        EXPECT_EQ(SaveImageAs(dialogs, nullptr, image, texts, QStringLiteral("Save as ...")),
                  ImageSaveResult::Failed);
        EXPECT_EQ(dialogs.CountOf(test::ScriptedDialogs::Kind::Question), 0u);
        ASSERT_EQ(dialogs.CountOf(test::ScriptedDialogs::Kind::Message), 1u);
        const auto shown = dialogs.CallsOf(test::ScriptedDialogs::Kind::Message)[0];
        EXPECT_TRUE(shown.text.endsWith(refusal)) << shown.text.toStdString();
        EXPECT_EQ(shown.icon, Dialogs::Icon::Exclamation);
        EXPECT_TRUE(test::StillSpecial(special));
        EXPECT_FALSE(QFileInfo::exists(ImageFileNamesFor(special.path).bitmap));
    }
}

} // namespace
} // namespace orbivex
