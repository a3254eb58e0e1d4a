#include "draw/WheelSvg.h"

#include "core/Bodies.h"
#include "draw/Fonts.h"
#include "draw/PictureText.h"
#include "present/Symbols.h"
#include "session/SaveTarget.h"
#include "support/ProgramTexts.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>
#include <functional>

namespace orbivex {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The generator writes coordinates with six significant digits.
constexpr double PointTolerance = 0.01;

QString IdName(BodyIndex body) {
    return BodyName(body).toLower();
}

// The points of a <polyline points="x1,y1 x2,y2 ">; empty when it is not two points.
std::vector<QPointF> PolylinePoints(QStringView points) {
    std::vector<QPointF> result;
    for (const QStringView pair : points.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto xy = pair.split(QLatin1Char(','));
        bool xOk = false;
        bool yOk = false;
        if (xy.size() != 2) {
            return {};
        }
        result.emplace_back(xy[0].toDouble(&xOk), xy[1].toDouble(&yOk));
        if (!xOk || !yOk) {
            return {};
        }
    }
    return result;
}

bool Near(QPointF a, QPointF b) {
    return std::abs(a.x() - b.x()) <= PointTolerance && std::abs(a.y() - b.y()) <= PointTolerance;
}

// Copies the generator's SVG and puts each aspect line and each body symbol of the drawing in a
// group of its own. The generator groups by painter state only, so the elements are recognised
// by what they are: a two-point line with the ends of a drawn aspect line, a text that is a
// body's symbol (taken in drawing order: the first set's before the second's).
class WheelGrouper {
  public:
    WheelGrouper(const WheelDrawing& drawing, bool twoSets)
        : drawing_(drawing), twoSets_(twoSets), lineTaken_(drawing.lines.size(), false) {}

    QByteArray Group(const QByteArray& svg) {
        QByteArray result;
        QXmlStreamReader reader(svg);
        QXmlStreamWriter writer(&result);
        writer.setAutoFormatting(true);
        while (!reader.atEnd()) {
            reader.readNext();
            switch (reader.tokenType()) {
            case QXmlStreamReader::StartDocument:
                writer.writeStartDocument();
                break;
            case QXmlStreamReader::StartElement:
                if (reader.name() == QLatin1String("text")) {
                    CopyText(reader, writer);
                } else {
                    StartElement(reader, writer);
                }
                break;
            case QXmlStreamReader::EndElement:
                writer.writeEndElement();
                if (!openGroups_.empty() && openGroups_.back() == depth_) {
                    writer.writeEndElement();
                    openGroups_.pop_back();
                }
                --depth_;
                break;
            case QXmlStreamReader::Characters:
                if (!reader.isWhitespace()) {
                    writer.writeCharacters(reader.text().toString());
                }
                break;
            default:
                break;
            }
        }
        writer.writeEndDocument();
        if (reader.hasError()) {
            return svg; // not expected of the generator; the file is still the drawing
        }
        return result;
    }

  private:
    void StartElement(QXmlStreamReader& reader, QXmlStreamWriter& writer) {
        ++depth_;
        for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations()) {
            if (declaration.prefix().isEmpty()) {
                writer.writeDefaultNamespace(declaration.namespaceUri().toString());
            } else {
                writer.writeNamespace(declaration.namespaceUri().toString(),
                                      declaration.prefix().toString());
            }
        }
        if (reader.name() == QLatin1String("polyline")) {
            if (const std::optional<std::size_t> line =
                    LineOf(reader.attributes().value(QLatin1String("points")))) {
                const WheelAspect& aspect = drawing_.lines[*line].aspect;
                writer.writeStartElement(QStringLiteral("g"));
                writer.writeAttribute(
                    QStringLiteral("id"),
                    QStringLiteral("aspect-%1-%2").arg(IdName(aspect.body1), IdName(aspect.body2)));
                writer.writeAttribute(QStringLiteral("class"),
                                      QStringLiteral("aspect ") +
                                          AspectName(aspect.kind).toLower());
                openGroups_.push_back(depth_);
            }
        }
        writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            writer.writeAttribute(attribute);
        }
    }

    std::optional<std::size_t> LineOf(QStringView points) {
        const std::vector<QPointF> ends = PolylinePoints(points);
        if (ends.size() != 2) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < drawing_.lines.size(); ++k) {
            const WheelLine& line = drawing_.lines[k];
            if (!lineTaken_[k] && ((Near(ends[0], line.from) && Near(ends[1], line.to)) ||
                                   (Near(ends[0], line.to) && Near(ends[1], line.from)))) {
                lineTaken_[k] = true;
                return k;
            }
        }
        return std::nullopt;
    }

    // A <text> element, grouped when it is a placed body's symbol.
    void CopyText(QXmlStreamReader& reader, QXmlStreamWriter& writer) {
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString name = reader.name().toString();
        const QString namespaceUri = reader.namespaceUri().toString();
        const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        bool grouped = false;
        for (BodyIndex body : AllBodies) {
            if (grouped) {
                break;
            }
            if (text != BodySymbol(body)) {
                continue;
            }
            for (int set = 0; set < (twoSets_ ? 2 : 1); ++set) {
                if (!drawing_.glyphOrigins[set][body] || symbolTaken_[set][body]) {
                    continue;
                }
                symbolTaken_[set][body] = true;
                writer.writeStartElement(QStringLiteral("g"));
                writer.writeAttribute(
                    QStringLiteral("id"),
                    twoSets_ ? QStringLiteral("body-%1-%2").arg(IdName(body)).arg(set + 1)
                             : QStringLiteral("body-%1").arg(IdName(body)));
                writer.writeAttribute(QStringLiteral("class"),
                                      twoSets_ ? QStringLiteral("body set%1").arg(set + 1)
                                               : QStringLiteral("body"));
                grouped = true;
                break;
            }
        }
        writer.writeStartElement(namespaceUri, name);
        writer.writeAttributes(attributes);
        writer.writeCharacters(text);
        writer.writeEndElement();
        if (grouped) {
            writer.writeEndElement();
        }
    }

    const WheelDrawing& drawing_;
    const bool twoSets_;
    std::vector<bool> lineTaken_;
    std::array<ByBody<bool>, 2> symbolTaken_{};
    int depth_ = 0;
    std::vector<int> openGroups_; // depths of the elements wrapped in a group
};

} // namespace

