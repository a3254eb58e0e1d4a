#include "persistence/weblink.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace orbivex {
namespace {

using test::ScriptedDialogs;

TEST(TargetExtension, IsTheLowerCasedTextAfterTheLastDotOfTheLastPathPart) {
    struct Case {
        const char* target;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\Manuals\\Guide.PDF", "pdf"},
        {"archive.tar.GZ", "gz"},
        {"http://orbivex.example.org/manual", ""}, // the dots are in the host, not the name
        {"C:\\folder.with.dots\\readme", ""},
        {"/home/user/notes.v2/readme", ""},
        {"report.", ""},
        {"", ""},
        {"http://orbivex.example.org/manual/index.HTML", "html"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TargetExtension(QString::fromUtf8(c.target)), QString::fromUtf8(c.extension))
            << c.target;
    }
}

TEST(BrowserLaunchMessage, GivesTheCodeAndAReasonForTheKnownCodes) {
    const QString lead = QStringLiteral("Error launching web browser, error code = ");
    EXPECT_EQ(BrowserLaunchMessage(31, QStringLiteral("C:\\Docs\\Chart.Xyz")),
              lead + QStringLiteral("31.\r\n\r\nFile extension 'xyz' is not associated with any "
                                    "application program."));
    EXPECT_EQ(BrowserLaunchMessage(31, QStringLiteral("http://orbivex.example.org/manual")),
              lead + QStringLiteral("31.\r\n\r\nFile extension '' is not associated with any "
                                    "application program."));
    EXPECT_EQ(BrowserLaunchMessage(8, QStringLiteral("x.htm")),
              lead + QStringLiteral("8.\r\n\r\nOut of memory."));
    EXPECT_EQ(BrowserLaunchMessage(2, QStringLiteral("x.htm")),
              lead + QStringLiteral("2.\r\n\r\nPlease try once more."));
    EXPECT_EQ(BrowserLaunchMessage(5, QStringLiteral("x.htm")), lead + QStringLiteral("5."));
    EXPECT_EQ(BrowserLaunchMessage(32, QStringLiteral("x.htm")), lead + QStringLiteral("32."));
    EXPECT_TRUE(BrowserLaunchMessage(33, QStringLiteral("x.htm")).isEmpty());
    EXPECT_TRUE(BrowserLaunchMessage(42, QStringLiteral("x.htm")).isEmpty());
}

TEST(OpenInBrowser, OpensQuietlyOrExplainsTheFailure) {
    ScriptedDialogs dialogs;
    EXPECT_TRUE(lblURL_Click(QLatin1String(kUserManualAddress), dialogs));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls().front().kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(dialogs.Calls().front().text, QStringLiteral("http://orbivex.example.org/manual"));

    dialogs.Clear();
    dialogs.QueueOpenResult(false);
    const QString target = QStringLiteral("C:\\Charts\\Chart.PNG");
    EXPECT_FALSE(OpenInBrowser(target, dialogs));
    ASSERT_EQ(dialogs.Calls().size(), 2u);
    const ScriptedDialogs::Call& message = dialogs.Calls().back();
    EXPECT_EQ(message.kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(message.title, QStringLiteral("Cannot launch web browser"));
    EXPECT_EQ(message.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(message.text, QStringLiteral("Error launching web browser, error code = 31.\r\n\r\n"
                                           "File extension 'png' is not associated with any "
                                           "application program."));
}

} // namespace
} // namespace orbivex
