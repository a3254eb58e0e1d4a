#include "session/StateFile.h"

#include "support/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <variant>
#include <vector>

namespace orbivex {
using enum ChartMode;

namespace {

// A state file is well under a kilobyte; anything far larger is not one, and reading stops
// there instead of loading whatever the chosen path holds.
constexpr qint64 MaxFileSize = 64 * 1024;
constexpr qsizetype MaxLineLength = 1024;

constexpr int FullLineCount = 44;
constexpr int MinimumLineCount = 43; // the synastry divisor came last and may be missing

enum class Form {
    Plain, // " 5 " / "-1 "
    Bare,  // "5"
    Flag,  // "#TRUE#" / "#FALSE#"
    Text,  // raw text
};

// How a read value outside the field's range is taken.
enum class Leniency {
    None,
    NoneSelected, // -1, a list without a selection, reads as the empty entry 0
    Timezone,     // -1 and every index past the list read as entry 0
};

using Target = std::variant<int*, bool*, QString*>;

struct Field {
    Form form;
    int minimum;
    int maximum;
    Leniency leniency;
    QString what;
    Target target;
};

// The 44 lines of a state file in order, each bound to its member of `c`. One table drives
// reading, writing and checking, so the three cannot disagree about a line.
std::vector<Field> FieldsOf(StateFileContents& c) {
    using S = StateFileContents;
    std::vector<Field> fields;
    fields.reserve(FullLineCount);
    const std::array<QString, 3> setNames{QStringLiteral("the world date"),
                                          QStringLiteral("the first birthdate"),
                                          QStringLiteral("the second birthdate")};
    for (int set = 0; set < 3; ++set) {
        StateDateSet& d = c.dateSets[set];
        const QString& name = setNames[set];
        fields.push_back({Form::Plain, 0, S::MonthEntries - 1, Leniency::NoneSelected,
                          QStringLiteral("month of ") + name, &d.monthIndex});
        fields.push_back({Form::Plain, 0, S::DayEntries - 1, Leniency::NoneSelected,
                          QStringLiteral("day of ") + name, &d.dayIndex});
        fields.push_back({Form::Text, 0, S::MaxYearTextLength, Leniency::None,
                          QStringLiteral("year of ") + name, &d.yearText});
        fields.push_back({Form::Plain, 0, S::HourEntries - 1, Leniency::NoneSelected,
                          QStringLiteral("hour of ") + name, &d.hourIndex});
        fields.push_back({Form::Plain, 0, S::TimezoneEntries - 1, Leniency::Timezone,
                          QStringLiteral("time zone of ") + name, &d.timezoneIndex});
    }
    for (const ChartMode mode : AllChartModes) {
        const int number = ModeNumber(mode);
        fields.push_back({Form::Flag, 0, 1, Leniency::None,
                          QStringLiteral("chart mode option %1").arg(number),
                          &c.modeOption[number]});
    }
    fields.push_back({Form::Plain, 0, S::StepUnitEntries - 1, Leniency::NoneSelected,
                      QStringLiteral("step unit"), &c.stepUnitIndex});
    fields.push_back(
        {Form::Plain, 0, 1, Leniency::None, QStringLiteral("boldface switch"), &c.useBoldface});
    fields.push_back({Form::Plain, 0, S::BoldfaceFactorEntries - 1, Leniency::None,
                      QStringLiteral("boldface factor"), &c.boldfaceFactorIndex});
    fields.push_back(
        {Form::Flag, 0, 1, Leniency::None, QStringLiteral("1-degree option"), &c.oneDegreeOfOrb});
    fields.push_back({Form::Flag, 0, 1, Leniency::None, QStringLiteral("proportion-of-orb option"),
                      &c.proportionOfOrb});
    fields.push_back({Form::Plain, 0, S::DivisorEntries - 1, Leniency::None,
                      QStringLiteral("orb proportion for personal transits"), &c.divisorIndex[0]});
    for (int list = 0; list < 8; ++list) {
        fields.push_back({Form::Bare, 0, S::OrbEntries - 1, Leniency::None,
                          list < NumAspectKinds
                              ? QStringLiteral("orb of the ") +
                                    AspectName(AspectKindOfNumber(list + 1)).toLower()
                              : QStringLiteral("\"set all\" orb"),
                          &c.orbPosition[list]});
    }
    for (const AspectKind kind : AllAspectKinds) {
        fields.push_back({Form::Bare, 0, S::MaxColour, Leniency::None,
                          QStringLiteral("colour of the ") + AspectName(kind).toLower(),
                          &c.aspectColour[Index(kind)]});
    }
    fields.push_back({Form::Plain, 0, S::MidpointOrbEntries - 1, Leniency::None,
                      QStringLiteral("orb for midpoints"), &c.midpointOrbIndex});
    fields.push_back({Form::Plain, 0, S::DivisorEntries - 1, Leniency::None,
                      QStringLiteral("orb proportion for synastry"), &c.divisorIndex[1]});
    return fields;
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

qsizetype SkipBlanks(QByteArrayView line, qsizetype pos) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// After a field only blanks may follow, or a comma that ends the field.
bool EndsCleanly(QByteArrayView line, qsizetype pos) {
    pos = SkipBlanks(line, pos);
    return pos == line.size() || line[pos] == ',';
}

// A value as it may appear in a message: short and printable.
QString Shown(QByteArrayView token) {
    QString text = QString::fromLatin1(token.first(std::min<qsizetype>(token.size(), 24)));
    for (QChar& ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7f) {
            ch = QLatin1Char('?');
        }
    }
    if (token.size() > 24) {
        text += QStringLiteral("...");
    }
    return text;
}

bool IsTextCharacter(char16_t ch) {
    return ch >= 0x20 && ch != 0x7f && ch <= 0xff;
}

// A token of an integer field or flag: from the first non-blank to a blank, comma or the end.
struct Token {
    QByteArrayView text;
    qsizetype end = 0;
};

Token NextToken(QByteArrayView line) {
    const qsizetype start = SkipBlanks(line, 0);
    qsizetype end = start;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != ',') {
        ++end;
    }
    return {line.sliced(start, end - start), end};
}

// An optional sign and decimal digits. A number too long for 64 bits becomes the largest
// value of its sign, which every range test then rejects (or, for a time zone, reads as 0).
bool ParseInteger(QByteArrayView token, qint64& value) {
    qsizetype pos = 0;
    const bool negative = !token.isEmpty() && token[0] == '-';
    if (!token.isEmpty() && (token[0] == '-' || token[0] == '+')) {
        pos = 1;
    }
    if (pos == token.size()) {
        return false;
    }
    for (qsizetype i = pos; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') {
            return false;
        }
    }
    bool ok = false;
    value = token.toLongLong(&ok);
    if (!ok) {
        value = negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    }
    return true;
}

