#include "session/WheelAppearance.h"

#include "session/Configuration.h"
#include "session/Registry3.h"

namespace orbivex {

namespace {

const QString RegistryKey = QString::fromLatin1(Registry3::ProgramKeyPath);
const QString StyleValue = QStringLiteral("WheelStyle");
const QString ThemeValue = QStringLiteral("WheelTheme");

std::optional<QString> ReadValue(const QString& name) {
    QString text;
    if (!Registry3::ReadValue(RegistryKey, name, text).startsWith(QLatin1Char('0'))) {
        return std::nullopt;
    }
    return text;
}

} // namespace

QString WheelStyleName(WheelStyle style) {
    return style == WheelStyle::Modern ? QStringLiteral("modern") : QStringLiteral("classic");
}

QString WheelThemeName(WheelTheme theme) {
    return theme == WheelTheme::Dark ? QStringLiteral("dark") : QStringLiteral("light");
}

std::optional<WheelStyle> WheelStyleOfName(const QString& name) {
    for (const WheelStyle style : {WheelStyle::Classic, WheelStyle::Modern}) {
        if (name.trimmed().compare(WheelStyleName(style), Qt::CaseInsensitive) == 0) {
            return style;
        }
    }
    return std::nullopt;
}

std::optional<WheelTheme> WheelThemeOfName(const QString& name) {
    for (const WheelTheme theme : {WheelTheme::Light, WheelTheme::Dark}) {
        if (name.trimmed().compare(WheelThemeName(theme), Qt::CaseInsensitive) == 0) {
            return theme;
        }
    }
    return std::nullopt;
}

void SetWheelAppearance(ConfigurationSettings& settings) {
    const std::optional<QString> style = ReadValue(StyleValue);
    const std::optional<QString> theme = ReadValue(ThemeValue);
    settings.wheelStyle = WheelStyleOfName(style.value_or(QString())).value_or(WheelStyle::Classic);
    settings.wheelTheme = WheelThemeOfName(theme.value_or(QString())).value_or(WheelTheme::Light);
}

QString WriteWheelAppearanceToRegistry(const ConfigurationSettings& settings) {
    const QString status =
        Registry3::WriteValue(RegistryKey, StyleValue, WheelStyleName(settings.wheelStyle));
    if (!status.startsWith(QLatin1Char('0'))) {
        return status;
    }
    return Registry3::WriteValue(RegistryKey, ThemeValue, WheelThemeName(settings.wheelTheme));
}

} // namespace orbivex
