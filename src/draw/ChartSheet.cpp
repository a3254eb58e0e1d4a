#include "draw/ChartSheet.h"

#include "draw/Fonts.h"
#include "draw/PictureText.h"
#include "draw/WheelSvg.h"
#include "present/Symbols.h"
#include "support/ProgramTexts.h"
#include "support/SafeFile.h"
#include "support/TextNumbers.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

namespace orbivex {

namespace {

// The sheet is laid out in tenths of a point, whatever the device's resolution; fonts take
// whole pixel sizes, so a tenth of a point is fine enough for every text size.
constexpr double UnitsPerPoint = 10.0;
constexpr double UnitsPerInch = 72.0 * UnitsPerPoint;
// Layout units (1/1440 inch) of the grid to sheet units.
constexpr double UnitsPerLayoutUnit = UnitsPerInch / 1440.0;

constexpr double Gap = 8.0 * UnitsPerPoint;
// A text block is worth placing beside a picture only when it is at least this wide.
constexpr double NarrowestSideBlock = 140.0 * UnitsPerPoint;

QFont SheetFont(const QString& designName, double points, bool bold = false) {
    QFont font = ProgramFont(designName, 0.0, bold);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * UnitsPerPoint))));
    return font;
}

QStringList LinesOf(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// The lines broken between words where they are wider than `width`; a word wider than the
// width stays whole (and is cut short when drawn).
QStringList Wrapped(const QStringList& lines, const QFontMetricsF& metrics, double width) {
    QStringList wrapped;
    for (const QString& line : lines) {
        if (metrics.horizontalAdvance(line) <= width) {
            wrapped.append(line);
            continue;
        }
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '))) {
            const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                wrapped.append(current);
                current = word;
            } else {
                current = longer;
            }
        }
        wrapped.append(current);
    }
    return wrapped;
}

// How a text block fits its box: prose is broken between words at the largest size that fits;
// columns are set smaller until their lines fit whole, and broken only at the smallest size.
enum class Fit { Prose, Columns };

// Writes lines into a box, at the largest size from maxPoints down to minPoints at which they
// fit; at the smallest size, lines past the box's foot give way to a note of how many were
// left out.
void DrawTextBlock(QPainter& painter, QRectF box, const QStringList& text,
                   const QString& designName, double maxPoints, double minPoints, Fit fit,
                   const ProgramTexts& texts) {
    if (text.isEmpty() || box.height() <= 0 || box.width() <= 0) {
        return;
    }
    QFont font;
    QStringList lines;
    for (double points = maxPoints;; points -= 0.25) {
        points = std::max(points, minPoints);
        font = SheetFont(designName, points);
        const QFontMetricsF metrics(font);
        lines = Wrapped(text, metrics, box.width());
        const bool whole = fit == Fit::Prose || lines.size() == text.size();
        if (points <= minPoints ||
            (whole && metrics.lineSpacing() * lines.size() <= box.height())) {
            break;
        }
    }
    const QFontMetricsF metrics(font);
    const auto room = static_cast<qsizetype>(std::floor(box.height() / metrics.lineSpacing()));
    if (lines.size() > room) {
        const qsizetype kept = std::max<qsizetype>(room - 1, 0);
        const qsizetype left = lines.size() - kept;
        lines = lines.mid(0, kept);
        if (room > 0) {
            lines.append(texts.ProgramTextWith(text::LinesNotShown, QString::number(left)));
        }
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    double y = box.top();
    for (const QString& line : lines) {
        painter.drawText(QPointF(box.left(), y + metrics.ascent()),
                         metrics.elidedText(line, Qt::ElideRight, box.width()));
        y += metrics.lineSpacing();
    }
}

// The grid's cells as the window shows them, scaled into the box (keeping their proportions);
// returns the width taken.
double DrawGrid(QPainter& painter, QRectF box, const AspectGrid& grid) {
    if (grid.cellCount <= 0) {
        return 0;
    }
    const double scale = std::min(box.width() / (grid.TableWidth() * UnitsPerLayoutUnit),
                                  box.height() / (grid.TableHeight() * UnitsPerLayoutUnit)) *
                         UnitsPerLayoutUnit;
    const double inset = 0.4 * UnitsPerPoint;
    for (int index = 0; index < grid.cellCount; ++index) {
        const GridCell& cell = grid.cells[index];
        if (!cell.visible) {
            continue;
        }
        const QRectF rect(box.left() + cell.left * scale, box.top() + cell.top * scale,
                          AspectGrid::CellWidth * scale, AspectGrid::CellHeight * scale);
        painter.fillRect(rect.adjusted(inset, inset, -inset, -inset), QColorOf(cell.backColour));
        const bool symbol = cell.font == CellFont::Symbol;
        // Texts keep their size to the cells as the window shows them.
        painter.setFont(SheetFont(QLatin1String(symbol ? "Starfont Sans" : "Arial"),
                                  CellFontPointSize(cell.font) * scale / UnitsPerLayoutUnit,
                                  cell.bold));
        painter.setPen(QColorOf(cell.foreColour));
        QString text = symbol ? SymbolText(cell.text) : cell.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        // A caption too long for its cell (the corner cells of two charts) breaks between
        // words, as in the window, rather than losing its beginning.
        painter.drawText(rect.adjusted(2 * inset, 0, -2 * inset, 0),
                         (cell.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter) |
                             Qt::TextWordWrap,
                         text);
    }
    return grid.TableWidth() * scale;
}

// The wheel as vectors in the box, keeping its proportions; returns the width taken. A wheel
// that cannot be drawn leaves its reason in the box.
double DrawWheel(QPainter& painter, QRectF box, const WheelInput& wheel, WheelStatus& status,
                 const ProgramTexts& texts) {
    const WheelSvg svg = DrawWheelSvg(wheel, texts);
    status = svg.status;
    if (svg.svg.isEmpty()) {
        painter.setFont(SheetFont(QStringLiteral("Arial"), 9));
        painter.setPen(Qt::black);
        QString message = svg.message;
        message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message);
        return box.width() / 2;
    }
    QSvgRenderer renderer(svg.svg);
    const QSizeF size = renderer.defaultSize();
    const double scale = std::min(box.width() / size.width(), box.height() / size.height());
    renderer.render(&painter, QRectF(box.topLeft(), size * scale));
    return size.width() * scale;
}

} // namespace