QString LineError(int lineNumber, const Field& field, const QString& problem) {
    return QStringLiteral("Line %1 (%2): %3").arg(lineNumber).arg(field.what, problem);
}

// A text runs from its first non-blank to the first comma, without blanks at its end, or it is
// quoted and runs to the closing quote.
Status ReadTextField(QByteArrayView line, int lineNumber, const Field& field) {
    const qsizetype start = SkipBlanks(line, 0);
    QByteArrayView raw;
    if (start < line.size() && line[start] == '"') {
        const qsizetype close = line.indexOf('"', start + 1);
        if (close < 0) {
            return Fail(LineError(lineNumber, field, QStringLiteral("the quoted text has no end")));
        }
        if (!EndsCleanly(line, close + 1)) {
            return Fail(LineError(lineNumber, field,
                                  QStringLiteral("unexpected characters after the quoted text")));
        }
        raw = line.sliced(start + 1, close - start - 1);
    } else {
        qsizetype end = line.indexOf(',', start);
        if (end < 0) {
            end = line.size();
        }
        while (end > start && IsBlank(line[end - 1])) {
            --end;
        }
        raw = line.sliced(start, end - start);
    }
    const QString text = QString::fromLatin1(raw);
    for (const QChar ch : text) {
        if (!IsTextCharacter(ch.unicode())) {
            return Fail(
                LineError(lineNumber, field, QStringLiteral("the text holds control characters")));
        }
    }
    if (text.size() > field.maximum) {
        return Fail(
            LineError(lineNumber, field,
                      QStringLiteral("the text is longer than %1 characters").arg(field.maximum)));
    }
    *std::get<QString*>(field.target) = text;
    return {};
}

