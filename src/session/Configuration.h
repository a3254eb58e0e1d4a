#pragma once
// The user's settings for aspect detection and display: orbs, the orb proportions of personal
// transits and synastry, the boldface rule of the grid, the aspect colours, the midpoint orb,
// the chart filters and the time-zone names. ConfigurationSettings holds the committed values
// that the rest of the program reads; ConfigurationEdit is the working copy that the
// configuration window edits and commits with "Use settings".

#include "calendar/Calendar.h"
#include "core/Bodies.h"
#include "core/ChartTables.h"
#include "core/Orbs.h"
#include "core/Zodiac.h"
#include "session/WheelAppearance.h"
#include "support/Expected.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace orbivex {

// ---- List contents ----------------------------------------------------------------------

// An entry of a choice list: its text and the value it stands for.
struct ListEntry {
    QString text;
    int data = 0;
    bool operator==(const ListEntry&) const = default;
};

// Orb lists 0..6 belong to aspect kinds 1..7; list 7 is the "Set all non-zero orbs to:" list.
inline constexpr int NumOrbLists = 8;
inline constexpr int SetAllOrbList = 7;
// Orb list entries "0°" .. "15°"; position n means n degrees, its data is n * 60 minutes.
inline constexpr int NumOrbEntries = 16;

// The orbs as angles: the orb of aspect kinds 1..7 in degrees at [0..6], and at [7] the angle
// that "Set all non-zero orbs to:" gives them. The configuration window chooses whole degrees
// from 0 to 15; state files keep the position of that choice in its list.
struct OrbSettings {
    std::array<double, NumOrbLists> degrees{10, 9, 6, 7, 5, 4, 5, 1};

    double OfKind(AspectKind kind) const { return degrees[Index(kind) - 1]; }
    bool operator==(const OrbSettings&) const = default;
};

// The entry of the orb lists that shows an angle: its whole degrees; -1 for an angle the lists
// do not hold (not whole, below 0° or above 15°).
int OrbListPosition(double degrees);
// The angle of an orb list entry, which state files keep: entry n is n degrees.
inline double OrbDegreesOfPosition(int position) {
    return position;
}
// Proportion lists: "1", "1/2" .. "1/5", data the divisor.
inline constexpr std::array<int, 5> OrbDivisors{1, 2, 3, 4, 5};
// Boldface factor list: "1/2" .. "1/20", data the factor.
inline constexpr std::array<int, 9> BoldfaceFactors{2, 3, 4, 5, 6, 8, 10, 15, 20};
// Midpoint orb list "0° 5'" .. "3° 0'", in minutes of arc.
inline constexpr std::array<int, 8> MidpointOrbMinutes{5, 15, 30, 60, 90, 120, 150, 180};

QList<ListEntry> OrbListEntries();
QList<ListEntry> DivisorListEntries();
QList<ListEntry> BoldfaceFactorEntries();
QList<ListEntry> MidpointOrbEntries(); // data: minutes of arc

// The midpoint orb (radians) of a midpoint list position; 0 (no midpoint is ever found) for a
// position outside the list.
double MidpointOrbRadians(int position);

// ---- Committed settings ------------------------------------------------------------------

// A default-constructed object holds the values of "Reset to default".
struct ConfigurationSettings {
    OrbSettings orbs;
    int personalDivisorPosition = 2; // index into OrbDivisors: 1/3
    int synastryDivisorPosition = 2;
    bool useBoldface = true;
    bool boldfaceOneDegree = true;  // false: the proportion of the orb given by the factor
    int boldfaceFactorPosition = 2; // index into BoldfaceFactors: 1/4
    // Colour per aspect kind 1..7 (R + 256 G + 65536 B); 0 switches the aspect off.
    std::array<int, 8> colours{
        0,
        AspectKinds[AspectKind::Conjunction].defaultColour,
        AspectKinds[AspectKind::Opposition].defaultColour,
        AspectKinds[AspectKind::Square].defaultColour,
        AspectKinds[AspectKind::Trine].defaultColour,
        AspectKinds[AspectKind::Sextile].defaultColour,
        AspectKinds[AspectKind::Semisextile].defaultColour,
        AspectKinds[AspectKind::Quincunx].defaultColour,
    };
    int midpointOrbPosition = 2; // index into MidpointOrbMinutes: 0° 30'
    bool showOnlyOuter = false;  // chart draws only aspects between bodies 5..9
    bool showOnlyEarth = false;  // chart draws only aspects involving Earth
    bool northAmericanZones = true;
    bool displayZodiacSectors = true;
    WheelStyle wheelStyle = WheelStyle::Classic;
    WheelTheme wheelTheme = WheelTheme::Light;
    // The calendar of the dates, as the configuration window shows it; the date sets carry
    // the one in use.
    CalendarChoice calendar = CalendarChoice::Gregorian;
    // The zodiac the signs are counted in.
    ZodiacChoice zodiac = ZodiacChoice::J2000;

    static ConfigurationSettings Defaults() { return {}; }
    bool operator==(const ConfigurationSettings&) const = default;
};

