#include "present/DurationsReport.h"

#include "calendar/Calendar.h"
#include "calendar/CalendarYears.h"
#include "calendar/DateFormat.h"
#include "core/AngleFormat.h"
#include "core/Orbs.h"
#include "present/Grid.h"
#include "present/PatternTexts.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <QStringView>
#include <algorithm>
#include <cmath>

namespace orbivex {
using enum AspectKind;
using enum PatternIndex;
using enum ChartMode;

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Space = QStringLiteral(" ");

QString ShortVerb(AspectKind kind) {
    return IsAspectKind(kind) ? QString::fromUtf8(AspectKinds[kind].shortVerb) : QString();
}

// "16° in Aries", in the chart's zodiac, of the body in one set of the chart; "" for a body
// without a position.
QString LongPosition(const Chart& chart, int set, BodyIndex body) {
    if (!IsBody(body)) {
        return {};
    }
    const auto index = static_cast<std::size_t>(set);
    const Position& position = chart.positions[index][body];
    return position.Known()
               ? FormatZodiacPosition(
                     LongitudeInZodiac(position.Longitude(), chart.zodiacOffset[index]), true)
               : QString();
}

// The deviation as the listing shows it: "2°5'".
QString DeviationText(double deviation) {
    return FormatDegreesMinutes(deviation).trimmed();
}

QString UpperFirst(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

// A date of the chart on display.
QString DateText(const ProgramState& state, int dateSet, bool abbreviated) {
    DateSet copy = state.computedDateSets[dateSet];
    return InputDateToString(copy, state.computedZones, abbreviated);
}

int BirthdateOf(ChartMode mode) {
    return mode == PersonalFirst || mode == NatalFirst ? FirstBirthdate : SecondBirthdate;
}

QStringView Key(const QString& record, int keyStart) {
    return QStringView(record).mid(std::min<qsizetype>(keyStart - 1, record.size()));
}

// Orders first..last by descending key: the partition of the list's own sort.
void SortDescending(DurationRecords& records, int first, int last, int keyStart) {
    if (first >= last) {
        return;
    }
    const QString pivot = Key(records[first + (last - first) / 2], keyStart).toString();
    int i = first;
    int j = last;
    do {
        while (i < last && Key(records[i], keyStart).compare(pivot) > 0) {
            ++i;
        }
        while (j > first && Key(records[j], keyStart).compare(pivot) < 0) {
            --j;
        }
        if (i <= j) {
            if (i < j) {
                std::swap(records[i], records[j]);
            }
            ++i;
            --j;
        }
    } while (i <= j);
    SortDescending(records, first, j, keyStart);
    SortDescending(records, i, last, keyStart);
}

bool IsExact(double deviation) {
    return FormatDegreesMinutes(deviation) == QStringLiteral("0°0'");
}

QString PatternNameInReport(PatternIndex pattern) {
    const QString name = PatternName(pattern);
    return pattern == TSquare ? name : name.toLower();
}

} // namespace

ListingWidths MakeListingWidths() {
    ListingWidths widths;
    int longestVerb = 0;
    for (BodyIndex body : AllBodies) {
        widths.W1 = std::max<int>(widths.W1, BodyName(body).size());
    }
    for (const AspectKind kind : AllAspectKinds) {
        longestVerb = std::max<int>(longestVerb, ShortVerb(kind).size());
    }
    widths.W2 = longestVerb + 10;
    widths.W3 = widths.W1;
    widths.W4 = static_cast<int>(QStringLiteral("September 30, 9999,").size());
    widths.W5 = static_cast<int>(QStringLiteral("September 30, 9999 ").size());
    widths.W6 = 2 * widths.W1 + longestVerb + 4;
    return widths;
}

DurationsHeading MakeDurationsHeading(const ProgramState& state, const ProgramTexts& texts) {
    DurationsHeading heading;
    const ChartMode mode = state.recordedMode;
    const auto withOrbs = [&](const QString& title, bool personal) {
        return AddOrbToTitle(title, personal, true, mode, state.orbSummary, texts);
    };
    if (ModeHasDurations(mode)) {
        const bool personal = mode != WorldTransits;
        const QString kindText =
            texts.ProgramText(personal ? text::PersonalTransitsWords : text::WorldTransitsWords);
        heading.caption = texts.ProgramText(text::DurationsOf) + Space + kindText;
        QString title = UpperFirst(kindText);
        if (personal) {
            const int birth = BirthdateOf(mode);
            heading.caption +=
                Space + texts.ProgramText(text::Of) + Space +
                texts.ProgramText(text::FirstDateSetName + (birth == FirstBirthdate ? 1 : 2));
            title += Space + texts.ProgramText(text::ToTheBirthdate) + Space +
                     DateText(state, birth, true);
        }
        title += Space + texts.ProgramText(text::On) + Space +
                 DateText(state, WorldDate, personal) + QStringLiteral(".  ");
        heading.title = withOrbs(title, personal) + QStringLiteral("   ");
    } else if (mode == NatalFirst || mode == NatalSecond) {
        const int birth = BirthdateOf(mode);
        heading.caption =
            texts.ProgramText(text::NatalAspectsOfThe) + Space +
            texts.ProgramText(text::FirstDateSetName + (birth == FirstBirthdate ? 1 : 2));
        const QString title = texts.ProgramText(text::NatalAspectsFor) + Space +
                              DateText(state, birth, false) + QStringLiteral(".  ");
        heading.title = withOrbs(title, false) + QStringLiteral("   ") +
                        texts.ProgramText(text::PositionsAreHeliocentric);
    } else if (mode == SynastryMode) {
        heading.caption = texts.ProgramText(text::SynastryReport);
        const QString title = texts.ProgramText(text::SynastryOf) + QStringLiteral(" (1) ") +
                              DateText(state, FirstBirthdate, true) + Space +
                              texts.ProgramText(text::And) + QStringLiteral(" (2) ") +
                              DateText(state, SecondBirthdate, true) + QStringLiteral(".  ");
        heading.title = withOrbs(title, true) + QStringLiteral("   ");
    }
    return heading;
}

QList<SortChoice> SortChoices(ChartMode mode, const ProgramTexts& texts) {
    if (mode == WorldTransits) {
        return {
            {QStringLiteral("exactness"), RecordKeyStartDeviation},
            {QStringLiteral("aspect"), RecordKeyStartKind},
            {QStringLiteral("planet"), RecordKeyStartBody1},
            {QStringLiteral("beginning"), RecordKeyStartBeginning},
            {QStringLiteral("ending"), RecordKeyStartEnd},
            {QStringLiteral("duration"), RecordKeyStartDuration},
        };
    }
    if (mode == PersonalFirst || mode == PersonalSecond) {
        return {
            {texts.ProgramText(text::ColumnExactness), RecordKeyStartDeviation},
            {texts.ProgramText(text::ColumnAspect), RecordKeyStartKind},
            {texts.ProgramText(text::ColumnNatal).toLower(), RecordKeyStartBody1},
            {texts.ProgramText(text::ColumnTransiting).toLower(), RecordKeyStartBody2},
            {texts.ProgramText(text::ColumnBeginning), RecordKeyStartBeginning},
            {texts.ProgramText(text::ColumnEnding), RecordKeyStartEnd},
            {texts.ProgramText(text::ColumnDuration), RecordKeyStartDuration},
        };
    }
    return {};
}

void QuickSort(bool ascending, DurationRecords& records, int first, int last, int keyStart) {
    const int size = static_cast<int>(records.size());
    first = std::max(first, 0);
    last = std::min(last, size - 1);
    if (first >= last) {
        return;
    }
    keyStart = std::max(keyStart, 1);
    SortDescending(records, first, last, keyStart);
    if (ascending) {
        std::reverse(records.begin() + first, records.begin() + last + 1);
    }
}

void SortRecords(DurationRecords& records, int keyStart) {
    QuickSort(true, records, 0, static_cast<int>(records.size()) - 1, keyStart);
}

QString DurationText(int days, const ProgramTexts& texts) {
    if (days == 1) {
        return texts.ProgramText(text::OneDay);
    }
    if (days == 365) {
        return texts.ProgramText(text::OneYear);
    }
    constexpr double YearLength = 365.2425;
    const int years = static_cast<int>(days / YearLength);
    const int rest = days - static_cast<int>(years * YearLength);
    if (years == 0) {
        return rest == 1 ? texts.ProgramText(text::OneDay)
                         : QString::number(rest) + Space + texts.ProgramText(text::Days);
    }
    QString text = years == 1 ? texts.ProgramText(text::OneYear)
                              : QString::number(years) + Space + texts.ProgramText(text::Years);
    if (rest == 1) {
        text += QStringLiteral(", ") + texts.ProgramText(text::OneDay);
    } else if (rest > 1) {
        text +=
            QStringLiteral(", ") + QString::number(rest) + Space + texts.ProgramText(text::Days);
    }
    return text;
}

QString DurationsListing(const DurationRecords& records, ChartMode mode, bool showDurations,
                         const ListingWidths& widths, const ProgramTexts& texts,
                         const MomentZone& zone) {
    const bool personal = mode == PersonalFirst || mode == PersonalSecond;
    const QString natal = texts.ProgramText(text::NatalAbbreviation);
    const QString unknown = texts.ProgramText(text::UnknownDate);
    const QString beforeYearOne = texts.ProgramText(text::BeforeYearOne);
    // The beginning column holds a date with its comma or one of the two texts in its place.
    const int beginningWidth = static_cast<int>(
        std::max({static_cast<qsizetype>(widths.W4), unknown.size(), beforeYearOne.size()}));
    // The exact moments' column, as wide as its longest text; absent when no record has one.
    const QString exactWord = texts.ProgramText(text::ExactWord);
    int exactWidth = -1;
    for (const QString& record : records) {
        DurationFields f;
        if (ReadDurationRecord(record, f) && f.exact) {
            exactWidth =
                std::max(exactWidth, static_cast<int>(ExactMomentText(*f.exact, zone).size()));
        }
    }
    QString output;
    for (const QString& record : records) {
        DurationFields f;
        if (!ReadDurationRecord(record, f)) {
            continue;
        }
        const QString aspect = ShortVerb(f.kind) + QStringLiteral(" (") +
                               DeviationText(f.deviation) + QLatin1Char(')');
        QString line;
        if (personal) {
            line = PadRight(QStringLiteral("tr.") + BodyName(f.body2), widths.W1 + 3) + Space +
                   PadRight(aspect, widths.W2) + Space +
                   PadRight(natal + BodyName(f.body1), widths.W3 + static_cast<int>(natal.size()));
        } else {
            line = PadRight(BodyName(f.body1), widths.W1) + Space + PadRight(aspect, widths.W2) +
                   Space + PadRight(BodyName(f.body2), widths.W3);
        }
        if (showDurations) {
            const QString beginning =
                !f.beginning ? unknown
                : *f.beginning < FirstDayOfCalendar(zone.calendar)
                    ? beforeYearOne
                    : JDNToLongDate(*f.beginning, false, zone.calendar) + QLatin1Char(',');
            const QString end = f.end ? JDNToLongDate(*f.end, false, zone.calendar) : unknown;
            line +=
                Space + texts.ProgramText(text::From) + Space + PadRight(beginning, beginningWidth);
            if (exactWidth >= 0) {
                line += f.exact ? Space + exactWord + Space +
                                      PadRight(ExactMomentText(*f.exact, zone), exactWidth)
                                : QString(exactWord.size() + 2 + exactWidth, QLatin1Char(' '));
            }
            line += Space + texts.ProgramText(text::Until) + Space + PadRight(end, widths.W5);
            if (f.beginning && f.end && f.duration) {
                line += QLatin1Char('(') + DurationText(*f.duration, texts) + QLatin1Char(')');
            }
        }
        output += line + CrLf;
    }
    return output;
}

QString NatalReport(const DurationRecords& records, const ProgramState& state,
                    const ListingWidths& widths, const ProgramTexts& texts) {
    const bool synastry = state.recordedMode == SynastryMode;
    const QString chartWord =
        synastry ? WithoutMnemonic(texts.ProgramText(text::SynastryOption)).toLower()
                 : texts.ProgramText(text::NatalChart);
    const QString marker1 = synastry ? QStringLiteral("(1)") : QString();
    const QString marker2 = synastry ? QStringLiteral("(2)") : QString();
    const int count = static_cast<int>(records.size());

    QString output = count == 1
                         ? texts.ProgramText(text::OneAspectInChart)
                         : texts.ProgramText(text::AspectsInChart)
                               .replace(QStringLiteral("20"), NumberInWords(count).toLower());
    output.replace(QStringLiteral("[natal chart]"), chartWord);
    output += CrLf + CrLf;

    const auto orbText = [&](double deviation) {
        return texts.ProgramText(text::OrbOf)
            .replace(QStringLiteral("[5 degrees]"), DeviationText(deviation));
    };
    int n = 0;
    for (const QString& record : records) {
        DurationFields f;
        if (!ReadDurationRecord(record, f)) {
            continue;
        }
        ++n;
        const QString p1 = LongPosition(state.chart, 0, f.body1);
        const QString p2 = LongPosition(state.chart, synastry ? 1 : 0, f.body2);
        const QString pair = BodyName(f.body1) + marker1 + QStringLiteral(" (") + p1 +
                             QStringLiteral(") ") + ShortVerb(f.kind) + Space + BodyName(f.body2) +
                             marker2 + QStringLiteral(" (") + p2 + QLatin1Char(')');
        const bool exact = IsExact(f.deviation);
        QString line;
        if (n == 1) {
            line = texts.ProgramText(text::ClosestAspect) + Space + pair + QStringLiteral(", ") +
                   (exact ? texts.ProgramText(text::ExactToTheMinute) : orbText(f.deviation));
        } else if (n == 2) {
            line = exact ? texts.ProgramText(text::AlsoExact) + Space + pair + QLatin1Char('.')
                         : texts.ProgramText(text::NextClosestAspect) + Space + pair +
                               QStringLiteral(", ") + orbText(f.deviation);
            if (count > 2) {
                line += CrLf + CrLf + texts.ProgramText(text::OtherAspects);
            }
        } else {
            line = PadRight(pair + QStringLiteral(", "), widths.W6 + (synastry ? 6 : 0)) +
                   orbText(f.deviation);
        }
        output += line + CrLf;
    }

    if (count > 2) {
        const AspectCounts& counts = state.chart.aspectCounts;
        output += CrLf +
                  texts.ProgramText(counts[Conjunction] == 1 ? text::ThereIs : text::ThereAre) +
                  Space;
        for (const AspectKind kind : AllAspectKinds) {
            const int c = counts.count[Index(kind)];
            if (kind == Quincunx) {
                output += Space + texts.ProgramText(text::And) + Space;
            }
            output += NumberInWords(c).toLower() + Space +
                      (c == 1 ? AspectName(kind).toLower() : AspectPluralLower(kind));
            if (kind <= Sextile) {
                output += QStringLiteral(", ");
            }
        }
        output += QLatin1Char('.') + CrLf;

        if (!synastry) {
            bool anyPattern = false;
            const auto add = [&](const QString& name, int found, const QString& text) {
                if (text.isEmpty()) {
                    return;
                }
                anyPattern = true;
                output += CrLf;
                if (found == 1) {
                    output +=
                        texts.ProgramText(text::ThereIsOne) + Space + name + QStringLiteral(": ");
                } else {
                    output += texts.ProgramText(text::ThereAre) + Space +
                              NumberInWords(found).toLower() + Space + name +
                              (name == QLatin1String("grand cross") ? QStringLiteral("es")
                                                                    : QStringLiteral("s")) +
                              QLatin1Char(':') + CrLf;
                }
                output += text;
            };
            // The chart holds only the largest stellium.
            for (PatternIndex pattern : PatternRange(GrandTrine, GrandSextile)) {
                add(PatternNameInReport(pattern), state.chart.patternCounts[pattern],
                    PatternLines(state.chart, pattern, PatternForm::Names, QString()));
            }
            int midpoints = 0;
            const QString text = CheckForMidpoint(state.chart, true, midpoints);
            add(PatternNameInReport(MidpointPattern), midpoints, text);
            if (!anyPattern) {
                output += CrLf + QStringLiteral("There are no aspect patterns.") + CrLf;
            }
        }
    }
    output += CrLf + texts.ProgramText(text::EndOfReport) + CrLf;
    return output;
}

namespace {

DurationsContent ContentOfRecords(const ProgramState& state, DurationRecords records,
                                  const ProgramTexts& texts) {
    DurationsContent content;
    content.mode = state.recordedMode;
    content.heading = MakeDurationsHeading(state, texts);
    content.records = std::move(records);
    content.zone = WorldMomentZone(state);
    if (ModeHasDurations(content.mode)) {
        content.sortChoices = SortChoices(content.mode, texts);
        content.sortListVisible = state.chart.aspects.size() > 1;
        content.showDurationsVisible = true;
        content.showDurations = true;
        SelectSort(content, 0, texts);
    } else {
        SortRecords(content.records, RecordKeyStartDeviation);
        content.output = NatalReport(content.records, state, MakeListingWidths(), texts);
    }
    return content;
}

// Whether two records have the same deviation: sorted by it, their order would then depend on
// the days that follow it.
bool DeviationsTie(const DurationRecords& records) {
    std::vector<QStringView> deviations;
    deviations.reserve(records.size());
    for (const QString& record : records) {
        deviations.push_back(QStringView(record).mid(
            RecordKeyStartDeviation - 1, RecordKeyStartBeginning - RecordKeyStartDeviation));
    }
    std::sort(deviations.begin(), deviations.end());
    return std::adjacent_find(deviations.begin(), deviations.end()) != deviations.end();
}

} // namespace

DurationsContent MakeDurationsContent(const ProgramState& state, const Ephemeris& ephemeris,
                                      const ProgramTexts& texts) {
    return ContentOfRecords(state, GetDurations(state, ephemeris), texts);
}

DurationsContent MakeDurationsContentWithoutDays(const ProgramState& state,
                                                 const Ephemeris& ephemeris,
                                                 const ProgramTexts& texts, int sortIndex) {
    const QList<SortChoice> choices = SortChoices(state.recordedMode, texts);
    if (sortIndex >= 0 && sortIndex < choices.size() &&
        choices[sortIndex].keyStart < RecordKeyStartBeginning) {
        DurationRecords records = GetDurations(state, ephemeris, false);
        if (!DeviationsTie(records)) {
            return ContentOfRecords(state, std::move(records), texts);
        }
    }
    return MakeDurationsContent(state, ephemeris, texts);
}

void SelectSort(DurationsContent& content, int index, const ProgramTexts& texts) {
    if (index < 0 || index >= content.sortChoices.size()) {
        return;
    }
    content.sortIndex = index;
    SortRecords(content.records, content.sortChoices[index].keyStart);
    if (index > 3) {
        content.showDurations = true;
    }
    content.output = DurationsListing(content.records, content.mode, content.showDurations,
                                      MakeListingWidths(), texts, content.zone);
}

void SetShowDurations(DurationsContent& content, bool show, const ProgramTexts& texts) {
    content.showDurations = show;
    if (ModeHasDurations(content.mode)) {
        content.output = DurationsListing(content.records, content.mode, show, MakeListingWidths(),
                                          texts, content.zone);
    }
}

QString CellDoubleClickDetail(const CellDoubleClick& decision, const ProgramTexts& texts) {
    const auto longDate = [&decision](double day) {
        return JDNToLongDate(static_cast<std::int32_t>(day), false, decision.calendar);
    };
    const QString begins = !decision.beginning ? QStringLiteral("on an unknown date")
                           : decision.beginsBeforeYearOne
                               ? texts.ProgramText(text::BeforeYearOne)
                               : QStringLiteral("on ") + longDate(*decision.beginning);
    return QStringLiteral("With an orb of ") +
           FormatDegreesMinutes(decision.orb, false, true, false, false) +
           QStringLiteral(" this ") + AspectName(decision.kind).toLower() + CrLf +
           QStringLiteral("begins ") + begins +
           (decision.exact ? QStringLiteral(",") + CrLf + QStringLiteral("is exact on ") +
                                 ExactMomentText(*decision.exact, decision.zone) + QLatin1Char(',')
                           : QString()) +
           CrLf + QStringLiteral("and ends on ") +
           (!decision.end ? QStringLiteral("an unknown date.")
                          : longDate(*decision.end) + QLatin1Char('.'));
}

QString CellDoubleClickQuestion(const CellDoubleClick& decision, const ProgramTexts& texts) {
    return CellDoubleClickDetail(decision, texts) + CrLf + CrLf +
           texts.ProgramText(text::ShowDurationsQuestion) + Space +
           texts.ProgramText(decision.personal ? text::PersonalTransitsWords
                                               : text::WorldTransitsWords) +
           QLatin1Char('?');
}

QString CopyText(const DurationsContent& content) {
    return content.heading.title + CrLf + CrLf + content.output;
}

} // namespace orbivex
