// The main window's printing: the chart sheet of the last Compute in the print preview or
// through the print dialog.
#include "app/Dialogs.h"
#include "app/frmMain.h"
#include "draw/ChartSheet.h"
#include "support/TextNumbers.h"

#include <QPushButton>

namespace orbivex {

namespace {

// The sheet of the chart, or nothing (after saying why) when no chart has been computed.
std::optional<SheetInput> SheetToPrint(frmMain& window, Dialogs& dialogs,
                                       const ProgramTexts& texts) {
    if (!IsChartMode(window.state.recordedMode) || window.ephemeris() == nullptr) {
        dialogs.ShowMessage(&window, texts.ProgramText(text::NothingToPrint),
                            texts.ProgramText(text::PrintTitle), Dialogs::Icon::Information);
        return std::nullopt;
    }
    return SheetInputOf(window.state, *window.ephemeris(), texts);
}

} // namespace

void frmMain::cmdPrint_Click() {
    const std::optional<SheetInput> sheet = SheetToPrint(*this, dialogs_, texts_);
    if (!sheet) {
        return;
    }
    dialogs_.PrintPreview(this, texts_.ProgramText(text::PrintTitle),
                          [&](QPainter& painter) { DrawChartSheet(painter, *sheet, texts_); });
}

void frmMain::PrintChartSheet() {
    const std::optional<SheetInput> sheet = SheetToPrint(*this, dialogs_, texts_);
    if (!sheet) {
        return;
    }
    const QString title = texts_.ProgramText(text::PrintTitle);
    if (dialogs_.Print(this, title, [&](QPainter& painter) {
            DrawChartSheet(painter, *sheet, texts_);
        }) == Dialogs::PrintResult::Failed) {
        dialogs_.ShowMessage(this, texts_.ProgramText(text::PrintFailed), title,
                             Dialogs::Icon::Exclamation);
    }
}

} // namespace orbivex
