#pragma once
// The fixed vocabulary of the astronomical core: bodies, aspect kinds, zodiac signs, pattern
// names, the colour cycle of chart lines and the angle constants. Everything here is constant
// and indexed exactly as stored in state files and shown in reports.

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace orbivex {

using ZodiacSign = int; // 0 Aries ... 11 Pisces

// The full circle used by every degree/radian conversion. It is deliberately the 15-digit
// decimal value, a hair above the nearest double to 2*pi, so that conversions agree with the
// values stored in existing state and report texts.
inline constexpr double FullCircle = 6.28318530717959;
// Pi for drawing (wheel and course graph).
inline constexpr double Pi = 3.14159265358979;

inline constexpr double DegreesToRadians(double degrees) {
    return degrees / 360.0 * FullCircle;
}
inline constexpr double RadiansToDegrees(double radians) {
    return radians / FullCircle * 360.0;
}

// Colours are 24-bit integers R + 256*G + 65536*B.
inline constexpr int Rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}
inline constexpr int RedOf(int colour) {
    return colour & 0xff;
}
inline constexpr int GreenOf(int colour) {
    return (colour >> 8) & 0xff;
}
inline constexpr int BlueOf(int colour) {
    return (colour >> 16) & 0xff;
}

inline constexpr int MaxBodies = 9; // bodies in use when the Pluto table is loaded
inline constexpr int NumAspectKinds = 7;
inline constexpr int NumZodiacSigns = 12;
inline constexpr int NumPatterns = 14;

// The number of a body (1..9) is what state files, controls and the tables indexed by body use.
enum class BodyIndex : int {
    Earth = 1,
    Mercury,
    Venus,
    Mars,
    Jupiter,
    Saturn,
    Uranus,
    Neptune,
    Pluto,
};

// The bodies in order, to iterate over.
inline constexpr std::array<BodyIndex, MaxBodies> AllBodies{
    BodyIndex::Earth,  BodyIndex::Mercury, BodyIndex::Venus,   BodyIndex::Mars, BodyIndex::Jupiter,
    BodyIndex::Saturn, BodyIndex::Uranus,  BodyIndex::Neptune, BodyIndex::Pluto};

// The body's number: its index in the tables by body.
inline constexpr std::size_t Index(BodyIndex body) {
    return static_cast<std::size_t>(body);
}
inline constexpr int BodyNumber(BodyIndex body) {
    return static_cast<int>(body);
}
// The body of a number 1..9 read from a file or a control; none for any other.
inline constexpr std::optional<BodyIndex> BodyOfNumber(int number) {
    if (number < 1 || number > MaxBodies) {
        return std::nullopt;
    }
    return static_cast<BodyIndex>(number);
}

// The first numBodies bodies: those in use (Pluto only while its table is loaded).
inline constexpr std::span<const BodyIndex> BodiesInUse(int numBodies) {
    const int count = numBodies < 0 ? 0 : numBodies > MaxBodies ? MaxBodies : numBodies;
    return std::span(AllBodies).first(static_cast<std::size_t>(count));
}
// The bodies from `first` to `last` in order.
inline constexpr std::span<const BodyIndex> BodyRange(BodyIndex first, BodyIndex last) {
    return std::span(AllBodies).subspan(Index(first) - 1, Index(last) - Index(first) + 1);
}
// The bodies after `body` among the first numBodies, in order.
inline constexpr std::span<const BodyIndex> BodiesAfter(BodyIndex body, int numBodies) {
    const std::span<const BodyIndex> inUse = BodiesInUse(numBodies);
    const auto first = static_cast<std::size_t>(BodyNumber(body));
    return first < inUse.size() ? inUse.subspan(first) : inUse.subspan(inUse.size());
}

// A table with an entry for each body, read by body. Entry 0 stays unused so that the layout
// keeps the body numbers.
template <class T> struct ByBody : std::array<T, MaxBodies + 1> {
    using Base = std::array<T, MaxBodies + 1>;
    constexpr T& operator[](BodyIndex body) { return Base::operator[](Index(body)); }
    constexpr const T& operator[](BodyIndex body) const { return Base::operator[](Index(body)); }
};

// The number of a kind (1..7) is its precedence when a separation lies within the orbs of two
// kinds, and what state files, duration records and tables indexed by kind use.
enum class AspectKind : int {
    NoAspect = 0,
    Conjunction,
    Opposition,
    Square,
    Trine,
    Sextile,
    Semisextile,
    Quincunx,
};

