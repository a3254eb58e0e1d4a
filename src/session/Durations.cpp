#include "session/Durations.h"

#include "calendar/Calendar.h"
#include "calendar/CalendarYears.h"
#include "core/AngleFormat.h"
#include "core/Ephemeris.h"
#include "core/ExactAspects.h"
#include "core/Orbs.h"
#include "session/ExactMoments.h"
#include "support/ProgramTexts.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <unordered_map>

namespace orbivex {
using enum BodyIndex;
using enum ChartMode;

namespace {

// Positions straight from the ephemeris.
struct DirectPositions {
    const Ephemeris& ephemeris;
    Position operator()(BodyIndex body, double jd) const {
        return ephemeris.PositionOfBody(body, jd);
    }
};

// Positions remembered by body and exact instant. The searches of one list sample the same
// midnights again and again (every pair with Earth walks Earth through the same days), and a
// position depends on nothing but its body and instant, so a remembered one is the very value
// the ephemeris would give again.
class RememberedPositions {
  public:
    explicit RememberedPositions(const Ephemeris& ephemeris) : ephemeris_(ephemeris) {}
    Position operator()(BodyIndex body, double jd) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &jd, sizeof bits);
        const Key key{bits, body};
        const auto found = known_.find(key);
        if (found != known_.end()) {
            return found->second;
        }
        const Position position = ephemeris_.PositionOfBody(body, jd);
        known_.emplace(key, position);
        return position;
    }

  private:
    struct Key {
        std::uint64_t bits;
        BodyIndex body;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::uint64_t>()(key.bits * 16 + Index(key.body));
        }
    };
    const Ephemeris& ephemeris_;
    std::unordered_map<Key, Position, KeyHash> known_;
};

bool ValidSearch(const AspectSearch& search) {
    return IsBody(search.first) && IsBody(search.second) && IsAspectKind(search.aspect);
}

OrbColumn OrbColumnOf(const AspectSearch& search) {
    return search.personal ? OrbColumn::PersonalTransits : OrbColumn::OneChart;
}

// Walks from the local midnight that begins the world date backwards (forward false) or from
// the one that ends it forwards while the aspect holds. A midnight is sampled only when what
// it decides is in doubt: the relative longitude's forecast from the last samples
// (ForecastRelative) bounds the deviation, and while that keeps it within the orb and gives
// one step whatever its value, the walk takes that step unsampled: the same midnights, the
// same end.
template <class Positions>
std::optional<double> Search(Positions& position, const OrbTable& orbs, const SearchDates& dates,
                             const AspectSearch& search, bool forward) {
    if (!ValidSearch(search) || !dates.worldLocal) {
        return std::nullopt;
    }
    const bool personal = search.personal;
    Position natal;
    if (personal) {
        if (!dates.natal) {
            return std::nullopt;
        }
        natal = position(search.first, dates.natal->julianDay);
    }
    const double day = std::floor(dates.worldLocal->value);
    const double zone = search.zoneMinutes / 1440.0;
    // A walk never leaves the years the calendar converts: back, it looks at the midnights of
    // 1 January of year 1 and of the day before it (a beginning on that day is "before the year
    // 1"); forward, at those up to the one that ends 31 December 2799.
    const double firstMidnight = FirstDayOfCalendar(dates.calendar) - 1.0;
    const double lastMidnight = EndDayOfCalendar(dates.calendar);
    double midnight = forward ? day + 1.0 : day;
    int steps = 0;
    const double orb = orbs(search.aspect, OrbColumnOf(search));
    const RelativeMotion motion =
        RelativeMotionOf(search.second, personal ? std::nullopt : std::optional(search.first));
    // The last two samples' relative longitudes.
    std::optional<RelativeSample> latest;
    std::optional<RelativeSample> earlier;
    for (;;) {
        if (midnight < firstMidnight || midnight > lastMidnight) {
            return std::nullopt;
        }
        const double t = midnight - zone - 0.5;
        if (latest) {
            // The deviation is off the one of the relative longitude's likeliest value by no
            // more than that value's error: the tighter of the two forecasts.
            const RelativeForecast moving = ForecastRelative(motion, *latest, std::nullopt, t);
            const RelativeForecast line = ForecastRelative(motion, *latest, earlier, t);
            const RelativeForecast& forecast = line.error < moving.error ? line : moving;
            const double likeliest = AspectDeviation(
                AngularSeparation(0.0,
                                  std::remainder(latest->relative + forecast.change, FullCircle)),
                search.aspect);
            const double high = likeliest + forecast.error;
            const double low = std::max(0.0, likeliest - forecast.error);
            if (high < orb) {
                const int step = SearchStepDays(search.first, search.second, (orb - low) / orb);
                if (step == SearchStepDays(search.first, search.second, (orb - high) / orb)) {
                    midnight += forward ? step : -step;
                    steps += step;
                    continue;
                }
            }
        }
        const Position first = personal ? natal : position(search.first, t);
        const Position second = position(search.second, t);
        if (!first.Known() || !second.Known()) {
            return std::nullopt;
        }
        const std::optional<double> exactness =
            AspectExactness(first, second, search.aspect, orbs, OrbColumnOf(search));
        if (!exactness) {
            return forward ? day + steps : day - steps;
        }
        earlier = latest;
        latest = RelativeSample{t, second.Longitude() - first.Longitude()};
        const int step = SearchStepDays(search.first, search.second, *exactness);
        midnight += forward ? step : -step;
        steps += step;
    }
}

