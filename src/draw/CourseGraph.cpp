#include "draw/CourseGraph.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"
#include "core/AngleFormat.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "draw/Fonts.h"
#include "draw/LayoutUnits.h"
#include "support/ProgramTexts.h"
#include "support/Rounding.h"
#include "support/TextNumbers.h"

#include <QPainter>
#include <cmath>

namespace orbivex {
using enum AspectKind;
using enum ChartMode;

namespace {

constexpr int RowPitch = 14;       // pixels from one date line to the next
constexpr int ScaleSteps = 7;      // scale marks on each side of the centre
constexpr int ScaleStepWidth = 40; // pixels: orb / 7.5
constexpr int ScaleTextTop = 2;    // 30 layout units
constexpr int TitleGap = 7;        // pixels between the last row and the title
constexpr int PlotRight = CourseGraphCentre + CourseGraphHalfWidth;
// The plot area that answers a right click, in layout units.
constexpr int ClickTop = 315;
constexpr int ClickBottom = 6195;
constexpr int ClickLeft = 1800;
constexpr int ClickRight = 18875;

const QColor White(255, 255, 255);
const QColor DarkGrey(64, 64, 64);

QString EuroDateText(double localDay, CalendarChoice calendar) {
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(std::floor(localDay));
    record.calendar = CalendarLetterOfJdn(calendar, record.jdn);
    JDNToEuroDate(record);
    return FormatEuroDate(record);
}

double Fraction(double value) {
    return value - std::floor(value);
}

QColor ColourOf(int colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

} // namespace

CourseGraphInputs CourseGraphInputsOf(const ProgramState& state,
                                      const CourseGraphRequest& request) {
    CourseGraphInputs inputs;
    inputs.request = request;
    const int birth = state.recordedMode == PersonalSecond ? SecondBirthdate : FirstBirthdate;
    // The dates of the chart on display, whatever the date controls hold now.
    DateSet natal = state.computedDateSets[birth];
    if (const Expected<double, DateError> local = InputDateToLocalJD(natal)) {
        inputs.natalLocal = LocalJulianDay{*local};
    }
    if (const Expected<double, DateError> moment = InputDateToAJDate(natal, state.computedZones)) {
        inputs.natal = Instant{*moment};
    }
    DateSet world = state.computedDateSets[WorldDate];
    if (const Expected<double, DateError> local = InputDateToLocalJD(world)) {
        inputs.worldLocal = LocalJulianDay{*local};
    }
    if (const Expected<double, DateError> moment = InputDateToAJDate(world, state.computedZones)) {
        inputs.world = Instant{*moment};
    }
    inputs.calendar = world.calendar;
    if (IsAspectKind(request.kind)) {
        inputs.orb = state.orbs(request.kind, OrbColumn::PersonalTransits);
        inputs.colour = state.settings.colours[Index(request.kind)];
    }
    return inputs;
}

double ExactAspectPoint(double natal, double transiting, AspectKind kind) {
    double exact = natal;
    if (kind == Opposition) {
        exact = natal + Pi;
    } else if (kind != Conjunction && IsAspectKind(kind)) {
        const double angle = AspectAngles[kind];
        const double ahead = AngularSeparation(NormalizeAngle(natal + angle), transiting);
        const double behind = AngularSeparation(NormalizeAngle(natal - angle), transiting);
        exact = ahead >= behind ? natal - angle : natal + angle;
    }
    return NormalizeAngle(exact);
}

int CurrentDateRow(int beginning, double rowStep, LocalJulianDay world) {
    for (int row = 0; row < CourseGraphRowLines; ++row) {
        if (beginning + row * rowStep > world.value - rowStep / 2.0) {
            return row;
        }
    }
    return -1;
}

CourseGraph DrawCourseGraph(const Ephemeris& ephemeris, const CourseGraphInputs& inputs) {
    CourseGraph graph;
    const CourseGraphRequest& request = inputs.request;
    const int span = request.end + 1 - request.beginning;
    if (!IsAspectKind(request.kind) || !IsBody(request.natalBody) ||
        !IsBody(request.transitingBody) || request.beginning < 0 || span < 1 ||
        !(inputs.orb > 0.0)) {
        return graph;
    }
    graph.beginning = request.beginning;
    graph.sampleStep = span / double(CourseGraphSamples - 1);
    graph.orb = inputs.orb;
    graph.calendar = inputs.calendar;

    graph.title = request.title;
    const qsizetype x = graph.title.indexOf(QLatin1Char('X'));
    if (x >= 0) {
        graph.title.replace(x, 1,
                            QStringLiteral(" (") +
                                EuroDateText(inputs.natalLocal.value_or(LocalJulianDay{-1.0}).value,
                                             inputs.calendar) +
                                QLatin1Char(')'));
    }

    if (!inputs.natal || !inputs.world) {
        return graph; // no point of exactness to draw around
    }
    const Position natal = ephemeris.PositionOfBody(request.natalBody, inputs.natal->julianDay);
    const Position transiting =
        ephemeris.PositionOfBody(request.transitingBody, inputs.world->julianDay);
    if (!natal.Known() || !transiting.Known()) {
        return graph; // no point of exactness to draw around
    }
    graph.exactPoint = ExactAspectPoint(natal.Longitude(), transiting.Longitude(), request.kind);

    QImage image(CourseGraphWidth, CourseGraphHeight, QImage::Format_RGB32);
    // 96 dots per inch, so that point sizes come out as on the screen.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(ProgramFont(QStringLiteral("Courier New"), 8));
    painter.setPen(QPen(White, 1));

    // The date column: an empty line, then one line per row.
    const double rowStep = span / double(CourseGraphRowLines - 1);
    graph.currentRow =
        inputs.worldLocal ? CurrentDateRow(request.beginning, rowStep, *inputs.worldLocal) : -1;
    for (int row = 0; row < CourseGraphRowLines; ++row) {
        const double t = request.beginning + row * rowStep;
        const QString line =
            EuroDateText(t, inputs.calendar) + QLatin1Char(' ') + TimeOfDayText(Fraction(t));
        painter.drawText(QRect(0, RowPitch * (row + 1), CourseGraphLeftMargin, RowPitch),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
    }
    for (int row = 0; row < CourseGraphRowLines; ++row) {
        const int y = RowPitch * row + CourseGraphFirstRow;
        painter.setPen(QPen(row == graph.currentRow ? White : DarkGrey, 1));
        painter.drawLine(CourseGraphLeftMargin, y, PlotRight, y);
    }

    // The scale: grey lines every orb / 7.5 with their distances above them.
    const auto scaleText = [&](int left, const QString& text) {
        painter.setPen(QPen(White, 1));
        painter.drawText(QRect(left, ScaleTextTop, 4 * ScaleStepWidth, RowPitch),
                         Qt::AlignLeft | Qt::AlignTop, text);
    };
    for (int j = 1; j <= ScaleSteps; ++j) {
        const QString text = FormatDegreesMinutes(j * inputs.orb / 7.5);
        for (const int sign : {1, -1}) {
            const int lineX = CourseGraphCentre + sign * ScaleStepWidth * j;
            painter.setPen(QPen(DarkGrey, 1));
            painter.drawLine(lineX, CourseGraphFirstRow, lineX, CourseGraphLastRow);
            scaleText(lineX - 10, text);
        }
    }
    painter.setPen(QPen(White, 1));
    painter.drawLine(CourseGraphCentre, CourseGraphFirstRow, CourseGraphCentre, CourseGraphLastRow);
    scaleText(CourseGraphCentre - 10, FormatDegreesMinutes(0.0));

    // The curve: the transiting body's distance from E, sampled once per pixel row from the
    // local midnight that begins the first day.
    painter.setPen(QPen(ColourOf(inputs.colour), 2, Qt::SolidLine, Qt::SquareCap));
    double t = request.beginning - request.timeZone / 1440.0 - 0.5;
    for (int y = CourseGraphFirstRow; y <= CourseGraphLastRow; ++y) {
        const Position position = ephemeris.PositionOfBody(request.transitingBody, t);
        if (position.Known()) {
            const double s = SignedSeparation(position.Longitude(), graph.exactPoint);
            if (std::fabs(s) <= inputs.orb) {
                const double curveX = CourseGraphCentre + CourseGraphHalfWidth * s / inputs.orb;
                painter.drawPoint(QPointF(curveX, y));
            }
        }
        t += graph.sampleStep;
    }

    painter.setPen(QPen(White, 1));
    painter.drawText(QRect(0, CourseGraphLastRow + TitleGap, CourseGraphWidth,
                           CourseGraphHeight - CourseGraphLastRow - TitleGap),
                     Qt::AlignLeft | Qt::AlignTop, graph.title);
    painter.end();
    graph.image = image;
    return graph;
}

std::optional<CourseGraphNote> CourseGraphRightClick(const CourseGraph& graph, QPoint pixel,
                                                     const ProgramTexts& texts) {
    if (graph.image.isNull() || !graph.image.valid(pixel) ||
        (graph.image.pixel(pixel) & 0xffffff) == 0) {
        return std::nullopt;
    }
    const int x = PixelsToLayoutUnits(pixel.x());
    const int y = PixelsToLayoutUnits(pixel.y());
    if (y < ClickTop || y > ClickBottom || x <= ClickLeft || x >= ClickRight) {
        return std::nullopt;
    }
    const double row = RoundHalfEven((y - ClickTop) / double(kLayoutUnitsPerPixel));
    const double t = graph.beginning + row * graph.sampleStep;
    const double deviation =
        (x / double(kLayoutUnitsPerPixel) - CourseGraphCentre) * graph.orb / CourseGraphHalfWidth;
    QString detail = texts.ProgramText(text::TransitOnDateAt);
    detail.replace(QStringLiteral("[time]"), TimeOfDayText(Fraction(t)))
        .replace(QStringLiteral("[date]"), EuroDateText(t, graph.calendar))
        .replace(QStringLiteral("[exactness]"),
                 FormatDegreesMinutes(std::fabs(deviation), false, false, true, false));
    return CourseGraphNote{texts.ProgramText(text::TransitAtThisPoint) + QStringLiteral("\r\n") +
                               detail,
                           texts.ProgramText(text::CourseOfTheTransit)};
}

} // namespace orbivex
