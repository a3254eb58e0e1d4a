// The file a save goes to: the extension "Save as" adds, the question before it replaces a file
// the dialog never asked about, and the refusal to replace anything but a regular file.
#include "persistence/SaveTarget.h"

#include "SampleStates.h"
#include "common/ScriptedDialogs.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"
#include "persistence/StateFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

using Kind = test::ScriptedDialogs::Kind;

TEST(NameWithExtension, AddsTheExtensionOnceAndNeverAfterADot) {
    struct Case {
        const char* chosen;
        OtherExtension other;
        const char* saved;
    };
    const Case cases[] = {
        {"/d/keep", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.pat", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.PAT", OtherExtension::Keep, "/d/keep.PAT"},
        {"/d/keep.", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep..", OtherExtension::Keep, "/d/keep.pat"},
        {"/d/keep.txt", OtherExtension::Keep, "/d/keep.txt"},
        {"/d.v2/keep", OtherExtension::Keep, "/d.v2/keep.pat"},
        {"/d/keep.txt", OtherExtension::Append, "/d/keep.txt.pat"},
        {"/d/keep.", OtherExtension::Append, "/d/keep.pat"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameWithExtension(QString::fromUtf8(c.chosen), QStringLiteral(".pat"), c.other),
                  QString::fromUtf8(c.saved))
            << c.chosen;
    }
}

TEST(ConfirmedSaveTarget, AsksOnlyWhenTheAddedExtensionNamesAnExistingFile) {
    QTemporaryDir folder;
    const QString keep = folder.filePath(QStringLiteral("keep"));
    ASSERT_TRUE(test::WriteAll(keep + QStringLiteral(".pat"), "kept"));
    const auto target = [&](const QString& chosen, test::ScriptedDialogs& dialogs) {
        return ConfirmedSaveTarget(dialogs, nullptr, chosen, QStringLiteral(".pat"),
                                   OtherExtension::Keep, QStringLiteral("Save state as"));
    };
    struct Case {
        QString chosen;
        int answer; // -1: no question, otherwise the answer given
        QString result;
    };
    const Case cases[] = {
        {keep, int(Dialogs::Answer::Yes), keep + QStringLiteral(".pat")},
        {keep, int(Dialogs::Answer::No), QString()},
        {keep + QLatin1Char('.'), int(Dialogs::Answer::No), QString()},
        {keep + QStringLiteral(".pat"), -1, keep + QStringLiteral(".pat")}, // the dialog asked
        {folder.filePath(QStringLiteral("new")), -1, folder.filePath(QStringLiteral("new.pat"))},
    };
    for (const Case& c : cases) {
        test::ScriptedDialogs dialogs;
        if (c.answer >= 0) {
            dialogs.QueueAnswer(Dialogs::Answer(c.answer));
        }
        EXPECT_EQ(target(c.chosen, dialogs), c.result) << c.chosen.toStdString();
        ASSERT_EQ(dialogs.CountOf(Kind::Question), c.answer >= 0 ? 1u : 0u);
        if (c.answer >= 0) {
            const auto question = dialogs.CallsOf(Kind::Question)[0];
            EXPECT_EQ(question.text, keep + QStringLiteral(".pat already exists.\r\n"
                                                           "Do you want to replace it?"));
            EXPECT_EQ(question.title, QStringLiteral("Save state as"));
            EXPECT_EQ(question.defaultAnswer, Dialogs::Answer::No);
        }
    }
    EXPECT_EQ(test::ReadAll(keep + QStringLiteral(".pat")), QByteArray("kept"));
}

TEST(NotARegularFile, StateFilesReplaceOnlyRegularFiles) {
    QTemporaryDir folder;
    const std::vector<test::SpecialFile> specials =
        test::MakeSpecialFiles(folder.path(), QStringLiteral(".pat"));
    ASSERT_FALSE(specials.empty());
    for (const test::SpecialFile& special : specials) {
        SCOPED_TRACE(special.what.toStdString());
        test::ScriptedDialogs dialogs;
        // Not asked about: the writer refuses it.
        EXPECT_EQ(ConfirmedSaveTarget(dialogs, nullptr, special.path.chopped(4),
                                      QStringLiteral(".pat"), OtherExtension::Keep, QString()),
                  special.path);
        EXPECT_EQ(dialogs.CountOf(Kind::Question), 0u);
        EXPECT_EQ(NotARegularFile(special.path), QStringLiteral("it is a ") + special.kindWords);
        EXPECT_EQ(
            WriteStateFile(special.path, test::SampleState(0)),
            QStringLiteral("Cannot save %1: it is a %2.").arg(special.path, special.kindWords));
        EXPECT_TRUE(test::StillSpecial(special));
    }
    // What may be written: a new name, a regular file, a link to one.
    const QString file = folder.filePath(QStringLiteral("file.pat"));
    const QString link = folder.filePath(QStringLiteral("link.pat"));
    ASSERT_TRUE(test::WriteAll(file, "old"));
    ASSERT_TRUE(QFile::link(file, link));
    for (const QString& path : {folder.filePath(QStringLiteral("new.pat")), file, link}) {
        EXPECT_EQ(NotARegularFile(path), QString());
        EXPECT_EQ(WriteStateFile(path, test::SampleState(0)), QString());
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

} // namespace
} // namespace orbivex
