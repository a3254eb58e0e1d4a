// The SVG wheel and the PDF chart sheet: what a reader of the files finds in them, and that
// they are written whole or not at all.
#include "draw/ChartSheet.h"
#include "draw/WheelSvg.h"
#include "present/PictureInput.h"

#include "common/ChartFixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLineF>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

namespace orbivex {

using enum ChartMode;
namespace {

using test::ChartFixture;

struct SvgGroups {
    QSet<QString> bodies;                                    // ids
    QSet<QString> aspects;                                   // ids
    std::map<QString, std::pair<QPointF, QPointF>> lineEnds; // of each aspect group's line
    int duplicates = 0;
    int groupsNotOfOneElement = 0;
    QString error;
};

// The body and aspect groups of an SVG document, and whether each holds one drawn element.
SvgGroups GroupsOf(const QByteArray& svg) {
    SvgGroups groups;
    QXmlStreamReader reader(svg);
    int depth = 0;
    int groupDepth = -1;
    int children = 0;
    QString lastId;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            const QXmlStreamAttributes attributes = reader.attributes();
            const auto number = [&](const char* name) {
                return attributes.value(QLatin1String(name)).toDouble();
            };
            if (groupDepth >= 0 && depth == groupDepth + 1) {
                ++children;
                if (reader.name() == QLatin1String("line")) {
                    groups.lineEnds[lastId] = {QPointF(number("x1"), number("y1")),
                                               QPointF(number("x2"), number("y2"))};
                }
            }
            const QString cls = attributes.value(QLatin1String("class")).toString();
            const QString id = attributes.value(QLatin1String("id")).toString();
            QSet<QString>* set = cls.startsWith(QLatin1String("body"))     ? &groups.bodies
                                 : cls.startsWith(QLatin1String("aspect")) ? &groups.aspects
                                                                           : nullptr;
            if (reader.name() == QLatin1String("g") && set != nullptr) {
                groups.duplicates += set->contains(id) ? 1 : 0;
                set->insert(id);
                lastId = id;
                groupDepth = depth;
                children = 0;
            }
        } else if (reader.isEndElement()) {
            if (depth == groupDepth) {
                groups.groupsNotOfOneElement += children == 1 ? 0 : 1;
                groupDepth = -1;
            }
            --depth;
        }
    }
    if (reader.hasError()) {
        groups.error = reader.errorString();
    }
    return groups;
}

int PlacedSymbols(const WheelDrawing& drawing) {
    int placed = 0;
    for (const auto& set : drawing.glyphOrigins) {
        for (const auto& origin : set) {
            placed += origin ? 1 : 0;
        }
    }
    return placed;
}

struct VectorExportTest : ChartFixture {};

TEST_F(VectorExportTest, SvgHoldsAGroupPerBodyAndPerAspectLine) {
    for (const auto& [mode, style] :
         std::vector<std::pair<ChartMode, WheelStyle>>{{WorldTransits, WheelStyle::Classic},
                                                       {NatalFirst, WheelStyle::Classic},
                                                       {PersonalFirst, WheelStyle::Classic},
                                                       {SynastryMode, WheelStyle::Classic},
                                                       {WorldTransits, WheelStyle::Modern},
                                                       {SynastryMode, WheelStyle::Modern}}) {
        Run(mode);
        state.settings.wheelStyle = style;
        const WheelDrawing raster = DrawChartWheel(WheelInputOf(state), texts);
        for (const bool composed : {true, false}) {
            const WheelSvg svg = composed ? ComposeExportSvg(ExportInputOf(state, texts), texts)
                                          : DrawWheelSvg(WheelInputOf(state), texts);
            const SvgGroups groups = GroupsOf(svg.svg);
            SCOPED_TRACE(testing::Message() << "mode " << mode << " style " << int(style)
                                            << (composed ? " composed" : ""));
            EXPECT_EQ(groups.error, QString());
            EXPECT_EQ(groups.bodies.size(), PlacedSymbols(raster));
            EXPECT_EQ(groups.bodies.size(), IsTwoChartMode(mode) ? 18 : 9);
            EXPECT_EQ(groups.aspects.size(), static_cast<qsizetype>(raster.lines.size()));
            EXPECT_GT(groups.aspects.size(), 0);
            EXPECT_EQ(groups.duplicates, 0);
            EXPECT_EQ(groups.groupsNotOfOneElement, 0);
            // The wheel alone draws its lines where the image has them (to the six digits
            // written).
            for (const WheelLine& line : composed ? std::vector<WheelLine>() : raster.lines) {
                const QString id = QStringLiteral("aspect-%1-%2")
                                       .arg(BodyName(line.aspect.body1).toLower(),
                                            BodyName(line.aspect.body2).toLower());
                ASSERT_TRUE(groups.lineEnds.count(id)) << id.toStdString();
                const auto& [from, to] = groups.lineEnds.at(id);
                EXPECT_LT(QLineF(from, line.from).length() + QLineF(to, line.to).length(), 0.01)
                    << id.toStdString();
            }
        }
    }
}

