#pragma once
// The options of the commands that compute a chart as the Compute command does (chart,
// durations, ...): the mode, the three dates or a state file, radians and JSON output; and the
// steps every such command takes: parsing with help and usage errors, filling a program state,
// loading the data files and computing.

#include "cli/Commands.h"
#include "navigation/ProgramState.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

namespace orbivex {
class Ephemeris;
class ProgramTexts;
} // namespace orbivex

namespace orbivex::cli {

struct ChartOptions {
    QCommandLineOption mode;
    QCommandLineOption world;
    QCommandLineOption birth1;
    QCommandLineOption birth2;
    QCommandLineOption state;
    QCommandLineOption radians;
    QCommandLineOption json;

    ChartOptions();
    void AddTo(QCommandLineParser& parser) const;
    // The options as the usage line writes them.
    static QString UsageText();
};

// "orbivex-cli COMMAND: message" and the hint to --help on context.err; returns ExitUsage.
int CommandUsageError(Context& context, const QString& command, const QString& message);

// Parses the arguments (with --help added): the exit status when the command ends here (a
// usage error, or the help printed with usageLine as its first line), nothing to go on. Extra
// positional arguments are a usage error.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    const QString& command, const QString& usageLine,
                                    Context& context);

// Fills the state from the chart options: the state file first, then mode and dates; without
// either the world date is the present moment. ExitSuccess, or the exit status after the
// message was written.
int ReadChartOptions(const QCommandLineParser& parser, const ChartOptions& options,
                     const QString& command, Context& context, ProgramState& state);

// Loads the program texts and the Pluto table and computes the state's chart. ExitSuccess, or
// the exit status after the message (a date error gives its program message).
int LoadAndCompute(Context& context, ProgramState& state, ProgramTexts& texts,
                   Ephemeris& ephemeris);

} // namespace orbivex::cli
