// The chart picture: the wheel in place of the grid and back, a right click on it, saving it
// as an image, and the course graph of a personal transit.
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
#include "support/TextNumbers.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>

#include <algorithm>

namespace orbivex {

namespace {} // namespace

bool frmMain::ImageShown() const {
    return state.chartShown || blnCourseGraphShown;
}

void frmMain::EnableControls(bool enabled, std::initializer_list<const QWidget*> except) {
    QList<QWidget*> controls = controlsPage_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // The splitter only holds the pictures: they are enabled each on its own.
    controls.removeAll(static_cast<QWidget*>(splChart));
    controls << lblStatus << lblURL << picTable << picGraphic << picWheelBeside;
    for (QWidget* child : controls) {
        if (std::find(except.begin(), except.end(), child) == except.end()) {
            child->setEnabled(enabled);
        }
    }
}

bool frmMain::DrawWheel(double displayScale) {
    WheelInput input = WheelInputOf(state);
    // Drawn with as many device pixels as it takes on the screen, so that it stays crisp when
    // the window enlarges it.
    input.devicePixelRatio = picGraphic->devicePixelRatioF() * std::max(1.0, displayScale);
    wheel_ = DrawChartWheel(input, texts_);
    wheelDrawnScale_ = displayScale;
    return wheel_.drawn();
}

void frmMain::ShowWheelBeside() {
    const bool beside = WideLayout() && !state.chartShown && !blnCourseGraphShown &&
                        IsChartMode(view.mode) && view.grid.cellCount > 0;
    if (beside && DrawWheel(picWheelBeside->isVisible() ? picWheelBeside->DisplayScale() : 1.0)) {
        picWheelBeside->SetImage(wheel_.image);
        if (!picWheelBeside->isVisible() && !splitterMoved_) {
            // Grid and wheel share the width equally until the user moves the bar.
            const int half = splChart->width() / 2;
            picWheelBeside->show();
            splChart->setSizes({half, half});
        }
        picWheelBeside->show();
    } else {
        picWheelBeside->hide();
        picWheelBeside->Clear();
    }
    UpdateStaleMark();
}

void frmMain::ShowWheel() {
    if (!DrawWheel(picGraphic->isVisible() ? picGraphic->DisplayScale() : 1.0)) {
        // Nothing usable was drawn: the grid stays, or comes back, and the user learns why.
        const bool refused = wheel_.status == WheelStatus::FiltersRefused;
        ShowGridInsteadOfPicture();
        dialogs_.ShowMessage(this, wheel_.message, refused ? ProgramName() : wheel_.messageTitle,
                             refused ? Dialogs::Icon::Information : Dialogs::Icon::Exclamation);
        return;
    }
    picGraphic->SetImage(wheel_.image);
    picGraphic->show();
    picTable->hide();
    state.chartShown = true;
    // The picture takes the whole area; a wheel beside it would repeat it.
    picWheelBeside->hide();
    wheelRedraw_->start();
    cmdToggleGraphic->setText(texts_.ProgramText(text::DisplayGrid));
    UpdateTitle();
    UpdateClickHint();
    SetSaveAsCaption();
}

void frmMain::ShowGridInsteadOfPicture() {
    state.chartShown = false;
    picGraphic->hide();
    picGraphic->Clear();
    picTable->setVisible(view.grid.cellCount > 0);
    cmdToggleGraphic->setText(texts_.ProgramText(text::DisplayChart));
    cmdRun->hide();
    ShowReports();
    UpdateTitle();
    UpdateClickHint();
    SetSaveAsCaption();
    ShowWheelBeside();
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
    picGraphic->show();
    picTable->hide();
    picWheelBeside->hide();
    blnCourseGraphShown = true;
    picGraphic->setToolTip(decision.chartTip);
    cmdToggleGraphic->setText(texts_.ProgramText(text::DisplayGrid));
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
