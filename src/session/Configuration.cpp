#include "session/Configuration.h"

#include "core/OrbSummary.h"
#include "core/Orbs.h"
#include "session/Registry3.h"

#include <algorithm>
#include <cmath>

namespace orbivex {

namespace {

const QString Degree = QStringLiteral("°");

template <std::size_t N> bool InList(const std::array<int, N>&, int position) {
    return position >= 0 && position < static_cast<int>(N);
}

bool IsOrbAngle(double degrees) {
    return OrbListPosition(degrees) >= 0;
}

int DivisorAt(int position) {
    return InList(OrbDivisors, position) ? OrbDivisors[position] : 1;
}

const QString RegistryKey = QString::fromLatin1(Registry3::ProgramKeyPath);

// Reads a registry value; nullopt when it is missing or cannot be read.
std::optional<QString> ReadRegistryValue(const char* name) {
    QString text;
    const QString status = Registry3::ReadValue(RegistryKey, QString::fromLatin1(name), text);
    if (!status.startsWith(QLatin1Char('0'))) {
        return std::nullopt;
    }
    return text;
}

QString WriteFlag(const char* name, bool on) {
    return Registry3::WriteValue(RegistryKey, QString::fromLatin1(name),
                                 on ? QStringLiteral("1") : QStringLiteral("0"));
}

// A filter value is on only when it reads exactly "1".
bool ReadFilterFlag(const char* name) {
    const std::optional<QString> value = ReadRegistryValue(name);
    return value && *value == QLatin1String("1");
}

} // namespace

QList<ListEntry> OrbListEntries() {
    QList<ListEntry> entries;
    for (int n = 0; n < NumOrbEntries; ++n) {
        entries.append({QString::number(n) + Degree, n * 60});
    }
    return entries;
}

QList<ListEntry> DivisorListEntries() {
    QList<ListEntry> entries;
    for (const int divisor : OrbDivisors) {
        entries.append(
            {divisor == 1 ? QStringLiteral("1") : QStringLiteral("1/%1").arg(divisor), divisor});
    }
    return entries;
}

QList<ListEntry> BoldfaceFactorEntries() {
    QList<ListEntry> entries;
    for (const int factor : BoldfaceFactors) {
        entries.append({QStringLiteral("1/%1").arg(factor), factor});
    }
    return entries;
}

QList<ListEntry> MidpointOrbEntries() {
    QList<ListEntry> entries;
    for (const int minutes : MidpointOrbMinutes) {
        entries.append({QString::number(minutes / 60) + Degree + QLatin1Char(' ') +
                            QString::number(minutes % 60) + QLatin1Char('\''),
                        minutes});
    }
    return entries;
}

int OrbListPosition(double degrees) {
    if (!(degrees >= 0 && degrees < NumOrbEntries) || degrees != std::trunc(degrees)) {
        return -1;
    }
    return static_cast<int>(degrees);
}

double MidpointOrbRadians(int position) {
    if (!InList(MidpointOrbMinutes, position)) {
        return 0.0;
    }
    return MidpointOrbMinutes[position] / 60.0 / 360.0 * FullCircle;
}

std::optional<SettingsFault> CheckSettings(const ConfigurationSettings& settings) {
    for (int list = 0; list < NumOrbLists; ++list) {
        const double degrees = settings.orbs.degrees[list];
        if (!IsOrbAngle(degrees)) {
            return SettingsFault{.field = SettingsField::Orb,
                                 .orbList = list,
                                 .value = degrees,
                                 .entries = NumOrbEntries};
        }
    }
    const auto position = [](SettingsField field, int value, std::size_t entries) {
        return SettingsFault{.field = field,
                             .value = static_cast<double>(value),
                             .entries = static_cast<int>(entries)};
    };
    if (!InList(OrbDivisors, settings.personalDivisorPosition)) {
        return position(SettingsField::PersonalDivisor, settings.personalDivisorPosition,
                        OrbDivisors.size());
    }
    if (!InList(OrbDivisors, settings.synastryDivisorPosition)) {
        return position(SettingsField::SynastryDivisor, settings.synastryDivisorPosition,
                        OrbDivisors.size());
    }
    if (!InList(BoldfaceFactors, settings.boldfaceFactorPosition)) {
        return position(SettingsField::BoldfaceFactor, settings.boldfaceFactorPosition,
                        BoldfaceFactors.size());
    }
    if (!InList(MidpointOrbMinutes, settings.midpointOrbPosition)) {
        return position(SettingsField::MidpointOrb, settings.midpointOrbPosition,
                        MidpointOrbMinutes.size());
    }
    for (const AspectKind kind : AllAspectKinds) {
        const int colour = settings.colours[Index(kind)];
        if (colour < 0 || colour > 0xFFFFFF) {
            return SettingsFault{
                .field = SettingsField::Colour, .kind = kind, .value = static_cast<double>(colour)};
        }
    }
    return std::nullopt;
}

void SetOrbs(const ConfigurationSettings& settings, OrbTable& orbs, OrbSummary& summary) {
    const double personalDivisor = DivisorAt(settings.personalDivisorPosition);
    const double synastryDivisor = DivisorAt(settings.synastryDivisorPosition);
    for (const AspectKind kind : AllAspectKinds) {
        const double degrees = settings.orbs.OfKind(kind);
        const double orb = IsOrbAngle(degrees) ? degrees / 360.0 * FullCircle : 0.0;
        orbs(kind, OrbColumn::OneChart) = orb;
        orbs(kind, OrbColumn::PersonalTransits) = orb / personalDivisor;
        orbs(kind, OrbColumn::Synastry) = orb / synastryDivisor;
    }
    summary = ComputeOrbSummary(orbs);
}

void SetDisplayZodiacSectors(ConfigurationSettings& settings) {
    settings.displayZodiacSectors = true;
}

BoldfaceRule BoldfaceRuleOf(const ConfigurationSettings& settings) {
    BoldfaceRule rule;
    rule.useBoldface = settings.useBoldface;
    rule.oneDegree = settings.boldfaceOneDegree;
    rule.factor = InList(BoldfaceFactors, settings.boldfaceFactorPosition)
                      ? BoldfaceFactors[settings.boldfaceFactorPosition]
                      : BoldfaceFactors[2];
    return rule;
}

bool ChartShowsAspect(const ConfigurationSettings& settings, BodyIndex a, BodyIndex b) {
    return IsBody(a) && IsBody(b) &&
           AspectShownInChart(a, b, {settings.showOnlyOuter, settings.showOnlyEarth});
}

void ConfigurationEdit::Activate(const ConfigurationSettings& committed) {
    controls = committed;
    accepted_ = false;
}

bool ConfigurationEdit::SelectOrb(int list, double degrees) {
    if (list < 0 || list >= NumOrbLists || !IsOrbAngle(degrees)) {
        return false;
    }
    if (list == SetAllOrbList && degrees == 0) {
        controls.orbs.degrees[list] = 1;
        return true;
    }
    controls.orbs.degrees[list] = degrees;
    return false;
}

bool ConfigurationEdit::SetAllNonZeroOrbs() {
    const double degrees = controls.orbs.degrees[SetAllOrbList];
    if (!IsOrbAngle(degrees) || degrees == 0) {
        return true;
    }
    for (int list = 0; list < SetAllOrbList; ++list) {
        if (controls.orbs.degrees[list] != 0) {
            controls.orbs.degrees[list] = degrees;
        }
    }
    return false;
}

void ConfigurationEdit::CycleColour(AspectKind kind) {
    if (!IsAspectKind(kind)) {
        return;
    }
    int& colour = controls.colours[Index(kind)];
    for (std::size_t i = 0; i < ColourCycle.size(); ++i) {
        if (ColourCycle[i] == colour) {
            colour = ColourCycle[(i + 1) % ColourCycle.size()];
            return;
        }
    }
}

void ConfigurationEdit::ToggleColour(AspectKind kind) {
    if (!IsAspectKind(kind)) {
        return;
    }
    int& colour = controls.colours[Index(kind)];
    if (colour != 0) {
        savedColours_[Index(kind)] = colour;
        colour = 0;
    } else {
        colour = savedColours_[Index(kind)];
    }
}

int ConfigurationEdit::SavedColour(AspectKind kind) const {
    return IsAspectKind(kind) ? savedColours_[Index(kind)] : 0;
}

void ConfigurationEdit::ResetToDefault() {
    controls = ConfigurationSettings::Defaults();
}

std::optional<SettingsFault> ConfigurationEdit::Accept(ConfigurationSettings& committed,
                                                       OrbTable& orbs, OrbSummary& summary) {
    if (controls.showOnlyOuter && controls.showOnlyEarth) {
        return SettingsFault{.field = SettingsField::ChartFilters};
    }
    if (std::optional<SettingsFault> fault = CheckSettings(controls)) {
        return fault;
    }
    committed = controls;
    committed.colours[0] = 0;
    SetDisplayZodiacSectors(committed);
    SetOrbs(committed, orbs, summary);
    accepted_ = true;
    return std::nullopt;
}

void ConfigurationEdit::Cancel(const ConfigurationSettings& committed) {
    controls = committed;
}

void ConfigurationEdit::ApplyImmediateSettings(ConfigurationSettings& committed) const {
    if (CheckSettings(controls)) {
        return;
    }
    committed.useBoldface = controls.useBoldface;
    committed.boldfaceOneDegree = controls.boldfaceOneDegree;
    committed.boldfaceFactorPosition = controls.boldfaceFactorPosition;
    committed.personalDivisorPosition = controls.personalDivisorPosition;
    committed.synastryDivisorPosition = controls.synastryDivisorPosition;
    committed.midpointOrbPosition = controls.midpointOrbPosition;
}

void SetTZDisp(ConfigurationSettings& settings, int localOffsetMinutes) {
    const std::optional<QString> value = ReadRegistryValue("TZDisp");
    bool on = false;
    if (!value) {
        on = localOffsetMinutes >= -600 && localOffsetMinutes <= -150;
    } else {
        on = *value != QLatin1String("0");
    }
    settings.northAmericanZones = on;
}

void SetInnerPlanetAspectDisplay(ConfigurationSettings& settings) {
    settings.showOnlyOuter = ReadFilterFlag("IPAD");
}

void SetShowOnlyEarthAspects(ConfigurationSettings& settings) {
    settings.showOnlyEarth = ReadFilterFlag("SOEA");
}

QString WriteTZDispToRegistry(const ConfigurationSettings& settings) {
    return WriteFlag("TZDisp", settings.northAmericanZones);
}

QString WriteInnerPlanetAspectDisplayToRegistry(const ConfigurationSettings& settings) {
    return WriteFlag("IPAD", settings.showOnlyOuter);
}

QString WriteShowOnlyEarthAspectsToRegistry(const ConfigurationSettings& settings) {
    return WriteFlag("SOEA", settings.showOnlyEarth);
}

void WriteDisplayOptionsToRegistry(const ConfigurationSettings& settings) {
    // A value that cannot be kept only means the next start reads the default.
    WriteTZDispToRegistry(settings);
    WriteInnerPlanetAspectDisplayToRegistry(settings);
    WriteShowOnlyEarthAspectsToRegistry(settings);
}

} // namespace orbivex
