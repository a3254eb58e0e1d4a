#pragma once
// The durations window: a modeless window over the lower part of the main window that lists
// the aspects of the grid with their beginnings, ends and durations (world and personal
// transits) or gives the natal report (natal aspects and synastry). It is created once, then
// only shown by Report and hidden by Close; its content stays until the next Report.

#include "present/DurationsReport.h"

#include <QColor>
#include <QIcon>
#include <QRect>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orbivex {

class Dialogs;
class Ephemeris;
class ProgramTexts;

class frmDurations : public QWidget {
    Q_OBJECT

  public:
    frmDurations(Dialogs& dialogs, const ProgramTexts& texts, QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLabel* lblSortBy = nullptr;
    QComboBox* cboSortBy = nullptr;
    QCheckBox* chkShowDuration = nullptr;
    QPlainTextEdit* txbOutput = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdClose = nullptr;
    bool blnFillingSortList = false;

    // What Report takes from the main window.
    struct MainWindowPlacement {
        QRect frame;              // the main window's frame geometry (screen pixels)
        int gridContainerTop = 0; // top of the grid container in the main window, pixels
        QColor background;
        QIcon icon;
    };

    // Places the window over the lower part of the main window, titles it, builds the list
    // or natal report of the state's last Compute and shows the window, not modal.
    void Report(const ProgramState& state, const Ephemeris& ephemeris,
                const MainWindowPlacement& placement);

    const DurationsContent& Content() const { return content_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Activate();
    void cboSortBy_Click(int index);
    void chkShowDuration_Click(bool checked);
    // Whichever control switched the durations on or off, the window's width follows.
    void FitWidthToDurations();
    void cmdCopy_Click();
    void cmdClose_Click();
    void ShowOutput();

    Dialogs& dialogs_;
    const ProgramTexts& texts_;
    DurationsContent content_;
    int mainWidth_ = 0; // pixels, frame included: the window's width with durations shown
};

} // namespace orbivex
