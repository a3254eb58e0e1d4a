#include "app/frmView.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "present/ViewerDisplay.h"
#include "session/ViewerText.h"
#include "support/ProgramTexts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <optional>

namespace orbivex {
namespace {

using test::ScriptedDialogs;

const QString kOpeningNote =
    QStringLiteral("NOTE: This file is too large to display entirely in this textbox.\r\n"
                   "To view the entire contents of the file load it into NotePad,\r\n"
                   "WordPad or some other text editor.\r\n\r\n");
const QString kClosingNote =
    QStringLiteral("\r\n\r\nNOTE: Entire contents of file have not been displayed.\r\n");

// Text of `length` characters in lines of 60, so the text box has real lines to lay out.
QByteArray TextOfLength(int length) {
    QByteArray text;
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        text.append(i % 61 == 60 ? '\n' : static_cast<char>('a' + i % 26));
    }
    return text;
}

ProgramTexts ShippedTexts() {
    ProgramTexts texts;
    texts.Load(QDir(test::ProgramFolder()).filePath(QStringLiteral("orbx.dat")));
    return texts;
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

TEST(ViewerDisplayText, ShowsAFileBelowTheLimitWholeAndALongerOneBetweenTheNotes) {
    const QString below = QString::fromLatin1(TextOfLength(kViewerCharacterLimit - 1));
    EXPECT_EQ(ViewerDisplayText(below), below);

    const QString atLimit = QString::fromLatin1(TextOfLength(kViewerCharacterLimit));
    const QString shown = ViewerDisplayText(atLimit);
    EXPECT_EQ(shown.size(), 65534);
    ASSERT_TRUE(shown.startsWith(kOpeningNote));
    ASSERT_TRUE(shown.endsWith(kClosingNote));
    const QString part =
        shown.mid(kOpeningNote.size(), shown.size() - kOpeningNote.size() - kClosingNote.size());
    EXPECT_TRUE(atLimit.startsWith(part));
    EXPECT_EQ(kOpeningNote.size() + part.size() + kClosingNote.size() - 4, kViewerCharacterLimit);

    // A much longer file shows the same amount.
    EXPECT_EQ(ViewerDisplayText(QString(200000, QLatin1Char('x'))).size(), 65534);
}

TEST(ViewerDisplayText, NeverCutsACharacterOutsideTheBasicPlaneInHalf) {
    // A run of two-unit characters placed so that the cut would fall inside one of them.
    const int partLength = kViewerCharacterLimit - kOpeningNote.size() - (kClosingNote.size() - 4);
    QString text(partLength - 1, QLatin1Char('a'));
    while (text.size() < kViewerCharacterLimit + 10) {
        text += QString::fromUcs4(U"\U0001F30D");
    }
    const QString shown = ViewerDisplayText(text);
    const QString part =
        shown.mid(kOpeningNote.size(), shown.size() - kOpeningNote.size() - kClosingNote.size());
    EXPECT_FALSE(part.back().isHighSurrogate());
    EXPECT_EQ(part.size(), partLength - 1);
}

TEST(ReadViewerFile, ReportsEmptyMissingAndReadFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    ASSERT_TRUE(test::WriteAll(empty, {}));
    EXPECT_EQ(ReadViewerFile(empty).status, ViewerFile::Status::Empty);

    const ViewerFile missing = ReadViewerFile(dir.filePath(QStringLiteral("missing.txt")));
    EXPECT_EQ(missing.status, ViewerFile::Status::Failed);
    EXPECT_EQ(missing.errorDescription, QStringLiteral("No such file or directory"));

    const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
    ASSERT_TRUE(test::WriteAll(utf8, QByteArray("\xEF\xBB\xBFJupiter \xE2\x99\x83 trine")));
    const ViewerFile read = ReadViewerFile(utf8);
    EXPECT_EQ(read.status, ViewerFile::Status::Read);
    EXPECT_EQ(read.text, QString::fromUtf8("Jupiter \xE2\x99\x83 trine"));

    // However big, a file is still recognised as too long to show whole.
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    ASSERT_TRUE(test::WriteAll(big, QByteArray(1 << 20, 'x')));
    EXPECT_EQ(ViewerDisplayText(ReadViewerFile(big).text).size(), 65534);
}

TEST(HelpFile, IsShippedBesideTheProgramAndShownWhole) {
    const ViewerFile help =
        ReadViewerFile(QDir(test::ProgramFolder()).filePath(QLatin1String(kHelpFileName)));
    ASSERT_EQ(help.status, ViewerFile::Status::Read) << help.errorDescription.toStdString();
    EXPECT_LT(help.text.size(), kViewerCharacterLimit);
    EXPECT_FALSE(help.text.contains(QChar::ReplacementCharacter));
    for (const QString& line : help.text.split(QLatin1Char('\n'))) {
        EXPECT_LT(line.size(), 100) << line.toStdString();
    }
}

TEST(HelpFile, TellsWhatTheCommandsDoAndNothingOutdated) {
    const QString help =
        ReadViewerFile(QDir(test::ProgramFolder()).filePath(QLatin1String(kHelpFileName)))
            .text.simplified();
    const char* const told[] = {
        "changes nothing: a message says why, and your dates, mode and settings stay as they were",
        "If a save fails (a full disk, a folder you may not write to), a message says why and the "
        "old file stays as it was",
        "a message says that there is nothing to restore",
        "with its close box, or pressing Escape, is the same as Cancel",
        "Click \"User manual\"",
        // Typed times, zone names, calendars, the zodiac, the aspectarian, Find, the modern
        // wheel, SVG, the chart sheet and batch.
        "type any time to the minute",
        "Europe/Paris",
        "summer time, war time and changes of zone included",
        "Julian before 15 October 1582",
        "Zodiac of the signs",
        "12. ASPECTARIAN",
        "Find Makes the same search at full speed",
        "The modern wheel",
        "as an SVG image",
        "\"Print A4...\" shows the chart sheet",
        "batch (the charts of every line of a file)",
    };
    for (const char* sentence : told) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(sentence))) << sentence;
    }
    for (const char* untrue :
         {"return to their defaults", "resets all settings", "online", "time is not applied",
          "half-hour steps (00:00", "Gregorian calendar throughout"}) {
        EXPECT_FALSE(help.contains(QString::fromUtf8(untrue))) << untrue;
    }
}

