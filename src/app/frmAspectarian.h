#pragma once
// The aspectarian window: every exact heliocentric aspect of a year (or of a span of dates) in
// time order, filtered by body and by aspect, with Copy and Save as CSV. A double-click on an
// event hands its moment to the main window. Modeless; created once, then shown and hidden.

#include "present/Aspectarian.h"
#include "session/AspectarianFind.h"

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTimer;

namespace orbivex {

class Dialogs;
class Ephemeris;
class ProgramTexts;

// The events of the list as rows (time, the body with the shorter period, aspect, the other body),
// only those that pass the filter; a century's tens of thousands of rows cost nothing until they
// are shown.
class AspectarianModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit AspectarianModel(const ProgramTexts& texts, QObject* parent = nullptr);

    void SetEvents(std::vector<ExactAspect> events, const MomentZone& zone);
    void SetFilter(std::optional<BodyIndex> body, AspectKind kind);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const ExactAspect& EventAt(int row) const;
    // The events shown, in list order.
    std::vector<ExactAspect> ShownEvents() const;
    const MomentZone& Zone() const { return zone_; }

  private:
    void Refilter();

    const ProgramTexts& texts_;
    std::vector<ExactAspect> events_;
    std::vector<int> shown_; // indices into events_
    MomentZone zone_;
    std::optional<BodyIndex> body_; // none: every body
    AspectKind kind_ = AspectKind::NoAspect;
};

class frmAspectarian : public QWidget {
    Q_OBJECT

  public:
    // momentChosen receives the moment (UT) of a double-clicked event.
    frmAspectarian(Dialogs& dialogs, const ProgramTexts& texts, const Ephemeris& ephemeris,
                   std::function<void(double)> momentChosen, QWidget* parent = nullptr);

    QRadioButton* optYear = nullptr;
    QSpinBox* txbYear = nullptr;
    QRadioButton* optSpan = nullptr;
    QDateEdit* txbFrom = nullptr;
    QDateEdit* txbTo = nullptr;
    QPushButton* cmdList = nullptr;
    QComboBox* cboBody = nullptr;
    QComboBox* cboAspect = nullptr;
    QTableView* lstEvents = nullptr;
    QLabel* lblCount = nullptr;
    // While the events are sought: the day reached, and Cancel, which keeps the list as it was.
    QProgressBar* prgList = nullptr;
    QPushButton* cmdCancel = nullptr;
    // Reads the progress of the search and takes its events when it is done.
    QTimer* tmrList = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSaveCsv = nullptr;
    QPushButton* cmdClose = nullptr;

    // Shows the window for the year of `year`, its times in `zone`, with the aspects switched
    // on in `settings`, and starts listing them.
    void Open(int year, const MomentZone& zone, const ConfigurationSettings& settings);

    AspectarianModel& Model() { return model_; }
    // Whether a search for the events is under way.
    bool Listing() const { return find_ != nullptr; }

    // Starts the search for the events of the year or span chosen (cancelling one under way);
    // the list is filled when it is done.
    void cmdList_Click();
    void tmrList_Timer();
    void cmdCancel_Click();
    void cmdCopy_Click();
    void cmdSaveCsv_Click();
    void lstEvents_DblClick(const QModelIndex& index);

  protected:
    // Hiding the window (Close, Escape, the close box) cancels a search under way.
    void hideEvent(QHideEvent* event) override;

  private:
    void ApplyFilter();
    // Ends the search under way, if any, and hides its progress.
    void EndList();

    Dialogs& dialogs_;
    const ProgramTexts& texts_;
    const Ephemeris& ephemeris_;
    std::function<void(double)> momentChosen_;
    AspectarianModel model_;
    MomentZone zone_;
    ConfigurationSettings settings_;
    std::unique_ptr<AspectarianFind> find_;
    // Cancelled searches still finishing their stretch of days, so that Cancel need not wait
    // for them; dropped once they have ended.
    std::vector<std::unique_ptr<AspectarianFind>> cancelled_;
    MomentZone findZone_; // the zone the search under way was asked in
};

} // namespace orbivex
