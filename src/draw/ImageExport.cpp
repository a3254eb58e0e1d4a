#include "draw/ImageExport.h"

#include "draw/Canvas.h"
#include "draw/Fonts.h"
#include "draw/ModernWheel.h"
#include "draw/PictureText.h"
#include "session/SaveTarget.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace orbivex {
using enum ChartMode;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// A title line holds this many characters before the name is broken between words.
constexpr int TitleLineLength = 20;

// Places the texts of the export picture of one layout, in pixels. Texts placed together (a
// date block, a note of two lines) form a block, which keeps its shape: where it would reach
// past an edge of the picture it moves in as a whole.
class ExportLayout {
  public:
    ExportLayout(const ExportInput& input, const ProgramTexts& texts, QSize size)
        : input_(input), texts_(texts), size_(size), picture_(NewPicture(size, Format)),
          metrics_(ProgramFont(QStringLiteral("Arial"), 10), &picture_),
          twoSets_(IsTwoChartMode(input.wheel.mode)) {}

    static constexpr QImage::Format Format = QImage::Format_RGB32;

    std::vector<ExportText> Texts() {
        DrawExportTitle();
        DrawExportCaptions();
        return std::move(placed_);
    }

  private:
    struct Line {
        double x;
        double y;
        QString text;
    };

    void DrawExportTitle() {
        const std::array<QString, 4> lines = ExportTitleLines(input_.productName);
        const QString version = QStringLiteral("v.") + input_.version;
        if (twoSets_) {
            std::vector<Line> block;
            for (int k = 0; k < 4; ++k) {
                block.push_back({114, double(ExportLineHeight * k), lines[k]});
            }
            block.push_back({114, double(ExportLineHeight * 4), version});
            Block(block, ExportTitleColour);
            return;
        }
        std::vector<Line> left;
        for (int k = 0; k < 3; ++k) {
            left.push_back({5, double(ExportLineHeight * k), lines[k]});
        }
        Block(left, ExportTitleColour);
        const double right = size_.width() / 2.0 + 123;
        Block({{right, 0, lines[3]}, {right, double(ExportLineHeight), version}},
              ExportTitleColour);
    }

    void DrawExportCaptions() {
        const ChartMode mode = input_.wheel.mode;
        const bool outerOnly = input_.wheel.filters.showOnlyOuterPlanetAspects;
        const QString worldLabel = Label(4);
        switch (mode) {
        case WorldTransits:
            DateBlock(worldLabel, WorldDate, 328, 350, -20);
            if (outerOnly) {
                Captions({{5, 367, texts_.ProgramText(text::OnlyOuterCaptionFirst)},
                          {5, 384, texts_.ProgramText(text::OnlyOuterCaptionSecond)}});
            }
            break;
        case NatalFirst:
        case NatalSecond:
            DateBlock(BirthdateLabel(mode), BirthdateOf(mode), 3, 350, 0);
            if (outerOnly) {
                Captions({{335, 367, texts_.ProgramText(text::OnlyOuterCaptionFirst)},
                          {310, 384, texts_.ProgramText(text::OnlyOuterCaptionSecond)}});
            }
            break;
        case PersonalFirst:
        case PersonalSecond:
            DateBlock(BirthdateLabel(mode), BirthdateOf(mode), 114, 385, 0);
            DateBlock(worldLabel, WorldDate, 472, 390, -20);
            Captions({{50, 368, texts_.ProgramText(text::PersonalTransitsCaption)}});
            break;
        case SynastryMode:
            DateBlock(Label(95), FirstBirthdate, 114, 385, 0);
            DateBlock(Label(96), SecondBirthdate, 472, 385, 0);
            Captions({{100, 368,
                       WithoutMnemonic(texts_.ProgramText(text::SynastryOption)) +
                           QLatin1Char(' ') + texts_.ProgramText(text::Of)}});
            Captions({{497, 368, texts_.ProgramText(text::And)}});
            break;
        default:
            break;
        }
        if (twoSets_) {
            Captions({{525, 334, input_.orbSummary}});
            if (outerOnly) {
                Captions({{552, 195.5,
                           texts_.ProgramText(mode == SynastryMode ? text::SynastryShows
                                                                   : text::TransitsShow)},
                          {552, 212.5, texts_.ProgramText(text::OnlyOuterNoteFirst)},
                          {552, 229.5, texts_.ProgramText(text::OnlyOuterNoteSecond)}});
            }
        }
    }