QString RecordKey(BodyIndex first, BodyIndex second, AspectKind kind, double deviation) {
    QString key = PadLeft(QString::number(BodyNumber(first)), 2) +
                  PadLeft(QString::number(BodyNumber(second)), 2) +
                  PadLeft(QString::number(BodyNumber(first)), 2) +
                  PadLeft(QString::number(KindNumber(kind)), 2) + QLatin1Char(' ') +
                  QString::number(deviation, 'f', 6);
    return key;
}

// A decimal number written by the records' own format ("0.034512", " 2460405.503472"), blanks
// around it allowed; nothing for a field that is not one. Read with from_chars: QString's
// toDouble goes through the locale's rules, some 9 k instructions a number, and every listing
// reads two numbers a record.
std::optional<double> DecimalField(QStringView field) {
    const QStringView trimmed = field.trimmed();
    std::array<char, 32> ascii{};
    if (trimmed.isEmpty() || trimmed.size() > static_cast<qsizetype>(ascii.size())) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i].unicode();
        if (c > 0x7f) {
            return std::nullopt;
        }
        ascii[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    const char* first = ascii.data();
    const char* last = first + trimmed.size();
    if (*first == '+') {
        ++first; // as toDouble reads it
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A field of a record as a whole number; false for a field that is not one.
bool ReadInteger(const QString& record, int start, int width, int& value) {
    bool ok = false;
    value = record.mid(start - 1, width).trimmed().toInt(&ok);
    return ok;
}

} // namespace

SearchDates SearchDatesOf(const ProgramState& state) {
    SearchDates dates;
    DateSet world = state.computedDateSets[WorldDate];
    if (const Expected<double, DateError> local = InputDateToLocalJD(world)) {
        dates.worldLocal = LocalJulianDay{*local};
    }
    dates.calendar = world.calendar;
    const ChartMode mode = state.recordedMode;
    if (mode == PersonalFirst || mode == PersonalSecond) {
        DateSet birth =
            state.computedDateSets[mode == PersonalFirst ? FirstBirthdate : SecondBirthdate];
        if (const Expected<double, DateError> natal =
                InputDateToAJDate(birth, state.computedZones)) {
            dates.natal = Instant{*natal};
        }
    }
    return dates;
}

int WorldTimeZoneOffset(const ProgramState& state) {
    // The computer's zone when none is chosen; a named zone's offset at the world date.
    return ZoneOffsetMinutes(state.computedDateSets[WorldDate], state.computedZones);
}

int SearchStepDays(BodyIndex first, BodyIndex second, double exactness) {
    if (first >= Uranus && second >= Uranus) {
        return static_cast<int>(10.0 * exactness) + 1;
    }
    return 1;
}

std::optional<double> ExactMomentOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                          const SearchDates& dates, double worldJD,
                                          const AspectSearch& search) {
    if (!ValidSearch(search)) {
        return std::nullopt;
    }
    PassageSearch passage;
    passage.kind = search.aspect;
    passage.orb = orbs(search.aspect, OrbColumnOf(search));
    passage.julianDay = worldJD;
    // In personal transits the transiting body moves against the natal longitude.
    passage.moving = search.second;
    passage.other = search.first;
    if (search.personal) {
        const Position natal = dates.natal
                                   ? ephemeris.PositionOfBody(search.first, dates.natal->julianDay)
                                   : Position(PositionStatus::Unavailable);
        if (!natal.Known()) {
            return std::nullopt;
        }
        passage.fixedLongitude = natal.Longitude();
    }
    const std::optional<double> exact = ExactMomentOfPassage(ephemeris, passage);
    // Within the years 1 to 2799 of the world date's calendar, on its local days.
    if (exact && !DayInCalendarYears(dates.calendar,
                                     static_cast<std::int32_t>(
                                         std::floor(*exact + 0.5 + search.zoneMinutes / 1440.0)))) {
        return std::nullopt;
    }
    return exact;
}

