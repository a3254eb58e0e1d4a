// The windows' flows through the dialog seam: what they ask, what they save and what they show.
#include "app/DialogFlows.h"

#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "support/ProgramTexts.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

using test::ScriptedDialogs;

ProgramTexts ShippedTexts() {
    ProgramTexts texts;
    texts.Load(QDir(test::ProgramFolder()).filePath(QStringLiteral("orbx.dat")));
    return texts;
}

TEST(DialogFlows, ImageSaveAsAsksForTheFileAndReportsTitledWithTheCommand) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramTexts texts = ShippedTexts();
    QImage image(660, 440, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 192));
    const QString caption = QStringLiteral("Save as ...");

    ScriptedDialogs dialogs;
    dialogs.QueueFileName(QString()); // cancelled
    EXPECT_EQ(SaveImageAs(dialogs, nullptr, image, texts, caption), ImageSaveResult::Cancelled);
    ASSERT_EQ(dialogs.CountOf(ScriptedDialogs::Kind::SaveFile), 1u);
    const auto dialog = dialogs.CallsOf(ScriptedDialogs::Kind::SaveFile)[0];
    EXPECT_EQ(dialog.title, QStringLiteral("Save chart image as"));
    EXPECT_EQ(dialog.filter, QStringLiteral("PNG images (*.png)"));
    EXPECT_EQ(dialog.initialName, QString());
    EXPECT_EQ(dialogs.CountOf(ScriptedDialogs::Kind::Message), 0u);

    const QString chosen = folder.filePath(QStringLiteral("synastry"));
    dialogs.QueueFileName(chosen);
    EXPECT_EQ(SaveImageAs(dialogs, nullptr, image, texts, caption), ImageSaveResult::Saved);
    const auto messages = dialogs.CallsOf(ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, caption);
    EXPECT_EQ(messages[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("The chart image was saved as\r\n") + chosen + QStringLiteral(".png"));
    EXPECT_EQ(QImageReader(chosen + QStringLiteral(".png")).read().size(), QSize(660, 440));

    // The same name again: the dialog never asked about "synastry.png", so the program asks.
    const QByteArray before = test::ReadAll(chosen + QStringLiteral(".png"));
    dialogs.Clear();
    dialogs.QueueFileName(chosen);
    dialogs.QueueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(SaveImageAs(dialogs, nullptr, QImage(10, 10, QImage::Format_RGB32), texts, caption),
              ImageSaveResult::Cancelled);
    ASSERT_EQ(dialogs.CountOf(ScriptedDialogs::Kind::Question), 1u);
    EXPECT_TRUE(dialogs.CallsOf(ScriptedDialogs::Kind::Question)[0].text.startsWith(
        chosen + QStringLiteral(".png already exists.")));
    EXPECT_EQ(test::ReadAll(chosen + QStringLiteral(".png")), before);

    // The course graph is saved as it is shown.
    QImage graph(300, 200, QImage::Format_RGB32);
    graph.fill(QColor(224, 224, 224));
    dialogs.QueueFileName(folder.filePath(QStringLiteral("graph.png")));
    EXPECT_EQ(SaveImageAs(dialogs, nullptr, graph, texts, caption), ImageSaveResult::Saved);
    EXPECT_EQ(QImageReader(folder.filePath(QStringLiteral("graph.png")))
                  .read()
                  .convertToFormat(QImage::Format_RGB32),
              graph);
    EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
}

} // namespace
} // namespace orbivex
