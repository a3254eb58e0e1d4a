// The files of the commands: only regular files are read as state files or input, never
// waiting on a named pipe, and output that cannot be written is a failure.
#include "cli/CliRun.h"
#include "common/SpecialFiles.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TEST(CliFiles, OnlyRegularFilesAreReadAsStateFilesOrInput) {
    QTemporaryDir folder;
    for (const orbivex::test::SpecialFile& special :
         orbivex::test::MakeSpecialFiles(folder.path(), u".pat"_s)) {
        SCOPED_TRACE(special.what.toStdString());
        const QStringList commands[] = {
            {u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s},
            {u"aspectarian"_s, u"--from"_s, u"2027-01-01"_s, u"--to"_s, u"2027-01-02"_s},
            {u"batch"_s, u"--in"_s, u"/dev/null"_s},
        };
        for (const QStringList& arguments : commands) {
            const orbivex::test::CliResult run =
                orbivex::test::RunCli(arguments + QStringList{u"--state"_s, special.path});
            EXPECT_EQ(run.exitCode, 4) << arguments.first().toStdString();
            EXPECT_TRUE(run.err.contains(special.kindWords)) << run.err.toStdString();
        }
        // batch reads a named pipe as it is written (as the shell's <(command) gives one).
        if (special.kindWords.startsWith(u"named pipe"_s)) {
            continue;
        }
        const orbivex::test::CliResult run =
            orbivex::test::RunCli({u"batch"_s, u"--in"_s, special.path});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(u"cannot be read: it is a "_s + special.kindWords))
            << run.err.toStdString();
    }

    const QString pipe = folder.filePath(u"stream"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QProcess batch;
    batch.start(QStringLiteral(ORBIVEX_CLI_PATH), {u"batch"_s, u"--in"_s, pipe});
    // Opened without waiting, so that a batch that never reads cannot hang the test.
    int writer = -1;
    for (int tries = 0; writer < 0 && batch.state() != QProcess::NotRunning && tries < 6000;
         ++tries) {
        writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (writer < 0) {
            batch.waitForFinished(10); // until batch has the pipe open, or has ended
        }
    }
    ASSERT_GE(writer, 0) << "batch did not open the pipe";
    const QByteArray line = R"({"mode": "world", "world": "2024-03-20"})";
    EXPECT_EQ(::write(writer, line.constData(), static_cast<std::size_t>(line.size())),
              line.size());
    ::close(writer);
    ASSERT_TRUE(batch.waitForFinished(60000));
    EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().constData();
    EXPECT_TRUE(batch.readAllStandardOutput().startsWith(R"({"aspects":)"));
}

TEST(CliFiles, OutputToAFullDeviceIsAFailure) {
    const QTemporaryDir folder;
    const QStringList commands[] = {
        {u"positions"_s, u"--date"_s, u"2024-03-20"_s},
        {u"positions"_s, u"--from"_s, u"2024-03-20"_s, u"--days"_s, u"3000"_s},
        {u"positions"_s, u"--from"_s, u"2024-03-20"_s, u"--days"_s, u"3000"_s, u"--json"_s},
        {u"date"_s, u"--year"_s, u"2024"_s, u"--month"_s, u"3"_s, u"--day"_s, u"20"_s},
        {u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s},
        {u"durations"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s, u"--json"_s},
        {u"run"_s, u"--pattern"_s, u"grand trine"_s, u"--world"_s, u"2024-03-01 12:00 GMT"_s},
        {u"aspectarian"_s, u"--from"_s, u"2000-01-01"_s, u"--to"_s, u"2009-12-31"_s},
        {u"wheel"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s, u"--out"_s,
         folder.filePath(u"chart.png"_s)},
    };
    for (const QStringList& arguments : commands) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const orbivex::test::CliResult run = orbivex::test::RunCli(
            arguments, u"UTC"_s, QStringLiteral(ORBIVEX_CLI_PATH), u"/dev/full"_s);
        EXPECT_EQ(run.exitCode, 4);
        EXPECT_TRUE(
            run.err.endsWith(u": cannot write standard output: No space left on device\n"_s))
            << run.err.toStdString();
    }
}

TEST(CliFiles, MessagesSayWhatIsWrongOnce) {
    qunsetenv("XDG_RUNTIME_DIR"); // Qt's warning about it must not reach the user
    QTemporaryDir folder;
    const QString missing = folder.filePath(u"missing.pat"_s);
    struct Case {
        QStringList arguments;
        int exitCode;
        QString err; // the first line of standard error
    };
    const Case cases[] = {
        {{u"batch"_s, u"--in"_s, u""_s}, 2, u"orbivex-cli batch: --in needs a file name"_s},
        {{u"batch"_s, u"--out"_s, u""_s}, 2, u"orbivex-cli batch: --out needs a file name"_s},
        {{u"sheet"_s, u"--mode"_s, u"world"_s, u"--size"_s, u"-100"_s},
         2,
         u"orbivex-cli sheet: unknown option '--size'"_s},
        {{u"positions"_s, u"-x"_s}, 2, u"orbivex-cli positions: unknown option '-x'"_s},
        {{u"chart"_s, u"--mode"_s, u"world"_s, u"--state"_s, missing},
         4,
         u"orbivex-cli chart: Cannot open %1: No such file or directory"_s.arg(missing)},
        {{u"durations"_s, u"--mode"_s, u"world"_s, u"--json"_s, u"--no-durations"_s},
         2,
         u"orbivex-cli durations: --no-durations applies to the text; the JSON always holds the "
         u"beginnings, ends and durations"_s},
        {{u"wheel"_s, u"--mode"_s, u"world"_s, u"--world"_s, u"2024-03-20"_s, u"--out"_s,
          folder.filePath(u"chart.png"_s)},
         0,
         u""_s},
    };
    for (const Case& c : cases) {
        const orbivex::test::CliResult run = orbivex::test::RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err.section(u'\n', 0, 0), c.err);
        EXPECT_FALSE(run.err.contains(u"QFSFileEngine"_s) || run.err.contains(u"QStandardPaths"_s))
            << run.err.toStdString();
    }
    const orbivex::test::CliResult help = orbivex::test::RunCli({u"positions"_s, u"--help"_s});
    EXPECT_TRUE(help.out.contains(u"The number of days of the run, 1 to 1000000."_s));
}

} // namespace
