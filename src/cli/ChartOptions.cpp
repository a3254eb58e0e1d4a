#include "cli/ChartOptions.h"

#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "core/Ephemeris.h"
#include "navigation/Compute.h"
#include "navigation/StateTransfer.h"
#include "support/ProgramTexts.h"

#include <algorithm>
#include <array>

namespace orbivex::cli {

namespace {

struct ModeName {
    const char* name;
    ChartMode mode;
};

constexpr std::array<ModeName, 6> ModeNames{{
    {"world", WorldTransits},
    {"natal1", NatalFirst},
    {"natal2", NatalSecond},
    {"personal1", PersonalFirst},
    {"personal2", PersonalSecond},
    {"synastry", SynastryMode},
}};

} // namespace

ChartOptions::ChartOptions()
    : mode(QStringLiteral("mode"),
           QStringLiteral("world, natal1, natal2, personal1, personal2 or synastry."),
           QStringLiteral("MODE")),
      world(QStringLiteral("world"), QStringLiteral("World date."), QStringLiteral("DATE")),
      birth1(QStringLiteral("birth1"), QStringLiteral("First birthdate."), QStringLiteral("DATE")),
      birth2(QStringLiteral("birth2"), QStringLiteral("Second birthdate."), QStringLiteral("DATE")),
      state(QStringLiteral("state"),
            QStringLiteral("Take dates, mode and configuration from a state file; the other "
                           "options override it."),
            QStringLiteral("FILE")),
      radians(QStringLiteral("radians"), QStringLiteral("Angles in radians.")),
      json(QStringLiteral("json"), QStringLiteral("Write the result as JSON.")) {}

void ChartOptions::AddTo(QCommandLineParser& parser) const {
    parser.addOptions({mode, world, birth1, birth2, state, radians, json});
}

QString ChartOptions::UsageText() {
    return QStringLiteral("--mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE] "
                          "[--state FILE] [--radians] [--json]");
}

int CommandUsageError(Context& context, const QString& command, const QString& message) {
    context.err << "orbivex-cli " << command << ": " << message << '\n'
                << "Run 'orbivex-cli " << command << " --help' for the options.\n";
    return ExitUsage;
}

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    const QString& command, const QString& usageLine,
                                    Context& context) {
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        return CommandUsageError(context, command, parser.errorText());
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(0, help.indexOf(QLatin1Char('\n')), usageLine);
        context.out << help;
        return ExitSuccess;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return CommandUsageError(
            context, command,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    return std::nullopt;
}

int ReadChartOptions(const QCommandLineParser& parser, const ChartOptions& options,
                     const QString& command, Context& context, ProgramState& state) {
    state.zones = MakeTimeZones(TimezoneOffsetMinutes(), state.settings.northAmericanZones);
    if (parser.isSet(options.state)) {
        const QString error = LoadState(parser.value(options.state), state);
        if (!error.isEmpty()) {
            context.err << "orbivex-cli " << command << ": " << parser.value(options.state) << ": "
                        << error << '\n';
            return ExitFailure;
        }
    } else if (!parser.isSet(options.mode)) {
        return CommandUsageError(context, command,
                                 QStringLiteral("--mode is required without --state"));
    }
    if (parser.isSet(options.mode)) {
        const QString name = parser.value(options.mode);
        const auto found = std::find_if(ModeNames.begin(), ModeNames.end(),
                                        [&](ModeName m) { return name == QLatin1String(m.name); });
        if (found == ModeNames.end()) {
            return CommandUsageError(context, command,
                                     QStringLiteral("unknown mode '%1'").arg(name));
        }
        state.mode = found->mode;
    }
    const std::array<const QCommandLineOption*, 3> dateOptions{&options.world, &options.birth1,
                                                               &options.birth2};
    for (int set = 0; set < NumDateSets; ++set) {
        if (!parser.isSet(*dateOptions[set])) {
            continue;
        }
        QString error;
        if (!ParseDateSetText(parser.value(*dateOptions[set]), state.dateSets[set], error)) {
            return CommandUsageError(context, command, error);
        }
    }
    if (!parser.isSet(options.state) && !parser.isSet(options.world)) {
        SetWorldDateToNow(state.dateSets[WorldDate], state.zones);
    }
    state.radians = parser.isSet(options.radians);
    return ExitSuccess;
}

int LoadAndCompute(Context& context, ProgramState& state, ProgramTexts& texts,
                   Ephemeris& ephemeris) {
    if (!LoadProgramTexts(context, texts) || !LoadPlutoTable(context, ephemeris)) {
        return ExitFailure;
    }
    const ComputeOutcome outcome = Compute(state, {ephemeris, texts});
    if (!outcome.ok()) {
        context.err << outcome.dateError.message << '\n';
        return ExitDateError;
    }
    if (ephemeris.UsesBuiltInTheory()) {
        context.err << "orbivex-cli: warning: the ephemeris files were not found; positions "
                       "come from the less precise built-in theory.\n";
    }
    return ExitSuccess;
}

} // namespace orbivex::cli
