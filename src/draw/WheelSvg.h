#pragma once
// The chart wheel as a vector image (SVG): the same composition as the saved PNG, drawn by the
// same code, with every body symbol and every aspect line in a group of its own, so that a
// program reading the file (or a style sheet) can find them: <g class="body" id="body-1-mars">
// and <g class="aspect trine" id="aspect-mars-neptune">.

#include "draw/ImageExport.h"

#include <QByteArray>
#include <QString>

namespace orbivex {

class ProgramTexts;

struct WheelSvg {
    WheelStatus status = WheelStatus::Drawn;
    QString message; // why nothing was drawn, or the warning of a drawing that stopped
    QByteArray svg;  // empty when refused
};

// The wheel alone, with the legends the input asks for, as an SVG document of its image's size
// in pixels.
WheelSvg DrawWheelSvg(const WheelInput& wheel, const ProgramTexts& texts);

// The composed export wheel (without its on-screen legends) as an SVG document of the
// image's size in pixels.
WheelSvg ComposeExportSvg(const ExportInput& input, const ProgramTexts& texts);

// Writes the SVG file whole or not at all (a failure keeps the file that was there) and never
// in place of anything but a regular file. The message is program text 134 and the name, or
// why it could not be written.
ImageSaveOutcome SaveSvgFile(const QByteArray& svg, const QString& name, const ProgramTexts& texts);

} // namespace orbivex
