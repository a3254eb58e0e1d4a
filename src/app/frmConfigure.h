#pragma once
// The configuration window: the orbs of the seven aspect kinds and their colours, the orb
// proportions of personal transits and synastry, the midpoint orb, the boldface rule, the chart
// filters and the time-zone names. The main window shows it modally with exec(). Its controls
// show a working copy (ConfigurationEdit); only "Use settings" and "Reset to default" after
// start-up commit it, and the main window recomputes through onSettingsCommitted.

#include "session/Configuration.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace orbivex {

class Dialogs;
class ProgramTexts;
class WheelOptionsBox;

// Where the window and the main window go when the window becomes active (pixels, frame
// top-left corners): the window vertically centred on the main window with its left edge at the
// main window's right edge, but no further right than the screen's width less the window's
// width less 300 layout units; the main window then moves left so that its right edge touches
// the window. Neither goes past the screen's left or top edge.
struct ConfigurePlacement {
    QPoint window;
    QPoint mainWindow;
};
ConfigurePlacement PlaceBesideMainWindow(const QRect& mainFrame, const QSize& windowFrame,
                                         const QRect& screen);

// A colour line: a row of dashes in an aspect's colour on black. It reports mouse presses to
// its owner; the owner decides what they mean.
class AspectColourLine : public QLabel {
  public:
    explicit AspectColourLine(QWidget* parent = nullptr);
    // Paints the dashes in the colour (R + 256 G + 65536 B); 0 leaves them black on black.
    void SetColour(int colour);
    int Colour() const { return colour_; }

    std::function<void(Qt::MouseButton)> onMouseDown;

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int colour_ = 0;
};

class frmConfigure : public QDialog {
    Q_OBJECT

  public:
    // `committed` is the program's settings, read and committed by the window; creating the
    // window changes nothing in it. `mainWindow` is the window it is placed beside (may be
    // null).
    frmConfigure(ConfigurationSettings& committed, const ProgramTexts& texts, Dialogs& dialogs,
                 QWidget* mainWindow);

    // Called after "Use settings" has committed: the main window rebuilds its time-zone lists
    // and recomputes.
    std::function<void()> onSettingsCommitted;
    // Before start-up has completed, "Reset to default" neither asks nor commits.
    void setStartupCompleted(bool completed);
    // True after "Use settings" committed in the current showing.
    bool blnAccept = false;

    // The window becomes active: placed beside the main window, the controls show the committed
    // settings, the focus goes to "Cancel". Runs each time the window is shown.
    void Form_Activate();
    // "Use settings": commits the controls unless both chart filters are ticked.
    void cmdAccept_Click();
    // "Cancel": the controls go back to the committed settings and the window hides.
    void cmdCancel_Click();
    // "Hide": the settings that act at once (boldface rule, proportions, midpoint orb) apply
    // from the next computation; the window hides.
    void cmdHide_Click();
    // "Reset to default": asks when shown after start-up, then shows and (after start-up)
    // commits the defaults.
    void cmdReset_Click();
    // "Set all non-zero orbs to:" asks, then gives every orb that is not 0° the orb of the
    // "Set all" list.
    void cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
    // A choice in orb list `index` (0..7).
    void cboOrb_Click(int index);
    // A mouse button pressed on colour line `index` (0..6): left cycles the colour, any other
    // button switches the aspect off or back on.
    void lblAspectColor_MouseDown(int index, Qt::MouseButton button);
    // What the controls show.
    const ConfigurationEdit& Edit() const { return edit_; }

    // The controls.
    QLabel* Label3 = nullptr; // the instructions of the orb and colour block
    std::array<QLabel*, NumAspectKinds> lblAspectName{};
    std::array<QComboBox*, NumOrbLists> cboOrb{};
    std::array<AspectColourLine*, NumAspectKinds> lblAspectColor{};
    QPushButton* cmdSetAllNonzeroOrbsToConjunctionOrb = nullptr;
    QLabel* Label1 = nullptr; // "Proportion of above orbs for use with"
    QLabel* lblPersonalTransits = nullptr;
    QLabel* lblSynastry = nullptr;
    std::array<QComboBox*, 2> cboPersonalOrbsProportion{}; // personal transits, synastry
    QLabel* lblOrbForMidpoints = nullptr;
    QComboBox* cboOrbForMidpoints = nullptr;
    QCheckBox* chkUseBoldface = nullptr;
    QRadioButton* opt1DegOfOrb = nullptr;
    QRadioButton* optProportionOfOrb = nullptr;
    QComboBox* cboBoldfaceFactor = nullptr;
    QLabel* lblOfOrb = nullptr;
    QCheckBox* chkShowOnlyOuterPlanets = nullptr;
    QCheckBox* chkShowOnlyEarthAspects = nullptr;
    QCheckBox* chkDisplayNATZabbr = nullptr;
    WheelOptionsBox* fraWheel = nullptr; // the wheel's style and theme
    QGroupBox* fraDates = nullptr;       // the calendar of the dates
    QComboBox* cboCalendar = nullptr;
    QGroupBox* fraZodiac = nullptr; // the zodiac the signs are counted in
    QComboBox* cboZodiac = nullptr;
    QPushButton* cmdAccept = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHide = nullptr;
    QPushButton* cmdReset = nullptr;

    // Escape and the close box act as "Cancel": what "Use settings" committed stays, edits not
    // yet committed are dropped.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    // A list showing `entries` whose choice sets the working copy's `position`.
    QComboBox* BoundList(const QString& name, const QList<ListEntry>& entries,
                         int ConfigurationSettings::*position);
    // A check box whose state sets the working copy's `setting`.
    QCheckBox* BoundBox(const QString& name, bool ConfigurationSettings::*setting);
    void SetCaptions();
    void ShowControls();
    void ControlChanged();
    void EnableBoldfaceChoices();
    void FocusIfUsable(QWidget* widget);
    void PlaceWindows();

    ConfigurationSettings& committed_;
    const ProgramTexts& texts_;
    Dialogs& dialogs_;
    QWidget* mainWindow_ = nullptr;
    ConfigurationEdit edit_;
    bool startupCompleted_ = false;
    QSize designSize_;
};

} // namespace orbivex