// An integer or a flag: "#TRUE#", "#FALSE#" or a number, non-zero being true.
Status ReadValueField(QByteArrayView line, int lineNumber, const Field& field) {
    const Token token = NextToken(line);
    if (token.text.isEmpty()) {
        return Fail(LineError(lineNumber, field, QStringLiteral("the value is missing")));
    }
    if (!EndsCleanly(line, token.end)) {
        return Fail(
            LineError(lineNumber, field,
                      QStringLiteral("unexpected characters after \"%1\"").arg(Shown(token.text))));
    }
    if (field.form == Form::Flag) {
        const QByteArray upper = token.text.toByteArray().toUpper();
        bool value = false;
        qint64 number = 0;
        if (upper == "#TRUE#") {
            value = true;
        } else if (upper == "#FALSE#") {
            value = false;
        } else if (ParseInteger(token.text, number)) {
            value = number != 0;
        } else {
            return Fail(
                LineError(lineNumber, field,
                          QStringLiteral("\"%1\" is neither #TRUE# nor #FALSE# nor a number")
                              .arg(Shown(token.text))));
        }
        *std::get<bool*>(field.target) = value;
        return {};
    }

    qint64 value = 0;
    if (!ParseInteger(token.text, value)) {
        return Fail(
            LineError(lineNumber, field,
                      QStringLiteral("\"%1\" is not a whole number").arg(Shown(token.text))));
    }
    if (value < field.minimum || value > field.maximum) {
        const bool noneSelected = value == -1 && field.leniency != Leniency::None;
        const bool pastTimezones = value > field.maximum && field.leniency == Leniency::Timezone;
        if (!noneSelected && !pastTimezones) {
            return Fail(LineError(lineNumber, field,
                                  QStringLiteral("%1 is not between %2 and %3")
                                      .arg(Shown(token.text))
                                      .arg(field.minimum)
                                      .arg(field.maximum)));
        }
        value = 0;
    }
    if (std::holds_alternative<bool*>(field.target)) {
        *std::get<bool*>(field.target) = value != 0;
    } else {
        *std::get<int*>(field.target) = static_cast<int>(value);
    }
    return {};
}

// Reads one line into its field, or says what is wrong with it.
Status ReadField(QByteArrayView line, int lineNumber, const Field& field) {
    return field.form == Form::Text ? ReadTextField(line, lineNumber, field)
                                    : ReadValueField(line, lineNumber, field);
}

// What the file keeps of a text: Latin-1 characters other than control characters. Text that
// would not read back as itself goes into quotes, which then cannot hold a quote of their own.
QByteArray EncodeText(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar ch : text) {
        if (IsTextCharacter(ch.unicode())) {
            kept += ch;
        }
    }
    const bool needsQuotes = kept.contains(QLatin1Char(',')) || kept.startsWith(QLatin1Char('"')) ||
                             kept.startsWith(QLatin1Char(' ')) || kept.endsWith(QLatin1Char(' '));
    if (!needsQuotes) {
        return kept.toLatin1();
    }
    kept.remove(QLatin1Char('"'));
    return '"' + kept.toLatin1() + '"';
}

QByteArray EncodeField(const Field& field) {
    if (field.form == Form::Text) {
        return EncodeText(*std::get<QString*>(field.target));
    }
    const int value = std::holds_alternative<bool*>(field.target)
                          ? (*std::get<bool*>(field.target) ? 1 : 0)
                          : *std::get<int*>(field.target);
    switch (field.form) {
    case Form::Flag:
        return value != 0 ? QByteArrayLiteral("#TRUE#") : QByteArrayLiteral("#FALSE#");
    case Form::Bare:
        return QByteArray::number(value);
    case Form::Plain:
    case Form::Text:
        break;
    }
    return (value >= 0 ? QByteArrayLiteral(" ") : QByteArray()) + QByteArray::number(value) + ' ';
}

// Splits file bytes into lines ended by LF or CR LF; a last line without an end counts too.
std::vector<QByteArrayView> SplitLines(QByteArrayView bytes) {
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0) {
            end = bytes.size();
        }
        QByteArrayView line = bytes.sliced(start, end - start);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
}

// The key of each date set's keyed lines.
constexpr std::array<const char*, 3> DateSetKeys{"world", "birth1", "birth2"};

