#include "draw/WheelSvg.h"

#include "core/Bodies.h"
#include "draw/Canvas.h"
#include "draw/Fonts.h"
#include "draw/PictureText.h"
#include "present/Symbols.h"
#include "support/ProgramTexts.h"
#include "support/SafeFile.h"
#include "support/TextNumbers.h"

#include <QXmlStreamWriter>

#include <functional>

namespace orbivex {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Texts are measured, and their point sizes turned into pixels, at the 96 dots per inch that
// the wheel's image has.
constexpr int Resolution = 96;

QString IdName(BodyIndex body) {
    return BodyName(body).toLower();
}

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

QString ColourText(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

QString CapText(Qt::PenCapStyle cap) {
    switch (cap) {
    case Qt::FlatCap:
        return QStringLiteral("butt");
    case Qt::RoundCap:
        return QStringLiteral("round");
    default:
        return QStringLiteral("square");
    }
}

// A canvas that writes each drawing operation as an SVG element, in drawing order, with the
// aspect lines and body symbols in groups of their own: <g id="aspect-mars-neptune"
// class="aspect trine">, <g id="body-mars" class="body"> (with two sets "body-mars-1" of class
// "body set1").
class SvgCanvas final : public Canvas {
  public:
    SvgCanvas(QByteArray& svg, QSize size, const QString& title)
        : writer_(&svg), metrics_(NewPicture(QSize(1, 1), QImage::Format_RGB32)) {
        writer_.setAutoFormatting(true);
        writer_.writeStartDocument();
        writer_.writeStartElement(QStringLiteral("svg"));
        writer_.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
        // The picture's physical size at its resolution, as a printer or an editor shows it.
        constexpr double MillimetresPerInch = 25.4;
        writer_.writeAttribute(QStringLiteral("width"),
                               Number(size.width() * MillimetresPerInch / Resolution) +
                                   QStringLiteral("mm"));
        writer_.writeAttribute(QStringLiteral("height"),
                               Number(size.height() * MillimetresPerInch / Resolution) +
                                   QStringLiteral("mm"));
        writer_.writeAttribute(QStringLiteral("viewBox"),
                               QStringLiteral("0 0 %1 %2").arg(size.width()).arg(size.height()));
        writer_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
        writer_.writeAttribute(QStringLiteral("baseProfile"), QStringLiteral("tiny"));
        writer_.writeTextElement(QStringLiteral("title"), title);
    }

    void Finish() {
        writer_.writeEndElement();
        writer_.writeEndDocument();
    }

    QPaintDevice* Device() const override { return const_cast<QImage*>(&metrics_); }
    void Save() override {}
    void Restore() override {}
    void SetRenderHint(QPainter::RenderHint, bool) override {}

    void FillRect(const QRectF& rect, const QColor& colour) override {
        writer_.writeEmptyElement(QStringLiteral("rect"));
        writer_.writeAttribute(QStringLiteral("x"), Number(rect.x()));
        writer_.writeAttribute(QStringLiteral("y"), Number(rect.y()));
        writer_.writeAttribute(QStringLiteral("width"), Number(rect.width()));
        writer_.writeAttribute(QStringLiteral("height"), Number(rect.height()));
        Fill(colour);
    }

    void DrawCircle(QPointF centre, double radius, const QPen& pen, const QColor& fill) override {
        Circle(centre, radius);
        Fill(fill);
        Stroke(pen);
    }

    // The ring as a circle along its middle, stroked as wide as the ring.
    void FillAnnulus(QPointF centre, double outer, double inner, const QColor& colour) override {
        Circle(centre, (outer + inner) / 2.0);
        Fill(QColor());
        Stroke(QPen(colour, outer - inner));
    }

    void DrawLine(QPointF from, QPointF to, const QPen& pen) override {
        writer_.writeEmptyElement(QStringLiteral("line"));
        writer_.writeAttribute(QStringLiteral("x1"), Number(from.x()));
        writer_.writeAttribute(QStringLiteral("y1"), Number(from.y()));
        writer_.writeAttribute(QStringLiteral("x2"), Number(to.x()));
        writer_.writeAttribute(QStringLiteral("y2"), Number(to.y()));
        Stroke(pen);
    }

    void DrawText(QPointF baseline, const QString& text, const QFont& font,
                  const QColor& colour) override {
        StartText(baseline, font);
        Fill(colour);
        writer_.writeCharacters(text);
        writer_.writeEndElement();
    }

    void StrokeText(QPointF baseline, const QString& text, const QFont& font,
                    const QPen& pen) override {
        StartText(baseline, font);
        Fill(QColor());
        Stroke(pen);
        writer_.writeCharacters(text);
        writer_.writeEndElement();
    }

    void BeginAspectLine(const WheelAspect& aspect) override {
        writer_.writeStartElement(QStringLiteral("g"));
        writer_.writeAttribute(
            QStringLiteral("id"),
            QStringLiteral("aspect-%1-%2").arg(IdName(aspect.body1), IdName(aspect.body2)));
        writer_.writeAttribute(QStringLiteral("class"),
                               QStringLiteral("aspect ") + AspectName(aspect.kind).toLower());
    }

    void BeginBodySymbol(int set, BodyIndex body, bool twoSets) override {
        writer_.writeStartElement(QStringLiteral("g"));
        writer_.writeAttribute(QStringLiteral("id"),
                               twoSets ? QStringLiteral("body-%1-%2").arg(IdName(body)).arg(set + 1)
                                       : QStringLiteral("body-%1").arg(IdName(body)));
        writer_.writeAttribute(QStringLiteral("class"),
                               twoSets ? QStringLiteral("body set%1").arg(set + 1)
                                       : QStringLiteral("body"));
    }

    void EndGroup() override { writer_.writeEndElement(); }

  private:
    void Circle(QPointF centre, double radius) {
        writer_.writeEmptyElement(QStringLiteral("circle"));
        writer_.writeAttribute(QStringLiteral("cx"), Number(centre.x()));
        writer_.writeAttribute(QStringLiteral("cy"), Number(centre.y()));
        writer_.writeAttribute(QStringLiteral("r"), Number(radius));
    }

    void Fill(const QColor& colour) {
        if (!colour.isValid() || colour.alpha() == 0) {
            writer_.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
            return;
        }
        writer_.writeAttribute(QStringLiteral("fill"), ColourText(colour));
        if (colour.alpha() < 255) {
            writer_.writeAttribute(QStringLiteral("fill-opacity"), Number(colour.alphaF()));
        }
    }

    void Stroke(const QPen& pen) {
        const QColor colour = pen.color();
        if (pen.style() == Qt::NoPen || colour.alpha() == 0) {
            writer_.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
            return;
        }
        writer_.writeAttribute(QStringLiteral("stroke"), ColourText(colour));
        if (colour.alpha() < 255) {
            writer_.writeAttribute(QStringLiteral("stroke-opacity"), Number(colour.alphaF()));
        }
        // A pen of width 0 is one pixel wide whatever the scale.
        writer_.writeAttribute(QStringLiteral("stroke-width"),
                               Number(pen.widthF() > 0.0 ? pen.widthF() : 1.0));
        writer_.writeAttribute(QStringLiteral("stroke-linecap"), CapText(pen.capStyle()));
        if (pen.joinStyle() == Qt::RoundJoin) {
            writer_.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("round"));
        }
    }

    void StartText(QPointF baseline, const QFont& font) {
        writer_.writeStartElement(QStringLiteral("text"));
        writer_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        writer_.writeAttribute(QStringLiteral("x"), Number(baseline.x()));
        writer_.writeAttribute(QStringLiteral("y"), Number(baseline.y()));
        writer_.writeAttribute(QStringLiteral("font-family"), font.family());
        const double pixels =
            font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * Resolution / 72.0;
        writer_.writeAttribute(QStringLiteral("font-size"), Number(pixels));
        writer_.writeAttribute(QStringLiteral("font-weight"), QString::number(font.weight()));
        if (font.italic()) {
            writer_.writeAttribute(QStringLiteral("font-style"), QStringLiteral("italic"));
        }
    }

    QXmlStreamWriter writer_;
    QImage metrics_;
};

// An SVG document of `size` pixels drawn by `draw`; empty when the drawing was refused.
WheelSvg RenderSvg(QSize size, const QString& title,
                   const std::function<WheelDrawing(Canvas&)>& draw) {
    WheelSvg result;
    QByteArray svg;
    SvgCanvas canvas(svg, size, title);
    const WheelDrawing drawing = draw(canvas);
    canvas.Finish();
    result.status = drawing.status;
    result.message = drawing.message;
    if (drawing.status != WheelStatus::FiltersRefused) {
        result.svg = svg;
    }
    return result;
}

} // namespace

