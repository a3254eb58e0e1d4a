// orbivex-cli loads Qt Gui only for the commands that draw: the others run on a server without
// graphics libraries, and start without the time it takes to load them.
#include "cli/CliRun.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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
        CommandCase{{u"positions"_s, u"--date"_s, u"2024-03-20"_s}, false},
        CommandCase{{u"date"_s, u"--year"_s, u"2024"_s, u"--month"_s, u"3"_s, u"--day"_s, u"20"_s},
                    false},
        CommandCase{{u"chart"_s, u"--mode"_s, u"world"_s, u"--world"_s, world, u"--json"_s}, false},
        CommandCase{{u"durations"_s, u"--mode"_s, u"world"_s, u"--world"_s, world}, false},
        CommandCase{
            {u"run"_s, u"--pattern"_s, u"grand trine"_s, u"--world"_s, u"2024-03-01 12:00 GMT"_s},
            false},
        CommandCase{{u"--help"_s}, false}, CommandCase{{u"wheel"_s, u"--help"_s}, true},
        CommandCase{{u"sheet"_s, u"--help"_s}, true}),
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

// The module draws what the program computed: the ephemeris is the program's alone.
TEST(LoadedLibraries, TheDrawingModuleNeedsNoEphemeris) {
    const QString module = QFileInfo(QStringLiteral(ORBIVEX_CLI_PATH)).absolutePath() +
                           QStringLiteral("/orbivex-cli-draw.so");
    const LoadReport ldd = RunReportingLibraries(QStringLiteral("ldd"), {module}, QString());
    ASSERT_EQ(ldd.exitCode, 0) << ldd.output.toStdString();
    EXPECT_TRUE(ldd.output.contains(QLatin1String("libQt6Gui")));
    EXPECT_FALSE(ldd.output.contains(QLatin1String("libswe"))) << ldd.output.toStdString();
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
