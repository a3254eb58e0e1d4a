#pragma once
// Saving what the picture area shows as a PNG image. For the chart wheel the saved image is a
// composed copy: the wheel without its on-screen legends, with the product name and version,
// the dates of the chart, a note on the outer-planet filter and, for two sets, the orbs. The
// course graph is saved as it is shown. Files are written whole or not at all: a failed save
// never damages a file that was there before.

#include "calendar/DateInput.h"
#include "draw/ChartWheel.h"
#include "present/PictureInput.h"
#include "session/MessageIcon.h"
#include "support/Version.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

namespace orbivex {

class Canvas;
class ProgramTexts;

// ---- Composition -------------------------------------------------------------------------

// The product name on up to four title lines, broken between words when it is too long for
// one line.
std::array<QString, 4> ExportTitleLines(const QString& productName);

// Composition colours.
inline constexpr int ExportTitleColour = Rgb(160, 160, 160);
inline constexpr int ExportCaptionColour = Rgb(0, 0, 255);
// Distance between composed text lines, in pixels.
inline constexpr int ExportLineHeight = 17;

// Distance in pixels that the composed texts keep from the edges of the image: a text placed
// nearer, or past an edge, moves in together with the texts of its block.
inline constexpr int ExportEdgeMargin = 3;

// One text of the composed image: the box it takes, in pixels, and its colour.
struct ExportText {
    QString text;
    QRectF box;
    int colour = 0;
};

// The texts of the composed image for a wheel of `size` pixels, each within the image.
std::vector<ExportText> ExportTexts(const ExportInput& input, const ProgramTexts& texts,
                                    QSize size);

// The image saved for a chart wheel, the wheel's size (the modern style's is taller: its
// dates and notes stand below the wheel). A null image when the wheel cannot be drawn (both
// chart filters set).
QImage ComposeExportImage(const ExportInput& input, const ProgramTexts& texts);

// The composed modern wheel, laid out once for the PNG and the SVG: the texts of the upper half
// stay where the classic image has them and the wheel keeps clear of them; those of the lower
// half (the dates, the notes, the orbs) move down below the wheel, which makes the picture
// taller.
struct ModernExportLayout {
    WheelInput wheel;              // without legends, keeping clear of the upper texts
    std::vector<ExportText> texts; // in the whole picture
    QSize size;                    // the whole picture, in pixels
};
ModernExportLayout LayOutModernExport(const ExportInput& input, const ProgramTexts& texts);
// Paints the layout on a canvas of layout.size pixels: the theme's background, the wheel, and
// the texts in the theme's colours, rimmed with its background. The wheel's drawing (status
// FiltersRefused, with nothing painted, when the wheel cannot be drawn).
WheelDrawing PaintModernExport(Canvas& canvas, const ModernExportLayout& layout,
                               const ProgramTexts& texts);

// ---- Files ---------------------------------------------------------------------------------

struct ImageFileNames {
    QString png;    // the file the user asked for
    QString bitmap; // where the image goes when the PNG cannot be written
};

// The chosen name is the PNG file; a name that does not end in ".png" (any case) gets ".png"
// appended, in place of the dots it ends in. The bitmap is the PNG name with "bmp" in place of
// its last three characters (chart.png gives chart.bmp, chart and chart. give chart.png and
// chart.bmp).
ImageFileNames ImageFileNamesFor(const QString& chosen);

// Why a file could not be written, as the last line of a message: a sentence of its own.
QString AsSentence(QString reason);

enum class ImageSaveResult {
    Cancelled,     // no file chosen
    Saved,         // the PNG file
    SavedAsBitmap, // the PNG file could not be written; the bitmap file holds the image
    Failed,        // nothing could be written; existing files are untouched
};

struct ImageSaveOutcome {
    ImageSaveResult result = ImageSaveResult::Failed;
    QString message; // what the window shows
    MessageIcon icon = MessageIcon::Information;
};

// Writes the image as the PNG file, whole or not at all; when that fails, as the bitmap file.
// Nothing else is written, and only a regular file is replaced. The message is program text
// 134 and the PNG name, program text 135 and the bitmap name, or, when not even the bitmap
// could be written, why.
ImageSaveOutcome SaveImageFiles(const QImage& image, const ImageFileNames& names,
                                const ProgramTexts& texts);

} // namespace orbivex