WheelStatus DrawChartSheet(QPainter& painter, const SheetInput& input, const ProgramTexts& texts) {
    const QPaintDevice* device = painter.device();
    const double dpiX = device->logicalDpiX();
    const double dpiY = device->logicalDpiY();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(dpiX / UnitsPerInch, dpiY / UnitsPerInch);
    const QRectF page(0, 0, device->width() * UnitsPerInch / dpiX,
                      device->height() * UnitsPerInch / dpiY);
    double y = page.top();

    // The title and the dates.
    const QFont titleFont = SheetFont(QStringLiteral("Arial"), 14, true);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    const QFontMetricsF titleMetrics(titleFont);
    painter.drawText(QPointF(page.left(), y + titleMetrics.ascent()),
                     titleMetrics.elidedText(input.title, Qt::ElideRight, page.width()));
    y += titleMetrics.lineSpacing() + 2 * UnitsPerPoint;
    const QFont dateFont = SheetFont(QStringLiteral("Arial"), 10);
    const QFontMetricsF dateMetrics(dateFont);
    painter.setFont(dateFont);
    QStringList headLines = input.dateLines;
    if (!input.setKey.isEmpty()) {
        headLines.append(input.setKey);
    }
    for (const QString& line : headLines) {
        painter.drawText(QPointF(page.left(), y + dateMetrics.ascent()),
                         dateMetrics.elidedText(line, Qt::ElideRight, page.width()));
        y += dateMetrics.lineSpacing();
    }
    y += Gap;

    // The wheel, with the grid's report beside it when there is room; else beside the grid,
    // else above the Report command's text.
    const QStringList report = LinesOf(input.report);
    bool reportPlaced = report.isEmpty();
    const double wheelHeight = page.height() * 0.36;
    WheelStatus status = WheelStatus::Drawn;
    const double wheelWidth = DrawWheel(painter, QRectF(page.left(), y, page.width(), wheelHeight),
                                        input.wheel, status, texts);
    const double besideWheel = page.width() - wheelWidth - Gap;
    if (!reportPlaced && besideWheel >= NarrowestSideBlock) {
        DrawTextBlock(painter, QRectF(page.left() + wheelWidth + Gap, y, besideWheel, wheelHeight),
                      report, QStringLiteral("Arial"), 9, 5, Fit::Prose, texts);
        reportPlaced = true;
    }
    y += wheelHeight + Gap;

    const double gridHeight = page.height() * 0.25;
    const double gridWidth =
        DrawGrid(painter, QRectF(page.left(), y, page.width(), gridHeight), input.grid);
    const double besideGrid = page.width() - gridWidth - Gap;
    if (!reportPlaced && besideGrid >= NarrowestSideBlock) {
        DrawTextBlock(painter, QRectF(page.left() + gridWidth + Gap, y, besideGrid, gridHeight),
                      report, QStringLiteral("Arial"), 9, 5, Fit::Prose, texts);
        reportPlaced = true;
    }
    y += (input.grid.cellCount > 0 ? gridHeight : 0.0) + Gap;

    // The Report command's text below.
    QStringList listing;
    if (!reportPlaced) {
        listing = report;
        listing.append(QString());
    }
    if (!input.listingTitle.isEmpty()) {
        listing.append(input.listingTitle);
        listing.append(QString());
    }
    listing.append(LinesOf(input.listing));
    DrawTextBlock(painter, QRectF(page.left(), y, page.width(), page.bottom() - y), listing,
                  QStringLiteral("Courier New"), 8, 4.5, Fit::Columns, texts);
    painter.restore();
    return status;
}

Status WriteChartSheetPdf(const SheetInput& input, const ProgramTexts& texts, const QString& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setTitle(input.title);
        writer.setCreator(QStringLiteral("Orbivex"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return Fail(QStringLiteral("The PDF document could not be started."));
        }
        DrawChartSheet(painter, input, texts);
        painter.end();
    }
    return WriteFileWhole(path, buffer.data());
}

} // namespace orbivex