// A value of the settings that the configuration window cannot show, or two settings that
// exclude each other.
enum class SettingsField {
    ChartFilters, // both chart filters are checked
    Orb,          // an orb that is not an angle of the orb lists
    PersonalDivisor,
    SynastryDivisor,
    BoldfaceFactor,
    MidpointOrb,
    Colour, // not a 24-bit value
};
struct SettingsFault {
    SettingsField field = SettingsField::ChartFilters;
    int orbList = 0; // Orb: its list (0..6 aspect kinds 1..7, or SetAllOrbList)
    AspectKind kind = AspectKind::NoAspect; // Colour: its aspect kind
    double value = 0.0;                     // the orb in degrees, the list position or the colour
    int entries = 0;                        // the entries of the value's list (not for a colour)
    bool operator==(const SettingsFault&) const = default;
};

// Nothing when every orb is an angle of the orb lists, every list position lies within its
// list and every colour is a 24-bit value; otherwise the first value that is not.
std::optional<SettingsFault> CheckSettings(const ConfigurationSettings& settings);

// Fills the orb table from the orb positions and the two divisors, and the summary from the
// table. Column 0 holds the orb of each aspect kind, column 1 column 0 divided by the
// personal-transit divisor, column 2 by the synastry divisor. An orb position outside the list
// counts as 0 (off) and a divisor position outside its list as 1.
void SetOrbs(const ConfigurationSettings& settings, OrbTable& orbs, OrbSummary& summary);

// The zodiac sectors are always drawn once the configuration exists.
void SetDisplayZodiacSectors(ConfigurationSettings& settings);

// The boldface rule of the settings; a factor position outside its list counts as 1/4.
BoldfaceRule BoldfaceRuleOf(const ConfigurationSettings& settings);

// Whether the chart draws a line for an aspect between the two bodies under the filters.
// The Earth filter decides when both are set.
bool ChartShowsAspect(const ConfigurationSettings& settings, BodyIndex a, BodyIndex b);

// ---- Working copy ------------------------------------------------------------------------

// The configuration window's state: `controls` is what its lists, boxes and colour lines
// show. Nothing reaches the committed settings before Accept, except the settings that act at
// once (ApplyImmediateSettings) when the window is hidden.
class ConfigurationEdit {
  public:
    ConfigurationSettings controls = ConfigurationSettings::Defaults();

    // The window becomes active: the controls show the committed settings. The colours saved
    // by switching aspects off are kept for the window's life.
    void Activate(const ConfigurationSettings& committed);

    // A choice in orb list `list` (0..7), in degrees. 0° in the "Set all" list is refused: the
    // list goes back to 1° and the answer is true, so that the window says why. Angles the
    // lists do not hold change nothing.
    [[nodiscard]] bool SelectOrb(int list, double degrees);

    // "Set all non-zero orbs to:": every orb of kinds 1..7 not at 0° takes the angle of the
    // "Set all" list. A "Set all" angle of 0° is refused (true) and changes nothing.
    [[nodiscard]] bool SetAllNonZeroOrbs();

    // Left click on the colour line of a kind: the next colour of the 12-colour cycle; a
    // colour outside the cycle (such as 0, switched off) stays.
    void CycleColour(AspectKind kind);
    // Right click: switch the aspect off, keeping its colour, or back on with the kept colour.
    void ToggleColour(AspectKind kind);
    int SavedColour(AspectKind kind) const;

    // "Reset to default": the controls show the defaults (the window commits them with Accept
    // once start-up is complete).
    void ResetToDefault();

    // "Use settings": refuses both chart filters or a value outside its list (the fault);
    // otherwise commits every control, fills the orb table and summary and sets accepted().
    [[nodiscard]] std::optional<SettingsFault> Accept(ConfigurationSettings& committed,
                                                      OrbTable& orbs, OrbSummary& summary);

    // "Cancel": the controls go back to the committed settings; nothing is committed.
    void Cancel(const ConfigurationSettings& committed);

    // "Hide": the boldface switch, the 1-degree choice, the boldface factor, both divisors
    // and the midpoint orb act from the next computation on, as the controls show them.
    // Orb lists, colours, filters and time-zone names still wait for Accept.
    void ApplyImmediateSettings(ConfigurationSettings& committed) const;

    // True after Accept since the window last became active.
    bool accepted() const { return accepted_; }

  private:
    std::array<int, 8> savedColours_{};
    bool accepted_ = false;
};

// ---- Registry values ---------------------------------------------------------------------

// Each Set... reads its value from the program's registry key, normalises it to "0" or "1" and
// applies it to the settings; it writes nothing. The program keeps the normalised values with
// the Write...ToRegistry functions below.
// "TZDisp": missing or unreadable gives "1" when the computer's offset from UT lies between
// -600 and -150 minutes (North America), else "0"; any content other than "0" gives "1".
void SetTZDisp(ConfigurationSettings& settings, int localOffsetMinutes);
// "IPAD" (show only outer planet aspects) and "SOEA" (show only Earth aspects): only exactly
// "1" switches the filter on; missing, unreadable or other content gives "0", so a new
// computer never starts with both filters on and a chart that refuses to draw.
void SetInnerPlanetAspectDisplay(ConfigurationSettings& settings);
void SetShowOnlyEarthAspects(ConfigurationSettings& settings);

// Store "1" or "0" for the current setting; return the status text of the write.
QString WriteTZDispToRegistry(const ConfigurationSettings& settings);
QString WriteInnerPlanetAspectDisplayToRegistry(const ConfigurationSettings& settings);
QString WriteShowOnlyEarthAspectsToRegistry(const ConfigurationSettings& settings);
// The three display options (TZDisp, IPAD, SOEA) of the settings, as a state file's load left
// them, so that the next start reads what the user last had.
void WriteDisplayOptionsToRegistry(const ConfigurationSettings& settings);

} // namespace orbivex
