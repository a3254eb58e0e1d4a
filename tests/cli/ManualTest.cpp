// The user manual has a section for every command that orbivex-cli lists, naming every option
// that the command's --help gives.
#include "CliRun.h"

#include "common/TestSupport.h"
#include "support/DataFolder.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace orbivex::test {
namespace {

// The commands as `orbivex-cli --help` lists them: the table the program dispatches from.
QStringList ListedCommands() {
    const CliResult run = RunCli({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString list =
        run.out.section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList commands;
    for (const QString& line : list.split(u'\n', Qt::SkipEmptyParts)) {
        commands.append(line.simplified().section(u' ', 0, 0));
    }
    return commands;
}

// The options of a command's --help, but the help's own.
QStringList Options(const QString& command) {
    const CliResult run = RunCli({command, QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0) << command.toStdString() << ": " << run.err.toStdString();
    static const QRegularExpression option(QStringLiteral("^\\s+(?:-\\w, )?(--[a-z-]+)"),
                                           QRegularExpression::MultilineOption);
    QStringList options;
    for (const QRegularExpressionMatch& match : option.globalMatch(run.out)) {
        if (match.captured(1) != u"--help" && match.captured(1) != u"--help-all") {
            options.append(match.captured(1));
        }
    }
    return options;
}

// The text of the manual's section on a command, from its heading to the next heading; empty
// when it has none.
QString Section(const QString& page, const QString& command) {
    const qsizetype start = page.indexOf(QStringLiteral("name=\"orbivex-cli-%1\"").arg(command));
    if (start < 0) {
        return {};
    }
    static const QRegularExpression heading(QStringLiteral("<h[1-6][ >]"));
    const qsizetype end = page.indexOf(heading, start);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return page.mid(start, end < 0 ? -1 : end - start).remove(tag);
}

TEST(Manual, HasASectionForEveryCommandWithEveryOption) {
    const QString page = QString::fromUtf8(ReadAll(UserManualFile(ProgramFolder())));
    ASSERT_FALSE(page.isEmpty());
    const QStringList commands = ListedCommands();
    ASSERT_GE(commands.size(), 9) << commands.join(QLatin1Char(' ')).toStdString();
    for (const QString& command : commands) {
        const QString section = Section(page, command);
        EXPECT_FALSE(section.isEmpty()) << "no section on " << command.toStdString();
        for (const QString& option : Options(command)) {
            EXPECT_TRUE(section.isEmpty() || section.contains(option))
                << command.toStdString() << ' ' << option.toStdString();
        }
    }
}

} // namespace
} // namespace orbivex::test