// The kinds in order of precedence, to iterate over.
inline constexpr std::array<AspectKind, NumAspectKinds> AllAspectKinds{
    AspectKind::Conjunction, AspectKind::Opposition,  AspectKind::Square,  AspectKind::Trine,
    AspectKind::Sextile,     AspectKind::Semisextile, AspectKind::Quincunx};

// The kind's number: its index in the tables by kind (0 for NoAspect).
inline constexpr std::size_t Index(AspectKind kind) {
    return static_cast<std::size_t>(kind);
}
inline constexpr int KindNumber(AspectKind kind) {
    return static_cast<int>(kind);
}
// The kind of a number 1..7 read from a file or a control; NoAspect for any other.
inline constexpr AspectKind AspectKindOfNumber(int number) {
    return number >= 1 && number <= NumAspectKinds ? static_cast<AspectKind>(number)
                                                   : AspectKind::NoAspect;
}

struct BodyRecord {
    const char* name;
    const char* abbreviation;
    const char* symbolLetter; // letter of the astrological symbol font
    bool inner;               // Earth, Mercury, Venus, Mars
    int planetNumber;         // number of the body in the position library; 0 for none
};

// Entry 0 carries no body.
inline constexpr ByBody<BodyRecord> Bodies{{{
    {"", "", "", false, 0},
    {"Earth", "Ea", "L", true, 3},
    {"Mercury", "Me", "f", true, 1},
    {"Venus", "Ve", "g", true, 2},
    {"Mars", "Ma", "h", true, 4},
    {"Jupiter", "Ju", "j", false, 5},
    {"Saturn", "Sa", "S", false, 6},
    {"Uranus", "Ur", "F", false, 7},
    {"Neptune", "Ne", "G", false, 8},
    {"Pluto", "Pl", "J", false, 0},
}}};

// The symbol font's letter of the glyph drawn at the centre of the chart wheel.
inline constexpr const char* CentreSymbolLetter = "s";

struct AspectKindRecord {
    const char* abbreviation;    // what a grid cell shows: "Con"
    const char* name;            // "Conjunction"
    const char* verbPhrase;      // "conjunct", "square to"
    const char* shortVerb;       // "conjunct", "square"
    const char* descriptionStem; // "conjunction (0"; the description adds "°)"
    double angleDegrees;
    int defaultColour;
};

// A table with an entry for each kind number 0..7 (0 for NoAspect), read by kind.
template <class T> struct ByAspectKind : std::array<T, NumAspectKinds + 1> {
    using Base = std::array<T, NumAspectKinds + 1>;
    using Base::operator[];
    constexpr T& operator[](AspectKind kind) { return Base::operator[](Index(kind)); }
    constexpr const T& operator[](AspectKind kind) const { return Base::operator[](Index(kind)); }
};

// Entries 0 to 7; 0 carries no kind.
inline constexpr ByAspectKind<AspectKindRecord> AspectKinds{{{
    {"", "", "", "", "", 0.0, 0},
    {"Con", "Conjunction", "conjunct", "conjunct", "conjunction (0", 0.0, Rgb(255, 255, 0)},
    {"Opp", "Opposition", "opposite", "opposite", "opposition (180", 180.0, Rgb(255, 0, 255)},
    {"Sqr", "Square", "square to", "square", "square (90", 90.0, Rgb(255, 0, 0)},
    {"Tri", "Trine", "trine to", "trine", "trine (120", 120.0, Rgb(0, 255, 0)},
    {"Sxt", "Sextile", "sextile to", "sextile", "sextile (60", 60.0, Rgb(0, 255, 255)},
    {"Ssx", "Semisextile", "semisextile to", "semisextile", "semisextile (30", 30.0,
     Rgb(128, 128, 255)},
    {"Qui", "Quincunx", "quincunx to", "quincunx", "quincunx (150", 150.0, Rgb(128, 128, 128)},
}}};

// Aspect angles in radians. Opposition and square carry the digits that the program has
// always used; the others are degrees converted with the full-circle constant.
inline constexpr ByAspectKind<double> AspectAngles{
    0.0,
    0.0,
    3.141592653589795,
    1.5707963267948974,
    120.0 / 360.0 * FullCircle,
    60.0 / 360.0 * FullCircle,
    30.0 / 360.0 * FullCircle,
    150.0 / 360.0 * FullCircle,
};

struct ZodiacSignRecord {
    const char* abbreviation;
    const char* name;
    const char* symbolLetter;
};

