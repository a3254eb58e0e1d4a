// The main window's keys: a key per command, each clicking its button, so that a key does
// exactly what the button does and nothing while the button is hidden or disabled (during a
// run, under a course graph, before start-up has completed).
#include "app/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace orbivex {

namespace {

// The platform's keys for a standard command, or `own` where the platform has none.
QList<QKeySequence> StandardOr(QKeySequence::StandardKey standard, const QKeySequence& own) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    return keys.isEmpty() ? QList<QKeySequence>{own} : keys;
}

} // namespace

void frmMain::BindKeys() {
    const std::pair<QList<QKeySequence>, QPushButton*> keys[] = {
        {StandardOr(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)), cmdSave},
        {StandardOr(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
         cmdSaveAs},
        {StandardOr(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)), cmdLoadState},
        {StandardOr(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)), cmdHelp},
        {StandardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)), cmdQuit},
        {StandardOr(QKeySequence::Preferences, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Comma)),
         cmdConfigure},
        // Compute is F5 alone: the platform's Refresh may also mean Ctrl+R, which is Report's.
        {{QKeySequence(Qt::Key_F5)}, cmdCompute},
        {{QKeySequence(Qt::ALT | Qt::Key_Right)}, cmdForwardBack[0]},
        {{QKeySequence(Qt::ALT | Qt::Key_Left)}, cmdForwardBack[1]},
        {{QKeySequence(Qt::CTRL | Qt::Key_D)}, cmdToggleGraphic},
        // Ctrl+N means "new" everywhere; Now takes T, for today.
        {{QKeySequence(Qt::CTRL | Qt::Key_T)}, cmdNow},
        {{QKeySequence(Qt::CTRL | Qt::Key_R)}, cmdReport},
    };
    for (const auto& [sequences, button] : keys) {
        for (const QKeySequence& sequence : sequences) {
            auto* shortcut = new QShortcut(sequence, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, button, [button] {
                if (button->isVisible() && button->isEnabled()) {
                    button->click();
                }
            });
        }
    }
}

void frmMain::SetTabOrder() {
    // Reading order: the date sets row by row and the unit beside them, then the commands (the
    // row under the dates, the stepping commands, the column beside the modes), then the modes,
    // then the reports.
    QList<QWidget*> order;
    for (int s = 0; s < NumDateSets; ++s) {
        order << txbYearCE[s] << cboMonthCE[s] << cboDayCE[s] << cboHour[s] << cboTimezone[s]
              << cmdClear[s];
    }
    order << optDegrees << optRadians;
    order << cmdCompute << cmdConfigure << cmdSaveAs << cmdLoadState << cmdReport << cmdRun
          << cmdToggleGraphic << cmdPrint << cboForwardBack << cmdForwardBack[1]
          << cmdForwardBack[0];
    order << cmdNow << cmdSave << cmdHelp << cmdRestore << cmdQuit;
    for (QRadioButton* option : ModeOptions()) {
        order << option;
    }
    order << cmdAspectarian;
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
        return QWidget::focusNextPrevChild(next);
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
    return QWidget::focusNextPrevChild(next);
}

} // namespace orbivex