WheelSvg DrawWheelSvg(const WheelInput& wheel, const ProgramTexts& texts) {
    return RenderSvg(WheelPictureSize(wheel), QStringLiteral("Orbivex"),
                     [&](Canvas& canvas) { return DrawChartWheel(wheel, texts, canvas); });
}

WheelSvg ComposeExportSvg(const ExportInput& input, const ProgramTexts& texts) {
    if (input.wheel.style == WheelStyle::Modern) {
        // The PNG's layout: the dates and notes below the wheel.
        const ModernExportLayout layout = LayOutModernExport(input, texts);
        return RenderSvg(layout.size, input.productName,
                         [&](Canvas& canvas) { return PaintModernExport(canvas, layout, texts); });
    }
    WheelInput wheel = input.wheel;
    wheel.legends = false;
    const QSize size = WheelPictureSize(wheel);
    return RenderSvg(size, input.productName, [&](Canvas& canvas) {
        const WheelDrawing drawing = DrawChartWheel(wheel, texts, canvas);
        if (drawing.status == WheelStatus::FiltersRefused) {
            return drawing;
        }
        PictureText writer(canvas, ProgramFont(QStringLiteral("Arial"), 10));
        // Rimmed as in the PNG, so that a text crossing the dark disc stays readable.
        for (const ExportText& text : ExportTexts(input, texts, size)) {
            writer.WriteWithHalo(text.box.topLeft(), text.text, text.colour, WheelBackColour);
        }
        return drawing;
    });
}

ImageSaveOutcome SaveSvgFile(const QByteArray& svg, const QString& name,
                             const ProgramTexts& texts) {
    ImageSaveOutcome outcome;
    QString reason;
    if (svg.isEmpty()) {
        reason = QStringLiteral("There is no image.");
    } else if (const Status written = WriteFileWhole(name, svg); written) {
        outcome.result = ImageSaveResult::Saved;
        outcome.message = texts.ProgramText(text::ImageSavedAs) + CrLf + name;
        return outcome;
    } else {
        reason = AsSentence(written.error());
    }
    outcome.result = ImageSaveResult::Failed;
    outcome.icon = MessageIcon::Exclamation;
    outcome.message =
        QStringLiteral("The chart image could not be saved as") + CrLf + name + CrLf + reason;
    return outcome;
}

} // namespace orbivex