    static int BirthdateOf(ChartMode mode) {
        return mode == NatalSecond || mode == PersonalSecond ? SecondBirthdate : FirstBirthdate;
    }

    QString Label(int textNumber) const {
        return texts_.ProgramText(textNumber) + QLatin1Char(':');
    }

    QString BirthdateLabel(ChartMode mode) const {
        return Label(BirthdateOf(mode) == SecondBirthdate ? 96 : 95);
    }

    // A label line, the date below it and the hour and zone below that, each line dx further
    // right.
    void DateBlock(const QString& label, int dateSet, double x, double y, double dx) {
        const ExportDateText& date = input_.dates[dateSet];
        Captions({{x, y, label},
                  {x + dx, y + ExportLineHeight, date.date},
                  {x + 2 * dx, y + 2 * ExportLineHeight, date.hourAndZone}});
    }

    void Captions(const std::vector<Line>& lines) { Block(lines, ExportCaptionColour); }

    // Places a block, moved left and up as far as it reaches past the right and bottom edges,
    // then right and down as far as it reaches past the left and top edges: a block larger
    // than the picture keeps its beginning in view.
    void Block(const std::vector<Line>& lines, int colour) {
        std::vector<ExportText> block;
        QRectF bounds;
        for (const Line& line : lines) {
            if (line.text.isEmpty()) {
                continue;
            }
            const QRectF box(QPointF(line.x, line.y),
                             QSizeF(metrics_.horizontalAdvance(line.text), metrics_.height()));
            block.push_back({line.text, box, colour});
            bounds = bounds.isNull() ? box : bounds.united(box);
        }
        const QRectF inside =
            QRectF(QPointF(0, 0), QSizeF(size_))
                .adjusted(ExportEdgeMargin, ExportEdgeMargin, -ExportEdgeMargin, -ExportEdgeMargin);
        QPointF shift(std::min(0.0, inside.right() - bounds.right()),
                      std::min(0.0, inside.bottom() - bounds.bottom()));
        shift.rx() += std::max(0.0, inside.left() - (bounds.left() + shift.x()));
        shift.ry() += std::max(0.0, inside.top() - (bounds.top() + shift.y()));
        for (ExportText& text : block) {
            text.box.translate(shift);
            placed_.push_back(std::move(text));
        }
    }

    const ExportInput& input_;
    const ProgramTexts& texts_;
    const QSize size_;
    QImage picture_; // only for measuring the texts as they are drawn
    QFontMetricsF metrics_;
    const bool twoSets_;
    std::vector<ExportText> placed_;
};

// Writes an image file whole, replacing a file of that name only once it is complete. The
// image is encoded in memory first: an encoder writing straight to the disk could not tell a
// full disk from a fault of its own.
Status WriteImageFile(const QImage& image, const QString& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        return Fail(writer.errorString());
    }
    return WriteFileWhole(path, bytes);
}

} // namespace

std::array<QString, 4> ExportTitleLines(const QString& productName) {
    std::array<QString, 4> lines;
    int line = 0;
    for (const QString& word : productName.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines[line].isEmpty() && lines[line].size() + 1 + word.size() > TitleLineLength) {
            if (line == 3) {
                break; // four lines are all the title has room for
            }
            ++line;
        }
        if (!lines[line].isEmpty()) {
            lines[line] += QLatin1Char(' ');
        }
        lines[line] += word;
    }
    return lines;
}

std::vector<ExportText> ExportTexts(const ExportInput& input, const ProgramTexts& texts,
                                    QSize size) {
    return ExportLayout(input, texts, size).Texts();
}

ModernExportLayout LayOutModernExport(const ExportInput& input, const ProgramTexts& texts) {
    ModernExportLayout layout;
    layout.wheel = input.wheel;
    layout.wheel.legends = false;
    const QSize size = WheelPictureSize(layout.wheel);
    layout.texts = ExportTexts(input, texts, size);
    double lowerTop = size.height();
    for (const ExportText& text : layout.texts) {
        if (text.box.center().y() > size.height() / 2.0) {
            lowerTop = std::min(lowerTop, text.box.top());
        } else {
            layout.wheel.keepClear.push_back(text.box);
        }
    }
    const double shift = std::ceil(size.height() - lowerTop + ExportEdgeMargin);
    for (ExportText& text : layout.texts) {
        if (text.box.center().y() > size.height() / 2.0) {
            text.box.translate(0.0, shift);
        }
    }
    layout.size = QSize(size.width(), size.height() + static_cast<int>(shift));
    return layout;
}