// The parts of a place's line, each of text percent-encoded (UTF-8), so that any name fits a
// Latin-1 line and no part holds the separator.
QByteArray PlaceLineValue(const Place& place) {
    const auto text = [](const QString& part) { return QUrl::toPercentEncoding(part, " ,'()/+"); };
    const auto number = [](double value) {
        return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    };
    return QByteArrayList{text(place.name),        text(place.region),
                          text(place.country),     text(place.countryCode),
                          text(place.zone),        number(place.latitude),
                          number(place.longitude), QByteArray::number(place.population)}
        .join('|');
}

std::optional<Place> PlaceOfLineValue(QByteArrayView value) {
    const QList<QByteArray> parts = value.toByteArray().split('|');
    if (parts.size() != 8) {
        return std::nullopt;
    }
    const auto text = [](const QByteArray& part) {
        return QUrl::fromPercentEncoding(part).trimmed();
    };
    Place place{
        text(parts[0]), text(parts[1]), text(parts[2]), text(parts[3]), text(parts[4]), 0, 0, 0};
    bool latitudeRead = false;
    bool longitudeRead = false;
    bool populationRead = false;
    place.latitude = parts[5].toDouble(&latitudeRead);
    place.longitude = parts[6].toDouble(&longitudeRead);
    place.population = parts[7].toLongLong(&populationRead);
    if (place.name.isEmpty() || place.zone.isEmpty() || !latitudeRead || !longitudeRead ||
        !populationRead || !std::isfinite(place.latitude) || !std::isfinite(place.longitude) ||
        std::abs(place.latitude) > 90 || std::abs(place.longitude) > 180 || place.population < 0) {
        return std::nullopt;
    }
    return place;
}

// The keyed lines of what the classic lines cannot hold; none when nothing needs them.
QByteArray FormatKeyedLines(const StateFileContents& contents) {
    QByteArray bytes;
    if (contents.calendar != CalendarChoice::Gregorian) {
        bytes += "calendar=" + CalendarName(contents.calendar).toLatin1() + "\r\n";
    }
    if (contents.zodiac != ZodiacChoice::J2000) {
        bytes += "zodiac=" + ZodiacName(contents.zodiac).toLatin1() + "\r\n";
    }
    for (std::size_t set = 0; set < DateSetKeys.size(); ++set) {
        const StateDateSet& d = contents.dateSets[set];
        if (d.typedMinute >= 0) {
            bytes += QByteArray(DateSetKeys[set]) +
                     ".time=" + MinuteText(d.typedMinute).toLatin1() + "\r\n";
        }
        if (!d.zoneName.isEmpty()) {
            bytes += QByteArray(DateSetKeys[set]) + ".zone=" + d.zoneName.toLatin1() + "\r\n";
        }
        if (d.place) {
            bytes += QByteArray(DateSetKeys[set]) + ".place=" + PlaceLineValue(*d.place) + "\r\n";
            if (d.atPlace) {
                bytes += QByteArray(DateSetKeys[set]) + ".atplace=1\r\n";
            }
        }
    }
    return bytes;
}

