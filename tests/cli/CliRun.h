#pragma once
// Runs orbivex-cli as a separate process, as a user or a script does.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orbivex::test {

struct CliResult {
    int exitCode = -1; // -1 when the program crashed or hung
    QString out;
    QString err;
};

// Runs the program with the computer's time zone set to timeZone; its standard output goes
// to outputFile when one is named (out stays empty then).
inline CliResult RunCli(const QStringList& arguments,
                        const QString& timeZone = QStringLiteral("UTC"),
                        const QString& program = QStringLiteral(ORBIVEX_CLI_PATH),
                        const QString& outputFile = QString()) {
    QProcess process;
    if (!outputFile.isEmpty()) {
        process.setStandardOutputFile(outputFile);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), timeZone);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    CliResult run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace orbivex::test
