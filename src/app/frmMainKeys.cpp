// The main window's keyboard order: Tab and Shift+Tab in reading order. The keys of the
// commands are those of the menu bar's actions (frmMainMenus.cpp).
#include "app/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orbivex {

void frmMain::SetTabOrder() {
    // Reading order: the date sets row by row and the unit beside them, then the commands (the
    // row under the dates, the stepping commands, the column beside the modes), then the modes,
    // then the reports.
    QList<QWidget*> order;
    for (int s = 0; s < NumDateSets; ++s) {
        order << txbYearCE[s] << cboMonthCE[s] << cboDayCE[s] << cboHour[s] << cboTimezone[s]
              << txtPlace[s] << cmdClear[s];
    }
    order << optDegrees << optRadians;
    order << cmdCompute << cmdConfigure << cmdSaveAs << cmdLoadState << cmdReport << cmdRun
          << cmdToggleGraphic << cmdPrint << cmdAspectarian << cboForwardBack << cmdForwardBack[1]
          << cmdForwardBack[0];
    order << cmdNow << cmdSave << cmdHelp << cmdRestore << cmdQuit;
    for (QRadioButton* option : ModeOptions()) {
        order << option;
    }
    order << txbReport << txbReport1;
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
    tabOrder_ = order;
}

bool frmMain::focusNextPrevChild(bool next) {
    QWidget* current = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < tabOrder_.size() && current != nullptr; ++i) {
        if (tabOrder_[i] == current || tabOrder_[i]->isAncestorOf(current)) {
            at = i;
            break;
        }
    }
    if (at < 0) {
        return QMainWindow::focusNextPrevChild(next);
    }
    const qsizetype count = tabOrder_.size();
    for (qsizetype step = 1; step < count; ++step) {
        QWidget* candidate = tabOrder_[((next ? at + step : at - step) % count + count) % count];
        if (candidate->isVisibleTo(this) && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus) != 0) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}

} // namespace orbivex