// Reads the keyed lines that follow the classic ones into `read`, or gives the first fault.
Status ParseKeyedLines(const std::vector<QByteArrayView>& lines, std::size_t first,
                       StateFileContents& read) {
    for (std::size_t i = first; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        if (lines[i].size() > MaxLineLength) {
            return Fail(QStringLiteral("Line %1 is longer than %2 characters.")
                            .arg(lineNumber)
                            .arg(MaxLineLength));
        }
        const qsizetype equals = lines[i].indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QByteArray key = lines[i].first(equals).trimmed().toByteArray();
        const QByteArrayView value = lines[i].sliced(equals + 1).trimmed();
        if (key == "calendar") {
            const std::optional<CalendarChoice> calendar =
                CalendarOfName(QString::fromLatin1(value));
            if (!calendar) {
                return Fail(
                    QStringLiteral("Line %1 (calendar): \"%2\" is neither gregorian nor julian "
                                   "nor auto.")
                        .arg(lineNumber)
                        .arg(Shown(value)));
            }
            read.calendar = *calendar;
            continue;
        }
        if (key == "zodiac") {
            const std::optional<ZodiacChoice> zodiac = ZodiacOfName(QString::fromLatin1(value));
            if (!zodiac) {
                return Fail(QStringLiteral("Line %1 (zodiac): \"%2\" is neither j2000 nor date.")
                                .arg(lineNumber)
                                .arg(Shown(value)));
            }
            read.zodiac = *zodiac;
            continue;
        }
        for (std::size_t set = 0; set < DateSetKeys.size(); ++set) {
            if (key == QByteArray(DateSetKeys[set]) + ".place") {
                read.dateSets[set].place = PlaceOfLineValue(value);
                if (!read.dateSets[set].place) {
                    return Fail(QStringLiteral("Line %1 (%2): \"%3\" is not a place written as "
                                               "name|region|country|code|zone|latitude|"
                                               "longitude|population.")
                                    .arg(lineNumber)
                                    .arg(QString::fromLatin1(key), Shown(value)));
                }
                continue;
            }
            if (key == QByteArray(DateSetKeys[set]) + ".atplace") {
                if (value != "1" && value != "0") {
                    return Fail(QStringLiteral("Line %1 (%2): \"%3\" is neither 1 nor 0.")
                                    .arg(lineNumber)
                                    .arg(QString::fromLatin1(key), Shown(value)));
                }
                read.dateSets[set].atPlace = value == "1";
                continue;
            }
            if (key == QByteArray(DateSetKeys[set]) + ".zone") {
                const QString name = QString::fromLatin1(value);
                // White space at either end (a no-break space too) is no part of a zone name,
                // and the writer would refuse to store it.
                if (name.isEmpty() || name.size() > StateFileContents::MaxZoneNameLength ||
                    !std::all_of(name.begin(), name.end(),
                                 [](QChar ch) { return IsTextCharacter(ch.unicode()); }) ||
                    name != name.trimmed()) {
                    return Fail(QStringLiteral("Line %1 (%2): \"%3\" is not a zone name.")
                                    .arg(lineNumber)
                                    .arg(QString::fromLatin1(key), Shown(value)));
                }
                read.dateSets[set].zoneName = name;
                continue;
            }
            if (key != QByteArray(DateSetKeys[set]) + ".time") {
                continue;
            }
            const std::optional<int> minute = MinuteOfText(QString::fromLatin1(value));
            if (!minute) {
                return Fail(QStringLiteral("Line %1 (%2): \"%3\" is not a time written as HH:MM.")
                                .arg(lineNumber)
                                .arg(QString::fromLatin1(key), Shown(value)));
            }
            read.dateSets[set].typedMinute = *minute;
        }
    }
    return {};
}

QString NativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

ChartMode StateFileContents::SelectedMode() const {
    for (int number = NumChartModes; number >= 1; --number) {
        if (modeOption[number]) {
            return ChartModeOfNumber(number);
        }
    }
    return NoChartMode;
}

void StateFileContents::SelectMode(ChartMode mode) {
    for (const ChartMode m : AllChartModes) {
        modeOption[ModeNumber(m)] = m == mode;
    }
}

int StateFileContents::ColourOr(AspectKind kind, int current) const {
    if (!IsAspectKind(kind) || aspectColour[Index(kind)] == 0) {
        return current;
    }
    return aspectColour[Index(kind)];
}

Status CheckStateFileContents(const StateFileContents& contents) {
    StateFileContents copy = contents;
    const std::vector<Field> fields = FieldsOf(copy);
    for (const Field& field : fields) {
        if (const QString* const* text = std::get_if<QString*>(&field.target)) {
            if ((*text)->size() > field.maximum) {
                return Fail(QStringLiteral("the %1 is longer than %2 characters")
                                .arg(field.what)
                                .arg(field.maximum));
            }
        } else if (int* const* value = std::get_if<int*>(&field.target)) {
            if (**value < field.minimum || **value > field.maximum) {
                return Fail(QStringLiteral("the %1 is %2, not between %3 and %4")
                                .arg(field.what)
                                .arg(**value)
                                .arg(field.minimum)
                                .arg(field.maximum));
            }
        }
    }
    for (std::size_t set = 0; set < contents.dateSets.size(); ++set) {
        const QString& name = contents.dateSets[set].zoneName;
        if (name.size() > StateFileContents::MaxZoneNameLength ||
            !std::all_of(name.begin(), name.end(),
                         [](QChar ch) { return IsTextCharacter(ch.unicode()); }) ||
            name != name.trimmed()) {
            return Fail(QStringLiteral("the zone name of %1 is not one a state file can hold")
                            .arg(QString::fromLatin1(DateSetKeys[set])));
        }
        if (const std::optional<Place>& place = contents.dateSets[set].place;
            place && (PlaceLineValue(*place).size() + 16 > MaxLineLength ||
                      PlaceOfLineValue(PlaceLineValue(*place)) != place)) {
            return Fail(QStringLiteral("the place of %1 is not one a state file can hold")
                            .arg(QString::fromLatin1(DateSetKeys[set])));
        }
        const int minute = contents.dateSets[set].typedMinute;
        if (minute < -1 || minute >= MinutesPerDay) {
            return Fail(
                QStringLiteral("the typed time of %1 is %2 minutes after midnight, not between "
                               "0 and %3")
                    .arg(QString::fromLatin1(DateSetKeys[set]))
                    .arg(minute)
                    .arg(MinutesPerDay - 1));
        }
    }
    return {};
}

