#pragma once
// The options that the chart commands of orbivex-cli share (the mode, the three dates, a state
// file, radians, the chart library) and the Compute they lead to, so that `chart` and `wheel` read
// them alike.

#include "cli/Commands.h"
#include "session/ProgramState.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

namespace orbivex::cli {

struct ChartOptions {
    QCommandLineOption mode;
    QCommandLineOption world;
    QCommandLineOption birth1;
    QCommandLineOption birth2;
    QCommandLineOption state;
    QCommandLineOption radians;
    QCommandLineOption calendar;
    QCommandLineOption zodiac;
    QCommandLineOption library; // where @ID and @NAME dates come from
    QCommandLineOption worldPlace;
    QCommandLineOption birth1Place;
    QCommandLineOption birth2Place;
};

// The name of a mode as --mode takes it and JSON writes it: "world", "natal1", "natal2",
// "personal1", "personal2", "synastry"; "" for no mode.
QString ModeOptionName(ChartMode mode);

// The mode of such a name; nothing for another text.
std::optional<ChartMode> ModeOfOptionName(const QString& name);
// The message for a mode name that is none: "unknown mode 'name'".
QString UnknownModeMessage(const QString& name);

// Adds the shared options to the parser and returns them.
ChartOptions AddChartOptions(QCommandLineParser& parser);

// The text that begins the shared description of a chart command's help.
QString ChartOptionsDescription();

// Builds the state from the parsed options (a state file first, the other options over it,
// the present moment as world date when none is given), loads the texts and the Pluto table
// and runs Compute. Returns the exit status after writing the reason when it fails, nothing on
// success.
std::optional<int> ComputeChartOfOptions(const QCommandLineParser& parser,
                                         const ChartOptions& options, const QString& command,
                                         Context& context, ProgramState& state,
                                         ProgramTexts& texts);
// The same with the caller's ephemeris, for commands that compute more from the chart.
std::optional<int> ComputeChartOfOptions(const QCommandLineParser& parser,
                                         const ChartOptions& options, const QString& command,
                                         Context& context, ProgramState& state, ProgramTexts& texts,
                                         Ephemeris& ephemeris);

} // namespace orbivex::cli
