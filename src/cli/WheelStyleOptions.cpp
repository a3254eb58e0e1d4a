#include "cli/WheelStyleOptions.h"

#include "session/ProgramState.h"
#include "session/WheelAppearance.h"

namespace orbivex::cli {

WheelStyleOptions AddWheelStyleOptions(QCommandLineParser& parser) {
    WheelStyleOptions options{
        QCommandLineOption(QStringLiteral("style"),
                           QStringLiteral("The wheel's style: classic (the default) or modern."),
                           QStringLiteral("classic|modern")),
        QCommandLineOption(QStringLiteral("theme"),
                           QStringLiteral("The modern wheel's colours: light (the default) or "
                                          "dark."),
                           QStringLiteral("light|dark"))};
    parser.addOptions({options.style, options.theme});
    return options;
}

std::optional<int> CheckWheelStyleOptions(const QCommandLineParser& parser,
                                          const WheelStyleOptions& options, const QString& command,
                                          Context& context) {
    if (parser.isSet(options.style) && !WheelStyleOfName(parser.value(options.style))) {
        return CommandUsageError(context, command,
                                 QStringLiteral("unknown style '%1' (classic or modern)")
                                     .arg(parser.value(options.style)));
    }
    if (parser.isSet(options.theme) && !WheelThemeOfName(parser.value(options.theme))) {
        return CommandUsageError(
            context, command,
            QStringLiteral("unknown theme '%1' (light or dark)").arg(parser.value(options.theme)));
    }
    return std::nullopt;
}

void ApplyWheelStyleOptions(const QCommandLineParser& parser, const WheelStyleOptions& options,
                            ProgramState& state) {
    if (const auto style = WheelStyleOfName(parser.value(options.style));
        parser.isSet(options.style) && style) {
        state.settings.wheelStyle = *style;
    }
    if (const auto theme = WheelThemeOfName(parser.value(options.theme));
        parser.isSet(options.theme) && theme) {
        state.settings.wheelTheme = *theme;
    }
}

} // namespace orbivex::cli
