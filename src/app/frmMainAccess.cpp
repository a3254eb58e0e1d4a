// What screen readers say for the main window's controls whose caption does not name them, and
// the tips of the controls whose purpose their caption does not make plain.
#include "app/frmMain.h"

#include "app/PictureBox.h"
#include "support/TextNumbers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orbivex {

namespace {} // namespace

void frmMain::NameControls() {
    for (int s = 0; s < NumDateSets; ++s) {
        const QString dateSet = texts_.ProgramText(text::FirstDateSetName + s) + QLatin1Char(' ');
        const std::array<QWidget*, 5> parts{txbYearCE[s], cboMonthCE[s], cboDayCE[s], cboHour[s],
                                            cboTimezone[s]};
        for (size_t part = 0; part < parts.size(); ++part) {
            parts[part]->setAccessibleName(
                dateSet + texts_.ProgramText(text::FirstDatePartWord + static_cast<int>(part)));
        }
        cboTimezone[s]->setToolTip(texts_.ProgramText(text::ZoneTip));
        // The time and zone boxes take typed text: their edit fields are what the keyboard
        // reaches, so they carry the box's name.
        for (QComboBox* box : {cboHour[s], cboTimezone[s]}) {
            if (QLineEdit* edit = box->lineEdit()) {
                edit->setAccessibleName(box->accessibleName());
                edit->setObjectName(box->objectName() + QStringLiteral("_edit"));
            }
        }
    }
    cboForwardBack->setAccessibleName(texts_.ProgramText(text::StepUnit));
    cboForwardBack->setToolTip(texts_.ProgramText(text::StepUnitTip));
    picTable->setAccessibleName(texts_.ProgramText(text::GridName));
    picGraphic->setAccessibleName(texts_.ProgramText(text::WheelName));
    txbReport->setAccessibleName(texts_.ProgramText(text::ReportName));
    txbReport1->setAccessibleName(texts_.ProgramText(text::ReportName));
}

} // namespace orbivex
