#pragma once
// The chart library window: the people and events kept in the library file, found by typing
// part of a name or a tag, loaded into a date set of the main window, added, changed, removed
// (with undo), imported and exported. frmLibraryChart is the small form that adds or changes
// one chart; the main window's "Add to library" uses it too.

#include "app/DateSetControls.h"
#include "session/ChartLibrary.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace orbivex {

class Dialogs;
class ProgramTexts;
struct TimeZones;

// The form of one chart: name, the date controls of the main window, calendar, place, rating,
// tags and notes. OK checks the chart and hands it to `store`, which answers whether it was
// kept; the form stays open when it was not.
class frmLibraryChart : public QDialog {
    Q_OBJECT

  public:
    using Store = std::function<bool(const LibraryChart&)>;
    frmLibraryChart(Dialogs& dialogs, const TimeZones& zones, QWidget* parent = nullptr);

    // Shows the chart in the controls, to be stored by `store` on OK.
    void Edit(const LibraryChart& chart, const QString& title, Store store);
    // The chart the controls hold, or the message that says what is wrong with it.
    Expected<LibraryChart> ChartOfControls() const;
    // OK: checks and stores; the form closes when the chart was kept.
    void cmdOK_Click();

    QLineEdit* txtName = nullptr;
    DateSetControls date;
    QComboBox* cboCalendar = nullptr;
    QLineEdit* txtPlace = nullptr;
    QComboBox* cboRating = nullptr;
    QLineEdit* txtTags = nullptr;
    QPlainTextEdit* txtNotes = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    Dialogs& dialogs_;
    const TimeZones& zones_;
    LibraryChart chart_; // what Edit was given: its id, times and fields the form has no box for
    Store store_;
};

class frmLibrary : public QWidget {
    Q_OBJECT

  public:
    // Loads a chart into date set `dateSet` of the main window.
    using LoadChart = std::function<void(const LibraryChart& chart, int dateSet)>;
    frmLibrary(Dialogs& dialogs, const TimeZones& zones, QString path, LoadChart load,
               QWidget* parent = nullptr);
    ~frmLibrary() override;

    // The library file, opened when first needed; nothing (and the message shown once) when
    // it cannot be opened, which leaves the file as it was.
    ChartLibrary* Library();
    const QString& Path() const { return path_; }
    // Another library file: the list shows its charts.
    void SetPath(const QString& path);
    // Reads the charts that match the search box again.
    void Refresh();

    // ---- Commands ----
    void txtSearch_Change();
    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    // Puts back the chart removed last.
    void cmdUndo_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    void cmdOpen_Click();
    // The selected chart into a date set (double-click: the 1st birthdate).
    void LoadSelected(int dateSet);

    // The chart of the selected row; nothing when no row is selected.
    std::optional<LibraryChart> SelectedChart() const;
    frmLibraryChart* chartForm() const { return form_; }

    QLineEdit* txtSearch = nullptr;
    QTableWidget* grdCharts = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* lblUndo = nullptr;   // "“Ada” removed — Undo"
    QLabel* lblStatus = nullptr; // how many charts are shown, or what went wrong

    // The most rows the list shows at once; a search narrows them down.
    static constexpr int MaxRows = 2000;

  private:
    void ShowCharts(const QList<LibraryChart>& charts);
    void ShowContextMenu(const QPoint& at);
    void EditChart(const LibraryChart& chart, const QString& title);
    void ShowFailure(const QString& message);
    void UpdateButtons();
    // Runs orbivex-cli's library import or export, which the window shares with the command
    // line; the status line tells how it went.
    void RunLibraryCommand(const QStringList& arguments, const QString& title);

    Dialogs& dialogs_;
    const TimeZones& zones_;
    QString path_;
    LoadChart load_;
    std::unique_ptr<ChartLibrary> library_;
    QString openFailure_; // why the file could not be opened; shown once per path
    frmLibraryChart* form_ = nullptr;
    QList<LibraryChart> shown_; // the charts of the rows, in the order they were read
    std::optional<LibraryChart> removed_;
};

// The program beside this one that the window hands imports and exports to.
QString LibraryCommandProgram();

} // namespace orbivex