QByteArray FormatStateFile(const StateFileContents& contents) {
    StateFileContents copy = contents;
    QByteArray bytes;
    for (const Field& field : FieldsOf(copy)) {
        bytes += EncodeField(field);
        bytes += "\r\n";
    }
    return bytes + FormatKeyedLines(contents);
}

Expected<StateFileContents> ParseStateFile(const QByteArray& bytes) {
    if (bytes.size() > MaxFileSize) {
        return Fail(QStringLiteral("The file is larger than %1 bytes.").arg(MaxFileSize));
    }
    const std::vector<QByteArrayView> lines = SplitLines(bytes);
    StateFileContents read;
    const std::vector<Field> fields = FieldsOf(read);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const bool last = lineNumber == FullLineCount;
        if (i >= lines.size() || (last && lines[i].trimmed().isEmpty())) {
            if (lineNumber <= MinimumLineCount) {
                return Fail(
                    QStringLiteral("The file ends after line %1; a state file has %2 lines.")
                        .arg(lines.size())
                        .arg(FullLineCount));
            }
            read.divisorIndex[1] = read.divisorIndex[0];
            break;
        }
        if (lines[i].size() > MaxLineLength) {
            return Fail(QStringLiteral("Line %1 is longer than %2 characters.")
                            .arg(lineNumber)
                            .arg(MaxLineLength));
        }
        const Status field = ReadField(lines[i], lineNumber, fields[i]);
        if (!field) {
            return Fail(field.error() + QLatin1Char('.'));
        }
    }
    if (const Status keyed = ParseKeyedLines(lines, FullLineCount, read); !keyed) {
        return Fail(keyed.error());
    }
    return read;
}

Status WriteStateFile(const QString& path, const StateFileContents& contents) {
    return WriteStateFile(path, contents, [](QFileDevice& file, const QByteArray& bytes) -> Status {
        errno = 0;
        if (file.write(bytes) != bytes.size()) {
            return Fail(FailureReason(file, errno));
        }
        return {};
    });
}

Status WriteStateFile(const QString& path, const StateFileContents& contents,
                      const StateFileWriter& writer) {
    if (const Status check = CheckStateFileContents(contents); !check) {
        return Fail(QStringLiteral("Cannot save %1: %2.").arg(NativePath(path), check.error()));
    }
    // A failure, or the end of the program, at any point before the commit leaves the old file
    // as it was.
    SafeFile file(path);
    Status written = file.Open();
    if (written) {
        written = writer(file.Device(), FormatStateFile(contents));
        written = written ? file.Commit() : written;
    }
    if (!written) {
        return Fail(QStringLiteral("Cannot save %1: %2.").arg(NativePath(path), written.error()));
    }
    return {};
}

Expected<StateFileContents> ReadStateFile(const QString& path) {
    // Opening a named pipe would wait for a writer that may never come.
    if (const Status regular = NotARegularFile(path); !regular) {
        return Fail(QStringLiteral("Cannot open %1: %2.").arg(NativePath(path), regular.error()));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Fail(QStringLiteral("Cannot open %1: %2").arg(NativePath(path), file.errorString()));
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return Fail(QStringLiteral("Cannot read %1: %2").arg(NativePath(path), file.errorString()));
    }
    Expected<StateFileContents> contents = ParseStateFile(bytes);
    if (!contents) {
        return Fail(QStringLiteral("%1 is not a valid state file. %2")
                        .arg(NativePath(path), contents.error()));
    }
    return contents;
}

} // namespace orbivex
