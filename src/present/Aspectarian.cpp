#include "present/Aspectarian.h"

#include "calendar/Calendar.h"
#include "calendar/CalendarYears.h"
#include "core/Orbs.h"
#include "support/SafeFile.h"
#include "support/StrProc.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace orbivex {
using enum AspectKind;

AspectarianRequest AspectarianRequestOf(const ConfigurationSettings& settings, double from,
                                        double to) {
    AspectarianRequest request;
    request.from = from;
    request.to = to;
    for (BodyIndex body : AllBodies) {
        request.bodies[body] = true;
    }
    OrbTable orbs;
    OrbSummary summary;
    SetOrbs(settings, orbs, summary);
    for (const AspectKind kind : AllAspectKinds) {
        request.kinds[Index(kind)] =
            settings.colours[Index(kind)] != 0 && orbs(kind, OrbColumn::OneChart) > 0.0;
    }
    return request;
}

namespace {

// Reads a comma-separated list of names (any case) of the entries 1..count into `chosen`, or
// gives the message naming the first unknown name (chosen unchanged).
template <std::size_t N, class NameOf>
Status ReadNames(const QString& list, int count, NameOf nameOf, const char* what,
                 std::array<bool, N>& chosen) {
    std::array<bool, N> read{};
    for (const QString& item : list.split(QLatin1Char(','))) {
        const QString name = item.trimmed();
        int found = 0;
        for (int entry = 1; entry <= count; ++entry) {
            if (name.compare(nameOf(entry), Qt::CaseInsensitive) == 0) {
                found = entry;
            }
        }
        if (found == 0) {
            return Fail(QStringLiteral("unknown %1 '%2'").arg(QLatin1String(what), name));
        }
        read[static_cast<std::size_t>(found)] = true;
    }
    chosen = read;
    return {};
}

} // namespace

Status ReadAspectarianBodies(const QString& list, AspectarianRequest& request) {
    return ReadNames(
        list, MaxBodies,
        [](int number) {
            const std::optional<BodyIndex> body = BodyOfNumber(number);
            return body ? BodyName(*body) : QString();
        },
        "body", request.bodies);
}

Status ReadAspectarianKinds(const QString& list, AspectarianRequest& request) {
    std::array<bool, NumAspectKinds + 1> kinds{};
    Status read = ReadNames(
        list, NumAspectKinds,
        [](int number) { return AspectarianKindName(AspectKindOfNumber(number)); }, "aspect",
        kinds);
    if (!read) {
        return read;
    }
    // A kind switched off stays off.
    for (std::size_t kind = 1; kind < kinds.size(); ++kind) {
        request.kinds[kind] = request.kinds[kind] && kinds[kind];
    }
    return {};
}

QString AspectarianKindName(AspectKind kind) {
    return AspectName(kind).toLower();
}

QString AspectarianTimeText(double jd, const MomentZone& zone) {
    const std::optional<LocalMoment> moment = LocalMomentOf(jd, zone);
    if (!moment) {
        return {};
    }
    return QStringLiteral("%1-%2-%3 %4:%5 %6")
        .arg(moment->date.year, 4, 10, QLatin1Char('0'))
        .arg(moment->date.month, 2, 10, QLatin1Char('0'))
        .arg(moment->date.day, 2, 10, QLatin1Char('0'))
        .arg(moment->minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(moment->minuteOfDay % 60, 2, 10, QLatin1Char('0'))
        .arg(zone.name);
}

QString AspectarianLine(const ExactAspect& event, const MomentZone& zone) {
    std::string line;
    AspectarianLineWriter(zone).Append(line, event);
    return QString::fromStdString(line);
}

AspectarianLineWriter::AspectarianLineWriter(const MomentZone& zone)
    : zone_(zone), zoneName_(zone.name.toStdString()) {
    // Columns as wide as the longest body name (7) and aspect name (11).
    for (BodyIndex body : AllBodies) {
        firstColumn_[body] = (PadRight(BodyName(body), 7) + QLatin1Char(' ')).toStdString();
        secondColumn_[body] = BodyName(body).toStdString();
    }
    for (const AspectKind kind : AllAspectKinds) {
        kindColumn_[Index(kind)] =
            (PadRight(AspectarianKindName(kind), 11) + QLatin1Char(' ')).toStdString();
    }
}

namespace {

// A number of `width` digits with leading zeros (more when it needs them).
void AppendDigits(std::string& out, int value, int width) {
    char digits[16];
    int count = 0;
    unsigned magnitude =
        value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        out += '-';
        --width;
    }
    for (int pad = count; pad < width; ++pad) {
        out += '0';
    }
    while (count > 0) {
        out += digits[--count];
    }
}

} // namespace