// The modern wheel's SVG is laid out as its PNG: as large, with the dates and notes of the
// lower half below the wheel, not over its ring.
TEST_F(VectorExportTest, ModernSvgIsLaidOutAsItsPng) {
    for (const ChartMode mode : {WorldTransits, SynastryMode}) {
        Run(mode);
        state.settings.wheelStyle = WheelStyle::Modern;
        const ExportInput input = ExportInputOf(state, texts);
        const QSize wheel = WheelPictureSize(input.wheel);
        const QSize png = ComposeExportImage(input, texts).deviceIndependentSize().toSize();
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        QXmlStreamReader reader(ComposeExportSvg(input, texts).svg);
        QString viewBox;
        std::map<QString, double> baselines; // of each text
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            if (reader.name() == QLatin1String("svg")) {
                viewBox = attributes.value(QLatin1String("viewBox")).toString();
            } else if (reader.name() == QLatin1String("text")) {
                const double y = attributes.value(QLatin1String("y")).toDouble();
                baselines[reader.readElementText()] = y;
            }
        }
        EXPECT_EQ(viewBox, QStringLiteral("0 0 %1 %2").arg(png.width()).arg(png.height()));
        int below = 0;
        for (const ExportText& text : ExportTexts(input, texts, wheel)) {
            if (text.box.center().y() > wheel.height() / 2.0) {
                ASSERT_TRUE(baselines.count(text.text)) << text.text.toStdString();
                EXPECT_GT(baselines[text.text], wheel.height()) << text.text.toStdString();
                ++below;
            }
        }
        EXPECT_GT(below, 0);
    }
}

TEST_F(VectorExportTest, SvgOfRefusedFiltersIsNotWritten) {
    Run(WorldTransits);
    state.settings.showOnlyOuter = true;
    state.settings.showOnlyEarth = true;
    const WheelSvg svg = ComposeExportSvg(ExportInputOf(state, texts), texts);
    EXPECT_EQ(svg.status, WheelStatus::FiltersRefused);
    EXPECT_TRUE(svg.svg.isEmpty());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.svg"));
    EXPECT_EQ(SaveSvgFile(svg.svg, path, texts).result, ImageSaveResult::Failed);
    EXPECT_FALSE(QFile::exists(path));
}

// Every file writer of the sheet and the SVG: a new file is written, an old one replaced whole,
// and nothing but a regular file is ever replaced.
TEST_F(VectorExportTest, FilesAreWrittenWholeAndOnlyOverRegularFiles) {
    Run(SynastryMode);
    const QByteArray svg = ComposeExportSvg(ExportInputOf(state, texts), texts).svg;
    const SheetInput sheet = SheetInputOf(state, ephemeris, texts);
    QTemporaryDir folder;
    const auto writeSvg = [&](const QString& path) {
        return SaveSvgFile(svg, path, texts).result == ImageSaveResult::Saved;
    };
    const auto writePdf = [&](const QString& path) {
        return WriteChartSheetPdf(sheet, texts, path).has_value();
    };
    for (const auto& [extension, write] :
         std::vector<std::pair<QString, std::function<bool(const QString&)>>>{
             {QStringLiteral(".svg"), writeSvg}, {QStringLiteral(".pdf"), writePdf}}) {
        const QString path = folder.filePath(QStringLiteral("chart") + extension);
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        EXPECT_TRUE(write(path));
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_GT(written.size(), 1000);
    }
}

// The bytes of a PDF string as QPdfWriter writes a document title: UTF-16BE after a byte order
// mark, with the string's delimiters escaped.
QByteArray PdfTextString(const QString& text) {
    QByteArray bytes("\xfe\xff");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xff);
        for (const char byte : {high, low}) {
            if (byte == '(' || byte == ')' || byte == '\\') {
                bytes += '\\';
            }
            bytes += byte;
        }
    }
    return bytes;
}

TEST_F(VectorExportTest, SheetIsOneA4PageTitledWithTheChart) {
    QTemporaryDir folder;
    for (const ChartMode mode : {WorldTransits, NatalSecond, PersonalSecond, SynastryMode}) {
        Run(mode);
        const SheetInput sheet = SheetInputOf(state, ephemeris, texts);
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        EXPECT_FALSE(sheet.title.isEmpty());
        EXPECT_EQ(sheet.dateLines.size(), mode == SynastryMode || mode == PersonalSecond ? 2 : 1);
        EXPECT_FALSE(sheet.listing.isEmpty());
        const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
        ASSERT_EQ(MessageOf(WriteChartSheetPdf(sheet, texts, path)), QString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 1);
        EXPECT_TRUE(pdf.contains("/Count 1"));
        // A4: 595 x 842 points.
        EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595.000000 842.000000]"));
        EXPECT_TRUE(pdf.contains(PdfTextString(sheet.title)));
    }
}

// A report longer than the page: the lines that fit, then a note that counts the rest, so that
// nothing is left out without a word.
TEST_F(VectorExportTest, SheetCountsTheLinesItCannotHold) {
    Run(WorldTransits);
    SheetInput sheet = SheetInputOf(state, ephemeris, texts);
    sheet.listingTitle.clear();
    sheet.listing.clear();
    constexpr int Lines = 600;
    for (int k = 1; k <= Lines; ++k) {
        sheet.listing += QStringLiteral("listing line %1\r\n").arg(k, 3, 10, QLatin1Char('0'));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator page;
    page.setOutputDevice(&buffer);
    page.setSize(QSize(595, 842));
    page.setResolution(72);
    QPainter painter(&page);
    DrawChartSheet(painter, sheet, texts);
    painter.end();

    QXmlStreamReader reader(buffer.data());
    int shown = 0;
    int left = -1;
    const QRegularExpression note(QStringLiteral("^(\\d+) more lines are not shown\\.$"));
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String("text")) {
            const QString text = reader.readElementText();
            shown += text.startsWith(QLatin1String("listing line ")) ? 1 : 0;
            if (const QRegularExpressionMatch match = note.match(text); match.hasMatch()) {
                left = match.captured(1).toInt();
            }
        }
    }
    EXPECT_GT(shown, 20);
    EXPECT_EQ(shown + left, Lines);
}

} // namespace
} // namespace orbivex
