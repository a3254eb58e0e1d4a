#pragma once
// The run window: asks, before a run in world transits, which aspect pattern to look for, how
// many of it at least, which bodies it must involve, and whether to run quickly. The main
// window shows it modally; Run keeps the choices in the PatternRun and hides the window, and
// Cancel or the close box hide it with PatternRun::cancelled set. The choices and the window's
// selections survive between showings for the life of the program.

#include "session/PatternFind.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace orbivex {

class Dialogs;
class PatternRun;
class ProgramTexts;

// The top-left corner (screen pixels) of a run window of the given frame height: its bottom
// 120 layout units above the main window's bottom edge, its left edge 100 layout units to the
// right of the left edge of the main window's chart toggle command.
QPoint RunWindowTopLeft(int mainWindowBottom, int toggleLeft, int windowHeight);

class frmRun : public QDialog {
    Q_OBJECT

  public:
    frmRun(PatternRun& run, const ProgramTexts& texts, Dialogs& dialogs, QWidget* parent = nullptr);

    QLabel* lblRunUntilFinding = nullptr;
    QComboBox* cboAspectPattern = nullptr;
    QPushButton* cmdClearAspectPattern = nullptr;
    QGroupBox* fraFrame = nullptr;
    QCheckBox* chkTwoOrMore = nullptr;
    QComboBox* cboNumToFind = nullptr;
    QLabel* lblInvolving = nullptr;
    std::array<QComboBox*, 3> cboSoughtPlanet{};
    QPushButton* cmdClearAll = nullptr;
    QCheckBox* chkRunQuickly = nullptr;
    QPushButton* cmdRun = nullptr;
    // Find: the same search as Run at full speed, the progress bar showing the date reached;
    // Cancel ends the search and leaves the world date as it was.
    QPushButton* cmdFind = nullptr;
    QProgressBar* prgFind = nullptr;
    QPushButton* cmdCancel = nullptr;
    // Reads the progress of a find (and, without a thread for it, advances it).
    QTimer* tmrFind = nullptr;
    // The once-a-second refresh of the enabled states. Off until the main window switches it
    // on at the end of its start-up; from then on it keeps ticking.
    QTimer* Timer1 = nullptr;

    // The bodies in use (8 without the Pluto table); the sought-body lists offer bodies 1 to
    // this many from the next showing on.
    void SetNumBodies(int numBodies);
    // The main window's background colour (R + 256 G + 65536 B).
    void SetBackColour(int colour);

    // Everything each showing does before the window appears: cancelled cleared, the
    // captions, the lists refilled with the remembered selections, the enabled states.
    void PrepareToShow();
    // Prepares, places the window at topLeft (screen pixels) and shows it modally; returns
    // when Run, Cancel or the close box has hidden it.
    void ShowModal(const QPoint& topLeft);

    // Whether a pattern is chosen in the pattern list.
    bool PatternChosen() const;
    // The main window's own refresh while this window is visible: the sought-body lists are
    // enabled exactly when a pattern is chosen, and their label follows the first list.
    void EnableSoughtBodyLists(bool enabled);

    // What starts a find from the main window's state and the run's choices.
    using FindSource = std::function<std::unique_ptr<PatternFind>()>;
    void SetFindSource(FindSource source);
    bool Finding() const { return find_ != nullptr; }
    // The find that ended the last showing with the pattern found, once; nothing otherwise.
    std::optional<FindOutcome> TakeFind();

    void cmdRun_Click();
    void cmdFind_Click();
    void tmrFind_Timer();
    void cmdCancel_Click();
    void cmdClearAll_Click();
    void cmdClearAspectPattern_Click();
    void Timer1_Timer();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape, as Cancel

  private:
    void cboAspectPattern_Click();
    void chkTwoOrMore_Click();
    void cboSoughtPlanet_Click(int index);
    void FollowPatternSelection();
    void FocusRun();
    std::array<int, 3> SoughtEntries() const;
    // Takes the window's choices into the run; false (after saying why) when they repeat a body.
    bool AcceptChoices();
    // The choices are held while a find goes on.
    void HoldChoices(bool held);
    void EndFind();

    PatternRun& run_;
    const ProgramTexts& texts_;
    Dialogs& dialogs_;
    int numBodies_;
    bool refilling_ = false; // the window itself is changing a selection
    FindSource findSource_;
    std::unique_ptr<PatternFind> find_;
    std::optional<FindOutcome> foundByFind_;
};

} // namespace orbivex
