// The drawing module of orbivex-cli: draws what orbivex-cli computed and writes the files, in a
// QGuiApplication on the offscreen platform. It computes nothing: no chart, no state file, no
// ephemeris.
#include "cli/DrawingModule.h"

#include "draw/ChartSheet.h"
#include "draw/ChartWheel.h"
#include "draw/ImageExport.h"
#include "draw/WheelSvg.h"

#include <QGuiApplication>

#include <cstdio>

namespace orbivex::cli {

namespace {

// Qt's messages as Qt writes them, but for its warning, where no XDG_RUNTIME_DIR is set, that
// it looked for the user's runtime folder: the drawing never uses that folder, and a command's
// standard error is for its own messages.
void WriteQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    std::fprintf(stderr, "%s\n",
                 qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

QCoreApplication* MakeApplication(int& argc, char** argv) {
    // Text drawn into an image needs the font database of a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(WriteQtMessage);
    return new QGuiApplication(argc, argv);
}

// The image as its pixels stand: the modern wheel is drawn at the asked width already, the
// classic one is a picture of fixed size and is scaled smoothly.
QImage ImageOfWidth(QImage image, std::optional<int> width) {
    image.setDevicePixelRatio(1.0);
    if (width && !image.isNull() && image.width() != *width) {
        image = image.scaledToWidth(*width, Qt::SmoothTransformation);
    }
    return image;
}

WheelOutcome SaveWheel(const WheelJob& job, const ProgramTexts& texts) {
    WheelOutcome result;
    WheelInput wheel = job.wheel;
    const double ratio = job.width ? *job.width / double(WheelPictureSize(wheel).width()) : 1.0;
    wheel.devicePixelRatio = ratio;
    const WheelDrawing drawing = DrawChartWheel(wheel, texts);
    if (drawing.status == WheelStatus::FiltersRefused) {
        result.message = drawing.message;
        return result;
    }
    if (drawing.status == WheelStatus::NoRoomForGlyph) {
        result.warning = drawing.message;
    }
    ImageSaveOutcome outcome;
    if (job.out.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        // A vector image has no pixel size: --size does not apply to it.
        const WheelSvg svg =
            job.screen ? DrawWheelSvg(job.wheel, texts) : ComposeExportSvg(job.composition, texts);
        outcome = SaveSvgFile(svg.svg, job.out, texts);
    } else {
        ExportInput composition = job.composition;
        composition.wheel.devicePixelRatio = ratio;
        const QImage image = ImageOfWidth(
            job.screen ? drawing.image : ComposeExportImage(composition, texts), job.width);
        outcome = SaveImageFiles(image, ImageFileNamesFor(job.out), texts);
    }
    result.saved = outcome.result == ImageSaveResult::Saved;
    result.message = outcome.message;
    return result;
}

Status SaveSheet(const SheetJob& job, const ProgramTexts& texts) {
    return WriteChartSheetPdf(job.sheet, texts, job.path);
}

constexpr DrawingFunctions Functions{MakeApplication, SaveWheel, SaveSheet};

} // namespace

} // namespace orbivex::cli

extern "C" Q_DECL_EXPORT const orbivex::cli::DrawingFunctions* OrbivexCliDraw() {
    return &orbivex::cli::Functions;
}
