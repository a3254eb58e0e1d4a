// The main window and the chart library: the Library window (Ctrl+L), a chart loaded into a
// date set from it, and "Add to library" on each date set's row.
#include "app/frmLibrary.h"
#include "app/frmMain.h"

#include "app/Dialogs.h"
#include "present/Messages.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace orbivex {

namespace {

const QString kAddToLibraryTitle = QStringLiteral("Add to library");

} // namespace

QString frmMain::LibraryFile() const {
    return setup_.libraryFile.isEmpty()
               ? QDir(setup_.userStateFolder).filePath(QLatin1String(kChartLibraryFileName))
               : setup_.libraryFile;
}

frmLibrary& frmMain::LibraryWindow() {
    if (!library_) {
        library_ = std::make_unique<frmLibrary>(
            dialogs_, state.zones, LibraryFile(),
            [this](const LibraryChart& chart, int dateSet) { LoadLibraryChart(chart, dateSet); });
    }
    return *library_;
}

void frmMain::SetUpLibraryCommands() {
    // A right click on a row's caption or its month and day lists.
    for (int s = 0; s < NumDateSets; ++s) {
        for (QWidget* part :
             {static_cast<QWidget*>(Label1[s]), static_cast<QWidget*>(cboMonthCE[s]),
              static_cast<QWidget*>(cboDayCE[s])}) {
            part->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(part, &QWidget::customContextMenuRequested, this, [this, s, part](QPoint at) {
                QMenu menu(this);
                QAction* add = menu.addAction(QStringLiteral("&Add to library..."), this,
                                              [this, s] { AddToLibrary(s); });
                add->setEnabled(blnStartupCompleted && !Running());
                menu.addAction(QStringLiteral("Chart &library..."), this,
                               [this] { cmdLibrary_Click(); })
                    ->setEnabled(blnStartupCompleted && !Running());
                menu.exec(part->mapToGlobal(at));
            });
        }
        Label1[s]->setToolTip(QStringLiteral("Right-click to add this date to the chart library"));
    }
}

void frmMain::cmdLibrary_Click() {
    frmLibrary& window = LibraryWindow();
    window.Refresh();
    window.show();
    window.raise();
    window.activateWindow();
    window.txtSearch->setFocus();
}

void frmMain::LoadLibraryChart(const LibraryChart& chart, int dateSet) {
    if (dateSet < 0 || dateSet >= NumDateSets || Running() || !ephemeris_) {
        return;
    }
    ReadControls();
    state.dateSets[dateSet] = DateSetOfLibraryChart(chart);
    NameDateSet(state, dateSet, chart.subject.name, chart.id);
    state.places[dateSet] = chart.place;
    typedPlaces_[dateSet] = {chart.subject.place, chart.place};
    ShowDateSet(dateSet);
    cboDayCE[dateSet]->setToolTip(UpdateDayOfWeekTip(state.dateSets[dateSet]));
    SetStatus(StandingStatusText());
    // The chart is computed at once, in a mode that shows the date set.
    const ChartMode mode = ModeShowingDateSet(state.mode, dateSet);
    if (mode != state.mode) {
        ShowModeOption(mode);
        ModeOptionSelected(mode);
    } else {
        cmdCompute_Click();
    }
    raise();
    activateWindow();
}

void frmMain::AddToLibrary(int dateSet) {
    if (dateSet < 0 || dateSet >= NumDateSets) {
        return;
    }
    ReadControls();
    LibraryChart chart;
    chart.subject = SubjectOfDateSet(state.dateSets[dateSet]);
    const Expected<double, DateError> instant =
        InputDateToAJDate(state.dateSets[dateSet], state.zones);
    if (!instant) {
        const DateErrorText error = ReportDateError(texts_, dateSet, instant.error());
        dialogs_.ShowMessage(this, error.message, kAddToLibraryTitle, Dialogs::Icon::Information);
        return;
    }
    chart.subject.name = NameOfDateSet(state, dateSet, false);
    chart.place = state.places[dateSet];
    if (chart.place) {
        chart.subject.place = chart.place->name;
        // A date read at its place is kept so, without a zone of its own.
        if (state.dateSets[dateSet].placeLongitude) {
            chart.subject.zone.clear();
        }
    }
    if (addToLibrary_ == nullptr) {
        addToLibrary_ = new frmLibraryChart(dialogs_, state.zones, this);
    }
    addToLibrary_->Edit(chart, kAddToLibraryTitle, [this, dateSet](const LibraryChart& added) {
        ChartLibrary* library = LibraryWindow().Library();
        if (library == nullptr) {
            return false;
        }
        const LibraryResult<qint64> id = library->Add(added);
        if (!id) {
            dialogs_.ShowMessage(this, id.error().message, kAddToLibraryTitle,
                                 Dialogs::Icon::Exclamation);
            return false;
        }
        // The date set takes the date as the form stored it, and its name.
        ReadControls();
        state.dateSets[dateSet] = DateSetOfLibraryChart(added);
        state.places[dateSet] = added.place;
        typedPlaces_[dateSet] = {added.subject.place, added.place};
        ShowDateSet(dateSet);
        NameDateSet(state, dateSet, added.subject.name, *id);
        MarkStale(dateSet);
        UpdateTitle();
        SetStatus(QStringLiteral("\u201C%1\u201D was added to the chart library.")
                      .arg(added.subject.name));
        if (library_ && library_->isVisible()) {
            library_->Refresh();
        }
        return true;
    });
    addToLibrary_->open();
}

} // namespace orbivex