std::optional<double> BeginningOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                        const SearchDates& dates, const AspectSearch& search) {
    DirectPositions positions{ephemeris};
    return Search(positions, orbs, dates, search, false);
}

std::optional<double> EndOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                  const SearchDates& dates, const AspectSearch& search) {
    DirectPositions positions{ephemeris};
    return Search(positions, orbs, dates, search, true);
}

std::optional<std::pair<BodyIndex, BodyIndex>> CellBodies(ChartMode mode, int cellIndex) {
    if (!IsChartMode(mode) || cellIndex < 0) {
        return std::nullopt;
    }
    const bool square = IsTwoChartMode(mode);
    const int columns = square ? 11 : 9;
    if (cellIndex >= columns * (square ? 11 : 10)) {
        return std::nullopt;
    }
    const int row = cellIndex / columns;
    const int col = cellIndex % columns;
    std::pair<int, int> numbers;
    if (!square) {
        numbers = {row - 1, col + 1};
    } else if (mode == SynastryMode) {
        numbers = {col - 1, row - 1};
    } else {
        numbers = {row - 1, col - 1};
    }
    const std::optional<BodyIndex> first = BodyOfNumber(numbers.first);
    const std::optional<BodyIndex> second = BodyOfNumber(numbers.second);
    if (!first || !second || (!square && *first >= *second)) {
        return std::nullopt;
    }
    return std::make_pair(*first, *second);
}

std::pair<BodyIndex, BodyIndex> AspectBodies(ChartMode mode, const ChartAspect& aspect) {
    if (mode == PersonalFirst || mode == PersonalSecond) {
        return {aspect.second, aspect.first};
    }
    return {aspect.first, aspect.second};
}

const ChartAspect* AspectOfCell(const Chart& chart, int cellIndex) {
    const std::optional<std::pair<BodyIndex, BodyIndex>> bodies = CellBodies(chart.mode, cellIndex);
    if (!bodies) {
        return nullptr;
    }
    for (const ChartAspect& aspect : chart.aspects) {
        if (AspectBodies(chart.mode, aspect) == *bodies) {
            return &aspect;
        }
    }
    return nullptr;
}

QString DurationRecord(BodyIndex first, BodyIndex second, AspectKind kind, double deviation,
                       std::optional<double> beginning, std::optional<double> end,
                       std::optional<double> exact) {
    // An unknown day is written as -1.
    const long long b = beginning ? static_cast<long long>(*beginning) : -1;
    const long long e = end ? static_cast<long long>(*end) : -1;
    QString record = RecordKey(first, second, kind, deviation) + PadLeft(QString::number(b), 8) +
                     PadLeft(QString::number(e), 8);
    record +=
        beginning && end ? PadLeft(QString::number(e - b + 1), 6) : QString(6, QLatin1Char(' '));
    if (exact) {
        record += PadLeft(QString::number(*exact, 'f', 6), RecordExactWidth);
    }
    return record.replace(QLatin1Char(','), QLatin1Char('.'));
}