inline constexpr std::array<ZodiacSignRecord, 12> ZodiacSigns{{
    {"Ari", "Aries", "x"},
    {"Tau", "Taurus", "c"},
    {"Gem", "Gemini", "v"},
    {"Can", "Cancer", "b"},
    {"Leo", "Leo", "n"},
    {"Vir", "Virgo", "m"},
    {"Lib", "Libra", "X"},
    {"Sco", "Scorpio", "C"},
    {"Sag", "Sagittarius", "V"},
    {"Cap", "Capricorn", "B"},
    {"Aqu", "Aquarius", "N"},
    {"Pis", "Pisces", "M"},
}};

// The patterns a chart is searched for, in the order of the run window's list; the number of a
// pattern is its entry in that list and its index in the tables by pattern. The midpoints count
// as a pattern of their own. NoPattern stands for "run until stopped".
enum class PatternIndex : int {
    NoPattern = -1,
    GrandTrine = 0,
    Kite,
    Rectangle,
    TSquare,
    GrandCross,
    Yod,
    YodKite,
    Trapezium,
    SixStellium,
    FiveStellium,
    FourStellium,
    ThreeStellium,
    GrandSextile,
    MidpointPattern,
};

// The patterns in list order, to iterate over.
inline constexpr std::array<PatternIndex, NumPatterns> AllPatterns{
    PatternIndex::GrandTrine,   PatternIndex::Kite,           PatternIndex::Rectangle,
    PatternIndex::TSquare,      PatternIndex::GrandCross,     PatternIndex::Yod,
    PatternIndex::YodKite,      PatternIndex::Trapezium,      PatternIndex::SixStellium,
    PatternIndex::FiveStellium, PatternIndex::FourStellium,   PatternIndex::ThreeStellium,
    PatternIndex::GrandSextile, PatternIndex::MidpointPattern};

// The patterns from `first` to `last` in list order.
inline constexpr std::span<const PatternIndex> PatternRange(PatternIndex first, PatternIndex last) {
    return std::span(AllPatterns)
        .subspan(static_cast<std::size_t>(first),
                 static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1);
}
inline constexpr bool IsPattern(PatternIndex pattern) {
    return pattern >= PatternIndex::GrandTrine && pattern <= PatternIndex::MidpointPattern;
}
// The pattern's number: its entry in the run window's list and its index in the tables by
// pattern; -1 for NoPattern.
inline constexpr int PatternNumber(PatternIndex pattern) {
    return static_cast<int>(pattern);
}
inline constexpr std::size_t Index(PatternIndex pattern) {
    return static_cast<std::size_t>(pattern);
}
// The pattern of a list entry 0..13; NoPattern for any other.
inline constexpr PatternIndex PatternOfNumber(int number) {
    return number >= 0 && number < NumPatterns ? static_cast<PatternIndex>(number)
                                               : PatternIndex::NoPattern;
}

inline constexpr std::array<const char*, 14> PatternNames{
    "Grand trine", "Kite",       "Rectangle",     "T-square",   "Grand cross",
    "Yod",         "Yod-kite",   "Trapezium",     "6-Stellium", "5-Stellium",
    "4-Stellium",  "3-Stellium", "Grand sextile", "Midpoint",
};

// The twelve colours that a chart line cycles through on a left click.
inline constexpr std::array<int, 12> ColourCycle{
    Rgb(255, 255, 0), Rgb(255, 0, 255),   Rgb(255, 0, 0),     Rgb(0, 255, 0),
    Rgb(0, 255, 255), Rgb(128, 128, 128), Rgb(128, 128, 255), Rgb(0, 0, 255),
    Rgb(0, 192, 255), Rgb(192, 0, 255),   Rgb(255, 192, 0),   Rgb(128, 64, 0),
};

inline constexpr bool IsBody(BodyIndex body) {
    return body >= BodyIndex::Earth && body <= BodyIndex::Pluto;
}
inline bool IsAspectKind(AspectKind kind) {
    return kind >= AspectKind::Conjunction && kind <= AspectKind::Quincunx;
}

QString BodyName(BodyIndex body);
QString BodyAbbreviation(BodyIndex body);
QString AspectAbbreviation(AspectKind kind);
QString AspectName(AspectKind kind);
// "conjunction (0°)"
QString AspectDescription(AspectKind kind);
// Lower-case plural used in reports: "squares", "quincunxes".
QString AspectPluralLower(AspectKind kind);
QString PatternName(PatternIndex pattern);
// The pattern of a name, compared without regard to case; NoPattern when unknown.
PatternIndex PatternIndexOfName(QStringView name);

// Text form of an ecliptic longitude in radians: short "15Ari7", long "16° in Aries".
// Empty for a negative, NaN or over-full-circle longitude (a body without a position).
QString FormatZodiacPosition(double longitude, bool longForm);

} // namespace orbivex
