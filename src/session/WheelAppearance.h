#pragma once
// How the chart wheel looks: the classic wheel, or the modern one with its zodiac ring, degree
// labels and bi-wheel, in a light or a dark theme. Kept with the program's other settings in
// the per-user settings store.

#include <QString>
#include <optional>

namespace orbivex {

struct ConfigurationSettings;

enum class WheelStyle { Classic, Modern };
enum class WheelTheme { Light, Dark };

// The names used in the settings store and on the command line ("classic", "modern", "light",
// "dark"), and back; nullopt for a name that is none of them (compared without regard to case).
QString WheelStyleName(WheelStyle style);
QString WheelThemeName(WheelTheme theme);
std::optional<WheelStyle> WheelStyleOfName(const QString& name);
std::optional<WheelTheme> WheelThemeOfName(const QString& name);

// Reads "WheelStyle" and "WheelTheme" from the program's settings store into the settings; a
// missing or unknown value leaves the classic style and the light theme.
void SetWheelAppearance(ConfigurationSettings& settings);
// Stores both; the status text of the first write that failed, or of the last one.
QString WriteWheelAppearanceToRegistry(const ConfigurationSettings& settings);

} // namespace orbivex
