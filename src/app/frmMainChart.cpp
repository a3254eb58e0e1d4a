// The chart picture: the wheel in place of the grid and back, a right click on it, saving it
// as an image, and the course graph of a personal transit.
#include "app/MainWindowLayout.h"
#include "app/MainWindowTexts.h"
#include "app/frmMain.h"

#include "app/DialogFlows.h"
#include "app/Dialogs.h"
#include "app/PictureBox.h"
#include "app/frmConfigure.h"
#include "draw/ImageExport.h"
#include "draw/LayoutUnits.h"
#include "draw/WheelSvg.h"
#include "present/PictureInput.h"
#include "session/Durations.h"
#include "session/RememberedFolders.h"
#include "support/Mnemonic.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace orbivex {

using namespace caption;

namespace {

// The picture's left edge in the window, layout units: the wheel's and the course graph's.
constexpr int kWheelLeft = 1200;
constexpr int kCourseGraphLeft = 750;

} // namespace

bool frmMain::ImageShown() const {
    return state.chartShown || blnCourseGraphShown;
}

void frmMain::PlacePicture(int leftLayoutUnits) {
    picGraphic->move(LayoutUnitsToPixels(leftLayoutUnits), LayoutUnitsToPixels(layout::TableTop));
}

void frmMain::EnableControls(bool enabled, std::initializer_list<const QWidget*> except) {
    QList<QWidget*> controls = controlsPage_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    controls << lblStatus << lblURL;
    for (QWidget* child : controls) {
        if (std::find(except.begin(), except.end(), child) == except.end()) {
            child->setEnabled(enabled);
        }
    }
}

void frmMain::ShowWheel() {
    WheelInput input = WheelInputOf(state);
    input.devicePixelRatio = picGraphic->devicePixelRatioF();
    wheel_ = DrawChartWheel(input, texts_);
    if (!wheel_.drawn()) {
        // Nothing usable was drawn: the grid stays, or comes back, and the user learns why.
        const bool refused = wheel_.status == WheelStatus::FiltersRefused;
        ShowGridInsteadOfPicture();
        dialogs_.ShowMessage(this, wheel_.message, refused ? ProgramName() : wheel_.messageTitle,
                             refused ? Dialogs::Icon::Information : Dialogs::Icon::Exclamation);
        return;
    }
    picGraphic->SetImage(wheel_.image);
    PlacePicture(kWheelLeft);
    picGraphic->show();
    picTable->hide();
    state.chartShown = true;
    cmdToggleGraphic->setText(texts_.ProgramText(kDisplayGridText));
    UpdateTitle();
    UpdateClickHint();
    SetSaveAsCaption();
}

void frmMain::ShowGridInsteadOfPicture() {
    state.chartShown = false;
    picGraphic->hide();
    picGraphic->Clear();
    picTable->setVisible(view.grid.cellCount > 0);
    cmdToggleGraphic->setText(texts_.ProgramText(kDisplayChartText));
    cmdRun->hide();
    ShowReports();
    UpdateTitle();
    UpdateClickHint();
    SetSaveAsCaption();
}

void frmMain::cmdToggleGraphic_Click() {
    picGraphic->setToolTip(QString());
    if (blnCourseGraphShown) {
        EndCourseGraph();
    }
    EnableControls(true, {});
    if (picGraphic->isVisibleTo(this)) {
        ShowGridInsteadOfPicture();
    } else {
        ShowWheel();
    }
    cmdSaveAs->setToolTip(QString());
    ArrangeUnderGrid();
    // Which of the stepping commands and Run now apply.
    RefreshControls(false);
}

void frmMain::picGraphic_RightClick(QPoint pixel) {
    if (blnCourseGraphShown) {
        picGraphic->setToolTip(QString());
        if (const std::optional<CourseGraphNote> note =
                CourseGraphRightClick(courseGraph_, pixel, texts_)) {
            dialogs_.ShowMessage(this, note->text, note->title, Dialogs::Icon::Information);
        }
        return;
    }
    if (!state.chartShown) {
        return;
    }
    // The centre of the pixel under the pointer.
    const QString name = NameAspectsAt(wheel_, QPointF(pixel) + QPointF(0.5, 0.5));
    if (!name.isEmpty()) {
        dialogs_.ShowMessage(this, name, LineNameTitle(), Dialogs::Icon::Information);
    }
}

void frmMain::SaveImage() {
    // The course graph is saved as shown; the wheel as a composed copy with its dates.
    FolderRememberingDialogs images(dialogs_, FileKind::Image);
    const QString title = WithoutMnemonic(cmdSaveAs->text());
    const ImageSaveResult result =
        blnCourseGraphShown
            ? SaveImageAs(images, this, picGraphic->Image(), texts_, title)
            : SaveWheelImageAs(images, this, ExportInputOf(state, texts_), texts_, title);
    if (result == ImageSaveResult::Cancelled) {
        cmdToggleGraphic->show();
    }
}

void frmMain::ShowCourseGraph(const CellDoubleClick& decision) {
    CourseGraph graph = DrawCourseGraph(*ephemeris_, CourseGraphInputsOf(state, decision.graph));
    if (graph.image.isNull()) {
        return;
    }
    courseGraph_ = std::move(graph);
    lblClickonAspect->clear();
    txbReport1->hide();
    picGraphic->SetImage(courseGraph_.image);
    PlacePicture(kCourseGraphLeft);
    picGraphic->show();
    picTable->hide();
    blnCourseGraphShown = true;
    picGraphic->setToolTip(decision.chartTip);
    cmdToggleGraphic->setText(texts_.ProgramText(kDisplayGridText));
    cmdToggleGraphic->show();
    cmdRun->hide();
    SetSaveAsCaption();
    // Until the toggle ends the graph, only the toggle, Quit and saving the image are offered,
    // and the picture keeps answering right clicks. The focus goes to the toggle first: were
    // it left in a date control, disabling that control would pass it on through the others,
    // and each one left would report a date change.
    cmdToggleGraphic->setEnabled(true);
    cmdToggleGraphic->setFocus();
    EnableControls(false, {cmdToggleGraphic, cmdQuit, cmdSaveAs, picGraphic});
    if (configure_ && configure_->isVisible()) {
        configure_->hide();
        configurationHiddenByGraph_ = true;
    }
    UpdateStaleMark();
}

void frmMain::EndCourseGraph() {
    blnCourseGraphShown = false;
    if (configurationHiddenByGraph_ && configure_) {
        configure_->show();
    }
    configurationHiddenByGraph_ = false;
}

} // namespace orbivex
