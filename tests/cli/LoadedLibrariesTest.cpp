// orbivex-cli loads Qt Gui only for the commands that draw: the others run on a server without
// graphics libraries, and start without the time it takes to load them.
#include "cli/CliRun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct LoadReport {
    int exitCode = -1;
    QString output; // standard output and error, with what the dynamic loader reported
};

LoadReport RunReportingLibraries(const QString& program, const QStringList& arguments,
                                 const QString& debug) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    if (!debug.isEmpty()) {
        environment.insert(QStringLiteral("LD_DEBUG"), debug);
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    LoadReport run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.output =
        QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}

struct CommandCase {
    QStringList arguments;
    bool draws;
};

void PrintTo(const CommandCase& command, std::ostream* os) {
    *os << command.arguments.join(QLatin1Char(' ')).toStdString();
}

class LoadedLibraries : public ::testing::TestWithParam<CommandCase> {};

TEST_P(LoadedLibraries, QtGuiOnlyForTheCommandsThatDraw) {
    const CommandCase& command = GetParam();
    const LoadReport run = RunReportingLibraries(QStringLiteral(ORBIVEX_CLI_PATH),
                                                 command.arguments, QStringLiteral("libs"));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    // The loader's report names Qt Core for every command, or this test sees nothing.
    EXPECT_TRUE(run.output.contains(QLatin1String("libQt6Core")));
    EXPECT_EQ(run.output.contains(QLatin1String("libQt6Gui")), command.draws);
    EXPECT_FALSE(run.output.contains(QLatin1String("libQt6Widgets")));
}

const QString world = QStringLiteral("2024-03-20 12:00 GMT");

INSTANTIATE_TEST_SUITE_P(
    Commands, LoadedLibraries,
    ::testing::Values(
        CommandCase{{"positions", "--date", "2024-03-20"}, false},
        CommandCase{{"date", "--year", "2024", "--month", "3", "--day", "20"}, false},
        CommandCase{{"chart", "--mode", "world", "--world", world, "--json"}, false},
        CommandCase{{"durations", "--mode", "world", "--world", world}, false},
        CommandCase{{"run", "--pattern", "grand trine", "--world", "2024-03-01 12:00 GMT"}, false},
        CommandCase{{"--help"}, false}, CommandCase{{"wheel", "--help"}, true},
        CommandCase{{"sheet", "--help"}, true}),
    [](const ::testing::TestParamInfo<CommandCase>& testCase) {
        return QString(testCase.param.arguments.first()).remove(QLatin1Char('-')).toStdString();
    });

TEST(LoadedLibraries, TheProgramIsLinkedWithoutQtGuiOrWidgets) {
    const LoadReport ldd =
        RunReportingLibraries(QStringLiteral("ldd"), {QStringLiteral(ORBIVEX_CLI_PATH)}, QString());
    ASSERT_EQ(ldd.exitCode, 0) << ldd.output.toStdString();
    EXPECT_TRUE(ldd.output.contains(QLatin1String("libQt6Core")));
    EXPECT_FALSE(ldd.output.contains(QLatin1String("libQt6Gui")));
    EXPECT_FALSE(ldd.output.contains(QLatin1String("libQt6Widgets")));
}

TEST(LoadedLibraries, WithoutTheDrawingModuleADrawingCommandSaysWhatIsMissing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("orbivex-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORBIVEX_CLI_PATH), program));
    const LoadReport run = RunReportingLibraries(
        program, {QStringLiteral("wheel"), QStringLiteral("--help")}, QString());
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.output.contains(QLatin1String("needs the drawing module orbivex-cli-draw")))
        << run.output.toStdString();
}

} // namespace