QString NatalDurationRecord(BodyIndex first, BodyIndex second, AspectKind kind, double deviation) {
    QString record = RecordKey(first, second, kind, deviation) + QString(22, QLatin1Char('-'));
    return record.replace(QLatin1Char(','), QLatin1Char('.'));
}

bool ReadDurationRecord(const QString& record, DurationFields& fields) {
    if (record.size() < RecordLength) {
        return false;
    }
    DurationFields read;
    int kind = 0;
    int body1 = 0;
    int body2 = 0;
    const std::optional<double> deviation =
        DecimalField(QStringView(record).mid(RecordKeyStartDeviation, 8));
    read.deviation = deviation.value_or(0.0);
    if (!deviation || !ReadInteger(record, RecordKeyStartBody1, 2, body1) ||
        !ReadInteger(record, RecordKeyStartBody2, 2, body2) ||
        !ReadInteger(record, RecordKeyStartKind, 2, kind) || !BodyOfNumber(body1) ||
        !BodyOfNumber(body2)) {
        return false;
    }
    read.body1 = *BodyOfNumber(body1);
    read.body2 = *BodyOfNumber(body2);
    read.kind = AspectKindOfNumber(kind);
    int beginning = 0;
    int end = 0;
    int duration = 0;
    if (ReadInteger(record, RecordKeyStartBeginning, 8, beginning) && beginning >= 0) {
        read.beginning = beginning;
    }
    if (ReadInteger(record, RecordKeyStartEnd, 8, end) && end >= 0) {
        read.end = end;
    }
    if (ReadInteger(record, RecordKeyStartDuration, 6, duration)) {
        read.duration = duration;
    }
    if (record.size() >= RecordKeyStartExact - 1 + RecordExactWidth) {
        read.exact =
            DecimalField(QStringView(record).mid(RecordKeyStartExact - 1, RecordExactWidth));
    }
    fields = read;
    return true;
}

DurationRecords GetDurations(const ProgramState& state, const Ephemeris& ephemeris,
                             bool searchDays) {
    DurationRecords records;
    const ChartMode mode = state.recordedMode;
    if (!IsChartMode(mode)) {
        return records;
    }
    const bool transits = ModeHasDurations(mode);
    const bool personal = mode == PersonalFirst || mode == PersonalSecond;
    // The Julian dates of the chart on display.
    std::array<double, NumDateSets> julianDays{};
    for (int set = 0; set < NumDateSets; ++set) {
        if (DateSetsOfMode(mode)[set]) {
            DateSet copy = state.computedDateSets[set];
            julianDays[set] = InputDateToAJDate(copy, state.computedZones).value_or(-1.0);
        }
    }
    const SearchDates dates = SearchDatesOf(state);
    const int zone = transits ? WorldTimeZoneOffset(state) : 0;
    RememberedPositions position(ephemeris);
    // The date sets of the first and second body: in personal transits the natal body and the
    // transiting one, in synastry the first birthdate and the second, otherwise the one chart.
    const int chartSet = mode == NatalFirst || mode == SynastryMode ? FirstBirthdate
                         : mode == NatalSecond                      ? SecondBirthdate
                                                                    : WorldDate;
    const int firstSet = mode == PersonalFirst    ? FirstBirthdate
                         : mode == PersonalSecond ? SecondBirthdate
                                                  : chartSet;
    const int secondSet = personal ? WorldDate : mode == SynastryMode ? SecondBirthdate : chartSet;

    // The chart holds its aspects in the grid's cell order.
    for (const ChartAspect& aspect : state.chart.aspects) {
        const auto [p1, p2] = AspectBodies(mode, aspect);
        const AspectKind kind = aspect.kind;
        const double l1 = position(p1, julianDays[firstSet]).Longitude();
        const double l2 = position(p2, julianDays[secondSet]).Longitude();
        const double deviation = std::fabs(AngularSeparation(l1, l2) - AspectAngles[kind]);
        if (!transits) {
            records.push_back(NatalDurationRecord(p1, p2, kind, deviation));
            continue;
        }
        if (!searchDays) {
            records.push_back(
                DurationRecord(p1, p2, kind, deviation, std::nullopt, std::nullopt, std::nullopt));
            continue;
        }
        const AspectSearch search{p1, p2, kind, personal, zone};
        const std::optional<double> beginning = Search(position, state.orbs, dates, search, false);
        const std::optional<double> end = Search(position, state.orbs, dates, search, true);
        const std::optional<double> exact =
            ExactMomentOfAspect(ephemeris, state.orbs, dates, julianDays[WorldDate], search);
        records.push_back(DurationRecord(p1, p2, kind, deviation, beginning, end, exact));
    }
    return records;
}

