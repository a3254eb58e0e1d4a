#pragma once
// The options that choose how a drawing command draws the wheel (--style, --theme), shared by
// `wheel` and `sheet`; they override what the state file (or the defaults) say.

#include "cli/Commands.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

namespace orbivex {
struct ProgramState;
}

namespace orbivex::cli {

struct WheelStyleOptions {
    QCommandLineOption style;
    QCommandLineOption theme;
};

// Adds --style and --theme to the parser.
WheelStyleOptions AddWheelStyleOptions(QCommandLineParser& parser);

// Checks the values of --style and --theme: the exit status of a usage error, or nothing when
// they are right (or not given).
std::optional<int> CheckWheelStyleOptions(const QCommandLineParser& parser,
                                          const WheelStyleOptions& options, const QString& command,
                                          Context& context);

// Applies --style and --theme (checked before) to the state's display settings.
void ApplyWheelStyleOptions(const QCommandLineParser& parser, const WheelStyleOptions& options,
                            ProgramState& state);

} // namespace orbivex::cli