WheelDrawing PaintModernExport(Canvas& canvas, const ModernExportLayout& layout,
                               const ProgramTexts& texts) {
    const ModernTheme& theme = ModernThemeOf(layout.wheel.theme);
    const auto colourOf = [](const QColor& colour) {
        return Rgb(colour.red(), colour.green(), colour.blue());
    };
    canvas.FillRect(QRectF(QPointF(0, 0), QSizeF(layout.size)), theme.background);
    WheelDrawing drawing = DrawChartWheel(layout.wheel, texts, canvas);
    if (drawing.status == WheelStatus::FiltersRefused) {
        return drawing;
    }
    PictureText writer(canvas, ProgramFont(QStringLiteral("Arial"), 10));
    for (const ExportText& text : layout.texts) {
        // A halo of the background, should a text reach over a line of the wheel.
        writer.WriteWithHalo(text.box.topLeft(), text.text,
                             colourOf(text.colour == ExportTitleColour ? theme.rule : theme.text),
                             colourOf(theme.background));
    }
    return drawing;
}

QImage ComposeExportImage(const ExportInput& input, const ProgramTexts& texts) {
    WheelInput wheel = input.wheel;
    wheel.legends = false;
    if (wheel.style == WheelStyle::Modern) {
        const ModernExportLayout layout = LayOutModernExport(input, texts);
        const double ratio = std::clamp(wheel.devicePixelRatio, 1.0, 16.0);
        QImage picture = NewPicture(
            QSize(qRound(layout.size.width() * ratio), qRound(layout.size.height() * ratio)),
            QImage::Format_RGB32);
        picture.setDevicePixelRatio(ratio);
        QPainter painter(&picture);
        PainterCanvas canvas(painter);
        if (PaintModernExport(canvas, layout, texts).status == WheelStatus::FiltersRefused) {
            return {};
        }
        return picture;
    }
    WheelDrawing drawing = DrawChartWheel(wheel, texts);
    if (drawing.image.isNull()) {
        return {};
    }
    QImage picture = drawing.image;
    QPainter painter(&picture);
    PictureText writer(painter, ProgramFont(QStringLiteral("Arial"), 10));
    // Texts are rimmed with the picture's background colour, so that where one crosses the
    // dark disc it stays readable and hides little of the wheel.
    for (const ExportText& text : ExportTexts(input, texts, picture.size())) {
        writer.WriteWithHalo(text.box.topLeft(), text.text, text.colour, WheelBackColour);
    }
    painter.end();
    return picture;
}

QString AsSentence(QString reason) {
    if (!reason.isEmpty()) {
        reason[0] = reason[0].toUpper();
    }
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

ImageFileNames ImageFileNamesFor(const QString& chosen) {
    ImageFileNames names;
    names.png = NameWithExtension(chosen, QStringLiteral(".png"), OtherExtension::Append);
    names.bitmap = names.png.left(names.png.size() - 3) + QStringLiteral("bmp");
    return names;
}

ImageSaveOutcome SaveImageFiles(const QImage& image, const ImageFileNames& names,
                                const ProgramTexts& texts) {
    ImageSaveOutcome outcome;
    QString reason; // why the PNG could not be written
    if (image.isNull()) {
        reason = QStringLiteral("There is no image.");
    } else if (const Status regular = NotARegularFile(names.png); !regular) {
        // The bitmap must not stand in for a file that is never replaced.
        reason = AsSentence(regular.error());
    } else if (const Status png = WriteImageFile(image, names.png, "PNG"); png) {
        outcome.result = ImageSaveResult::Saved;
        outcome.message = texts.ProgramText(text::ImageSavedAs) + CrLf + names.png;
        return outcome;
    } else {
        reason = AsSentence(png.error());
        if (WriteImageFile(image, names.bitmap, "BMP")) {
            outcome.result = ImageSaveResult::SavedAsBitmap;
            outcome.message = texts.ProgramText(text::ImageSavedAsBitmap) + CrLf + names.bitmap;
            return outcome;
        }
    }
    outcome.result = ImageSaveResult::Failed;
    outcome.icon = MessageIcon::Exclamation;
    outcome.message =
        QStringLiteral("The chart image could not be saved as") + CrLf + names.png + CrLf + reason;
    return outcome;
}

} // namespace orbivex