CellDoubleClick DecideCellDoubleClick(const ProgramState& state, const Ephemeris& ephemeris,
                                      const ProgramTexts& texts, int cellIndex) {
    CellDoubleClick decision;
    const ChartMode mode = state.recordedMode;
    if (!IsChartMode(mode)) {
        return decision;
    }
    if (!ModeHasDurations(mode)) {
        decision.action = CellDoubleClick::Action::FocusCompute;
        return decision;
    }
    const ChartAspect* aspect = AspectOfCell(state.chart, cellIndex);
    if (aspect == nullptr) {
        return decision;
    }
    const AspectKind kind = aspect->kind;
    const auto [p1, p2] = AspectBodies(mode, *aspect);
    if (state.settings.colours[Index(kind)] == 0) {
        decision.action = CellDoubleClick::Action::ClearSelection;
        return decision;
    }
    const bool personal = mode != WorldTransits;
    const OrbColumn column = personal ? OrbColumn::PersonalTransits : OrbColumn::OneChart;
    const int zone = WorldTimeZoneOffset(state);
    decision.first = p1;
    decision.second = p2;
    decision.kind = kind;

    const QString verb = QString::fromUtf8(AspectKinds[kind].verbPhrase);
    const QString space = QStringLiteral(" ");
    decision.title = personal ? texts.ProgramText(text::TransitingPlanet) + space + BodyName(p2) +
                                    space + verb + space + texts.ProgramText(text::NatalPlanet) +
                                    space + BodyName(p1)
                              : BodyName(p1) + space + verb + space + BodyName(p2);

    const SearchDates dates = SearchDatesOf(state);
    const AspectSearch search{p1, p2, kind, personal, zone};
    decision.beginning = BeginningOfAspect(ephemeris, state.orbs, dates, search);
    decision.end = EndOfAspect(ephemeris, state.orbs, dates, search);
    const DateSet& world = state.computedDateSets[WorldDate];
    if (const Expected<double, DateError> worldJD = InputDateToAJDate(world, state.computedZones)) {
        decision.exact = ExactMomentOfAspect(ephemeris, state.orbs, dates, *worldJD, search);
    }
    decision.personal = personal;
    decision.orb = state.orbs(kind, column);
    decision.calendar = world.calendar;
    decision.beginsBeforeYearOne =
        decision.beginning && *decision.beginning < FirstDayOfCalendar(world.calendar);
    decision.zone = WorldMomentZone(state);

    if (personal && decision.beginning && decision.end) {
        const QString aspectName = AspectName(kind).toLower();
        decision.action = CellDoubleClick::Action::CourseGraph;
        CourseGraphRequest& graph = decision.graph;
        graph.natalBody = p1;
        graph.transitingBody = p2;
        graph.kind = kind;
        graph.timeZone = zone;
        graph.beginning = static_cast<int>(*decision.beginning);
        graph.end = static_cast<int>(*decision.end);
        graph.title = texts.ProgramText(text::TransitingPlanet) + space + BodyName(p2) + space +
                      texts.ProgramText(text::In) + space + aspectName + space +
                      texts.ProgramText(text::AspectTo) + space +
                      texts.ProgramText(text::NatalPlanet) + space + BodyName(p1) +
                      QStringLiteral("X, ") + texts.ProgramText(text::Orb) + space +
                      FormatDegreesMinutes(state.orbs(kind, OrbColumn::PersonalTransits));
        decision.chartTip = texts.ProgramText(text::RightClickOnCurve);
        return decision;
    }
    decision.action = CellDoubleClick::Action::AskForReport;
    return decision;
}

} // namespace orbivex
