#include "app/DialogFlows.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "support/DataFolder.h"
#include "support/ProgramTexts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

using test::ScriptedDialogs;
using Kind = ScriptedDialogs::Kind;

const ProgramTexts& ShippedTexts() {
    static const ProgramTexts texts = [] {
        ProgramTexts loaded;
        loaded.Load(QDir(test::ProgramFolder()).filePath(QStringLiteral("orbx.dat")));
        return loaded;
    }();
    return texts;
}

TEST(OpenUserManual, OpensTheLocalManualOrSaysWhyNot) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString manual = folder.filePath(QLatin1String(kUserManualFileName));
    const QString noBrowser =
        QStringLiteral("No web browser could be started to show\r\n") + manual +
        QStringLiteral("\r\n\r\nOpen that file in your web browser yourself, or install a web "
                       "browser and choose it as the default in your desktop's settings. Linux "
                       "desktops start it through xdg-open, from the package xdg-utils.");
    struct Case {
        const char* what;
        bool manualThere;
        bool browserStarts;
        bool openerFailsLater; // started, then ends finding no browser
        bool opened;
        QString message; // "" for none
        QString title;
    };
    const Case cases[] = {
        {"opened", true, true, false, true, {}, {}},
        {"no opener", true, false, false, false, noBrowser,
         QStringLiteral("Cannot launch web browser")},
        {"no browser", true, true, true, true, noBrowser,
         QStringLiteral("Cannot launch web browser")},
        {"no manual", false, true, false, false,
         QStringLiteral("The user manual is missing. It belongs here:\r\n") + manual,
         QStringLiteral("Cannot show the user manual")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(manual);
        if (c.manualThere) {
            ASSERT_TRUE(test::WriteAll(manual, "<!DOCTYPE html>"));
        }
        ScriptedDialogs dialogs;
        dialogs.QueueOpenResult(c.browserStarts);
        EXPECT_EQ(OpenUserManual(folder.path(), ShippedTexts(), dialogs), c.opened);
        if (c.openerFailsLater) {
            dialogs.FailLastOpening();
        }
        const auto openings = dialogs.CallsOf(Kind::Open);
        ASSERT_EQ(openings.size(), c.manualThere ? 1u : 0u);
        if (c.manualThere) {
            EXPECT_EQ(openings[0].text, manual); // the local file, never a web address
        }
        const auto messages = dialogs.CallsOf(Kind::Message);
        ASSERT_EQ(messages.size(), c.message.isEmpty() ? 0u : 1u);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages[0].text, c.message);
            EXPECT_EQ(messages[0].title, c.title);
            EXPECT_EQ(messages[0].icon, Dialogs::Icon::Exclamation);
        }
    }
}

TEST(UserManual, IsShippedBesideTheProgramsWholeWithNoDeadLink) {
    const QString manual = UserManualFile(test::ProgramFolder());
    const QString page = QString::fromUtf8(test::ReadAll(manual));
    ASSERT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE"))) << manual.toStdString();
    for (const char* topic :
         {"entering-dates", "time-zones-zone-names-and-summer-time", "the-calendar-of-the-dates",
          "the-aspectarian", "configure", "pictures-and-printing", "how-the-positions-are-computed",
          "the-command-line-orbivex-cli"}) {
        EXPECT_TRUE(page.contains(QStringLiteral("name=\"%1\"").arg(QLatin1String(topic))))
            << topic;
    }
    const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& match : link.globalMatch(page)) {
        const QString target = match.captured(1);
        // A local page: every link leads to a section of its own.
        ASSERT_TRUE(target.startsWith(QLatin1Char('#'))) << target.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("name=\"%1\"").arg(target.mid(1))))
            << target.toStdString();
    }
    // The pictures are in the page: it is the one file to install.
    const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]{0,40})"));
    for (const QRegularExpressionMatch& match : picture.globalMatch(page)) {
        EXPECT_TRUE(match.captured(1).startsWith(QStringLiteral("data:image/png;base64,")))
            << match.captured(1).toStdString();
    }
}

} // namespace
} // namespace orbivex