void AspectarianLineWriter::Append(std::string& out, const ExactAspect& event) const {
    if (const std::optional<LocalMoment> moment = LocalMomentOf(event.julianDay, zone_)) {
        AppendDigits(out, moment->date.year, 4);
        out += '-';
        AppendDigits(out, moment->date.month, 2);
        out += '-';
        AppendDigits(out, moment->date.day, 2);
        out += ' ';
        AppendDigits(out, moment->minuteOfDay / 60, 2);
        out += ':';
        AppendDigits(out, moment->minuteOfDay % 60, 2);
        out += ' ';
        out += zoneName_;
    }
    out += "  ";
    out += firstColumn_[event.first];
    out += kindColumn_[Index(event.kind)];
    out += secondColumn_[event.second];
}

void AspectarianLineWriter::AppendLine(std::string& out, const ExactAspect& event) const {
    Append(out, event);
    out += '\n';
}

QString AspectarianCsvHeader() {
    return QStringLiteral("time,julianDay,first,second,aspect,angle");
}

QString AspectarianCsvRow(const ExactAspect& event, const MomentZone& zone) {
    return QStringList{
        AspectarianTimeText(event.julianDay, zone),
        QString::number(AspectarianJulianDay(event.julianDay), 'f', 6),
        BodyName(event.first),
        BodyName(event.second),
        AspectarianKindName(event.kind),
        QString::number(AspectKinds[static_cast<std::size_t>(event.kind)].angleDegrees)}
        .join(QLatin1Char(','));
}

double AspectarianJulianDay(double jd) {
    return std::round(jd * 1e6) / 1e6;
}

std::pair<std::int32_t, std::int32_t> AspectarianYearDays(int year, CalendarChoice calendar) {
    const auto dayNumber = [&](int month, int day) {
        EuroDateRecord record;
        record.year = year;
        record.month = month;
        record.day = day;
        record.calendar = CalendarLetterOfDate(calendar, year, month, day);
        return EuroDateToJDN(record);
    };
    const std::int32_t first = FirstDayOfCalendar(calendar);
    const std::int32_t last = EndDayOfCalendar(calendar) - 1;
    return {std::clamp(dayNumber(1, 1), first, last), std::clamp(dayNumber(12, 31), first, last)};
}

bool AspectarianEventShown(const ExactAspect& event, std::optional<BodyIndex> body,
                           AspectKind kind) {
    return (!body || event.first == *body || event.second == *body) &&
           (kind == NoAspect || event.kind == kind);
}

Status WriteAspectarianCsv(const QString& path, std::span<const ExactAspect> events,
                           const MomentZone& zone) {
    QByteArray bytes = AspectarianCsvHeader().toUtf8() + '\n';
    for (const ExactAspect& event : events) {
        bytes += AspectarianCsvRow(event, zone).toUtf8() + '\n';
    }
    if (const Status written = WriteFileWhole(path, bytes); !written) {
        return Fail(QStringLiteral("Cannot save %1: %2.")
                        .arg(QDir::toNativeSeparators(path), written.error()));
    }
    return {};
}

} // namespace orbivex