class HelpViewer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        mainWindow.setGeometry(100, 200, 960, 640);
    }

    QString HelpPath() const { return folder.filePath(QLatin1String(kHelpFileName)); }
    void WriteHelp(const QByteArray& text) { ASSERT_TRUE(test::WriteAll(HelpPath(), text)); }
    void Help() {
        ShowHelp(view, mainWindow, folder.path(), texts);
        Settle();
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    ProgramTexts texts = ShippedTexts();
    QWidget mainWindow;
    frmView view{dialogs, texts};
};

TEST_F(HelpViewer, ShowsTheFileOverTheMainWindowReadOnly) {
    WriteHelp("First line\nSecond line\n");
    Help();
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(view.blnFileDisplayed);
    EXPECT_TRUE(dialogs.Calls().empty());
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(view.strFilename, HelpPath());
    EXPECT_EQ(view.txbView->toPlainText(), QStringLiteral("First line\nSecond line\n"));
    EXPECT_TRUE(view.txbView->isReadOnly());
    EXPECT_EQ(view.txbView->textCursor().position(), 0);
    EXPECT_EQ(view.cmdClose->text(), QStringLiteral("C&lose"));
    EXPECT_FALSE(view.cmdCopyToClipboard->isVisible());
    EXPECT_EQ(view.txbView->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(view.txbView->font().pointSize(), 11);

    // Placed 25 px below and 7 px right of the main window, 13 px narrower, 32 px lower; the
    // text box fills it but for its margins and the buttons under it.
    EXPECT_EQ(view.geometry(), QRect(107, 225, 947, 608));
    QApplication::sendPostedEvents(); // the layout's pending request
    EXPECT_EQ(view.txbView->width(), view.width() - 16);
    EXPECT_GT(view.txbView->height(), view.height() - 60);
    EXPECT_GT(view.cmdClose->y(), view.txbView->geometry().bottom());
    EXPECT_EQ(view.cmdClose->geometry().right(), view.txbView->geometry().right());
}

TEST_F(HelpViewer, ShowsAFileOfTheLimitTruncatedWithBothNotesOnTheirOwnLines) {
    WriteHelp(TextOfLength(kViewerCharacterLimit));
    Help();
    ASSERT_TRUE(view.blnFileDisplayed);
    EXPECT_EQ(view.DisplayedText().size(), 65534);
    const QTextDocument* document = view.txbView->document();
    EXPECT_EQ(document->findBlockByNumber(0).text(),
              QStringLiteral("NOTE: This file is too large to display entirely in this textbox."));
    EXPECT_EQ(document->findBlockByNumber(2).text(),
              QStringLiteral("WordPad or some other text editor."));
    EXPECT_TRUE(document->findBlockByNumber(3).text().isEmpty());
    EXPECT_TRUE(view.txbView->toPlainText().contains(
        QStringLiteral("\n\nNOTE: Entire contents of file have not been displayed.\n")));

    WriteHelp(TextOfLength(kViewerCharacterLimit - 1));
    view.close();
    Help();
    EXPECT_EQ(view.DisplayedText(), QString::fromLatin1(TextOfLength(kViewerCharacterLimit - 1)));
}

TEST_F(HelpViewer, AnEmptyOrMissingFileIsReportedByNameAndTheViewerHides) {
    struct Case {
        const char* what;
        std::optional<QByteArray> file; // none: missing
        QString message;
        QString title;
    };
    const Case cases[] = {
        {"empty", QByteArray(), QStringLiteral("The help file\r\n%1\r\nis empty."),
         QStringLiteral("Help file is empty")},
        {"missing", std::nullopt,
         QStringLiteral("The help file\r\n%1\r\ncannot be read: No such file or directory."),
         QStringLiteral("Cannot read the help file")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(HelpPath());
        if (c.file) {
            WriteHelp(*c.file);
        }
        dialogs.Clear();
        view.close();
        Help();
        EXPECT_FALSE(view.isVisible());
        EXPECT_FALSE(view.blnFileDisplayed);
        ASSERT_EQ(dialogs.Calls().size(), 1u);
        const ScriptedDialogs::Call& message = dialogs.Calls().front();
        EXPECT_EQ(message.kind, ScriptedDialogs::Kind::Message);
        EXPECT_EQ(message.text, c.message.arg(HelpPath()));
        EXPECT_EQ(message.title, c.title);
        EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
    }

    // Once the file is there, the next Help shows it.
    WriteHelp("Now it exists.");
    Help();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.DisplayedText(), QStringLiteral("Now it exists."));
}

TEST_F(HelpViewer, CloseKeepsTheTextAndFrameCloseReadsAfresh) {
    WriteHelp("Version one.");
    Help();
    view.cmdClose->click();
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(view.blnFileDisplayed);

    WriteHelp("Version two.");
    Help();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.DisplayedText(), QStringLiteral("Version one."));

    view.close();
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(view.blnFileDisplayed);
    Help();
    EXPECT_EQ(view.DisplayedText(), QStringLiteral("Version two."));
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST_F(HelpViewer, HelpRestoresAMinimizedViewerWithoutReloadingOrMovingIt) {
    WriteHelp("Version one.");
    Help();
    view.setGeometry(300, 300, 700, 500);
    view.setWindowState(Qt::WindowMinimized);
    Settle();
    ASSERT_TRUE(view.isMinimized());

    WriteHelp("Version two.");
    Help();
    EXPECT_FALSE(view.isMinimized());
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.DisplayedText(), QStringLiteral("Version one."));
    EXPECT_EQ(view.geometry().topLeft(), QPoint(300, 300));
}

TEST_F(HelpViewer, KeepsItsMinimumSize) {
    WriteHelp("Short.");
    Help();
    view.resize(100, 50);
    Settle();
    EXPECT_GE(view.width(), 533);
    EXPECT_GE(view.height(), 133);
}

} // namespace
} // namespace orbivex