namespace {

// An SVG document of `size` pixels painted by `paint`, with the body symbols and the aspect
// lines of the wheel drawing it returns grouped.
WheelSvg RenderSvg(QSize size, const QString& title, bool twoSets,
                   const std::function<WheelDrawing(QPainter&)>& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(), size));
    // The wheel's texts are sized in points for an image of 96 dots per inch.
    generator.setResolution(96);
    generator.setTitle(title);

    QPainter painter(&generator);
    const WheelDrawing drawing = paint(painter);
    painter.end();
    WheelSvg result;
    result.status = drawing.status;
    result.message = drawing.message;
    if (drawing.status != WheelStatus::FiltersRefused) {
        result.svg = WheelGrouper(drawing, twoSets).Group(buffer.data());
    }
    return result;
}

} // namespace

WheelSvg DrawWheelSvg(const WheelInput& wheel, const ProgramTexts& texts) {
    return RenderSvg(WheelPictureSize(wheel), QStringLiteral("Orbivex"), IsTwoChartMode(wheel.mode),
                     [&](QPainter& painter) { return DrawChartWheel(wheel, texts, painter); });
}

WheelSvg ComposeExportSvg(const ExportInput& input, const ProgramTexts& texts) {
    const bool twoSets = IsTwoChartMode(input.wheel.mode);
    if (input.wheel.style == WheelStyle::Modern) {
        // The PNG's layout: the dates and notes below the wheel.
        const ModernExportLayout layout = LayOutModernExport(input, texts);
        return RenderSvg(layout.size, input.productName, twoSets, [&](QPainter& painter) {
            return PaintModernExport(painter, layout, texts);
        });
    }
    WheelInput wheel = input.wheel;
    wheel.legends = false;
    const QSize size = WheelPictureSize(wheel);
    return RenderSvg(size, input.productName, twoSets, [&](QPainter& painter) {
        const WheelDrawing drawing = DrawChartWheel(wheel, texts, painter);
        if (drawing.status == WheelStatus::FiltersRefused) {
            return drawing;
        }
        PictureText writer(painter, ProgramFont(QStringLiteral("Arial"), 10));
        // Rimmed as in the PNG, so that a text crossing the dark disc stays readable.
        for (const ExportText& text : ExportTexts(input, texts, size)) {
            writer.WriteWithHalo(text.box.topLeft(), text.text, text.colour, WheelBackColour);
        }
        return drawing;
    });
}

ImageSaveResult SaveWheelImageAs(Dialogs& dialogs, QWidget* parent, const ExportInput& input,
                                 const ProgramTexts& texts, const QString& saveAsCaption) {
    constexpr int SvgImagesText = 566;
    const QString title = texts.ProgramText(132);
    const QString png = QStringLiteral(".png");
    const QString svg = QStringLiteral(".svg");
    QString picked;
    const QString chosen = dialogs.GetSaveFileNameAndType(
        parent, title,
        texts.ProgramText(133) + QStringLiteral("|*.png|") + texts.ProgramText(SvgImagesText) +
            QStringLiteral("|*.svg"),
        QString(), picked);
    if (chosen.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const bool asSvg =
        chosen.endsWith(svg, Qt::CaseInsensitive) ||
        (!chosen.endsWith(png, Qt::CaseInsensitive) && picked == QStringLiteral("*.svg"));
    const QString name = ConfirmedSaveTarget(dialogs, parent, chosen, asSvg ? svg : png,
                                             OtherExtension::Append, title);
    if (name.isEmpty()) {
        return ImageSaveResult::Cancelled;
    }
    const ImageSaveOutcome outcome =
        asSvg ? SaveSvgFile(ComposeExportSvg(input, texts).svg, name, texts)
              : SaveImageFiles(ComposeExportImage(input, texts), ImageFileNamesFor(name), texts);
    dialogs.ShowMessage(parent, outcome.message, saveAsCaption, outcome.icon);
    return outcome.result;
}

ImageSaveOutcome SaveSvgFile(const QByteArray& svg, const QString& name,
                             const ProgramTexts& texts) {
    ImageSaveOutcome outcome;
    QString reason;
    if (svg.isEmpty()) {
        reason = QStringLiteral("There is no image.");
    } else if (const Status written = WriteFileWhole(name, svg); written) {
        outcome.result = ImageSaveResult::Saved;
        outcome.message = texts.ProgramText(134) + CrLf + name;
        return outcome;
    } else {
        reason = AsSentence(written.error());
    }
    outcome.result = ImageSaveResult::Failed;
    outcome.icon = Dialogs::Icon::Exclamation;
    outcome.message =
        QStringLiteral("The chart image could not be saved as") + CrLf + name + CrLf + reason;
    return outcome;
}

} // namespace orbivex
