#pragma once
// The commands of orbivex-cli. Each command parses its own options from `arguments` (the
// command name is arguments[0]) and writes to `out` and `err`; it returns the exit status.

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace orbivex {
class Ephemeris;
class ProgramTexts;
} // namespace orbivex

namespace orbivex::cli {

enum ExitStatus : int {
    ExitSuccess = 0,
    ExitNotFound = 1,   // a search that found nothing
    ExitUsage = 2,      // bad options
    ExitDateError = 3,  // a date that does not convert
    ExitFailure = 4,    // a data file that cannot be read, an output that cannot be written
    ExitLineErrors = 5, // batch: some lines of the input gave no chart
};

struct Context {
    QTextStream& out;
    QTextStream& err;
    QString programFolder; // where the data files are
};

using CommandFunction = int (*)(const QStringList& arguments, Context& context);

struct Command {
    const char* name;
    const char* summary;
    CommandFunction run;
};

// Shared by the commands: the program texts and the Pluto table from the program folder
// (false after writing the reason to context.err).
bool LoadProgramTexts(Context& context, ProgramTexts& texts);
bool LoadPlutoTable(Context& context, Ephemeris& ephemeris);

// Writes "orbivex-cli COMMAND: message" and the hint to --help; returns ExitUsage.
int CommandUsageError(Context& context, const QString& command, const QString& message);

// Parses the arguments; answers --help with the usage line in place of the parser's own, and
// refuses positional arguments. Returns the exit status when the command ends here, nothing
// when it goes on.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    const QString& command, const QString& usage, Context& context);

// Why the arguments could not be parsed: the first unknown option, or the parser's message.
QString ParseErrorText(const QCommandLineParser& parser);

// Writes out what standard output still holds. When any of the output could not be written
// (a full disk), says so on standard error and gives ExitFailure in place of `status`.
int FinishOutput(Context& context, const char* command, int status);

// Turns the CR LF line breaks of the program's texts into the terminal's LF.
QString ForTerminal(QString text);

int RunChart(const QStringList& arguments, Context& context);
int RunPositions(const QStringList& arguments, Context& context);
int RunDate(const QStringList& arguments, Context& context);
int RunPlaces(const QStringList& arguments, Context& context);
int RunRun(const QStringList& arguments, Context& context);
int RunDurations(const QStringList& arguments, Context& context);
int RunAspectarian(const QStringList& arguments, Context& context);
int RunBatch(const QStringList& arguments, Context& context);
int RunLibrary(const QStringList& arguments, Context& context);

} // namespace orbivex::cli
