#include "app/frmLibrary.h"

#include "app/Dialogs.h"
#include "calendar/ChartSubject.h"
#include "session/PlaceLookup.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orbivex {

namespace {

const QString kLibraryTitle = QStringLiteral("Chart library");

enum Column { NameColumn, DateColumn, ZoneColumn, RatingColumn, TagsColumn, ColumnCount };

// A cell that sorts by `key` rather than by its text.
class SortedItem : public QTableWidgetItem {
  public:
    SortedItem(const QString& text, QString key) : QTableWidgetItem(text), key_(std::move(key)) {}
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* sorted = dynamic_cast<const SortedItem*>(&other);
        return sorted != nullptr ? key_.compare(sorted->key_, Qt::CaseInsensitive) < 0
                                 : QTableWidgetItem::operator<(other);
    }

  private:
    QString key_;
};

// The date column sorts in time: the year padded, years before 1000 included.
QString DateKey(const ChartSubject& subject) {
    return QStringLiteral("%1").arg(subject.year, 6, 10, QLatin1Char('0')) +
           SubjectDateText(subject).mid(4);
}

QStringList TagsOfText(const QString& text) {
    return NormalisedTags(text.split(QLatin1Char(',')));
}

} // namespace

QString LibraryCommandProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("orbivex-cli"));
}

// ---- The form of one chart ---------------------------------------------------------------

frmLibraryChart::frmLibraryChart(Dialogs& dialogs, const TimeZones& zones, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), zones_(zones) {
    setObjectName(QStringLiteral("frmLibraryChart"));
    setWindowModality(Qt::WindowModal);
    auto* form = new QFormLayout;
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    form->addRow(QStringLiteral("&Name:"), txtName);

    date = MakeDateSetControls(this, zones.list);
    date.year->setObjectName(QStringLiteral("txbYearCE"));
    date.month->setObjectName(QStringLiteral("cboMonthCE"));
    date.day->setObjectName(QStringLiteral("cboDayCE"));
    date.hour->setObjectName(QStringLiteral("cboHour"));
    date.zone->setObjectName(QStringLiteral("cboTimezone"));
    date.year->setAccessibleName(QStringLiteral("Year"));
    date.month->setAccessibleName(QStringLiteral("Month"));
    date.day->setAccessibleName(QStringLiteral("Day"));
    date.year->setMaximumWidth(
        date.year->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(date.year);
    dateRow->addWidget(date.month, 2);
    dateRow->addWidget(date.day, 1);
    auto* dateLabel = new QLabel(QStringLiteral("&Date:"), this);
    dateLabel->setBuddy(date.year);
    form->addRow(dateLabel, dateRow);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(date.hour, 1);
    timeRow->addWidget(date.zone, 2);
    auto* timeLabel = new QLabel(QStringLiteral("&Time and zone:"), this);
    timeLabel->setBuddy(date.hour);
    form->addRow(timeLabel, timeRow);

    cboCalendar = new QComboBox(this);
    cboCalendar->setObjectName(QStringLiteral("cboCalendar"));
    cboCalendar->addItems({QStringLiteral("Gregorian"), QStringLiteral("Julian"),
                           QStringLiteral("Julian before 15 October 1582")});
    form->addRow(QStringLiteral("&Calendar:"), cboCalendar);

    txtPlace = new QLineEdit(this);
    txtPlace->setObjectName(QStringLiteral("txtPlace"));
    form->addRow(QStringLiteral("&Place:"), txtPlace);

    cboRating = new QComboBox(this);
    cboRating->setObjectName(QStringLiteral("cboRating"));
    cboRating->addItem(QString());
    cboRating->addItems(DataRatings());
    cboRating->setToolTip(QStringLiteral("The data rating of the birth time: AA from the birth "
                                         "record, A from memory, B from a biography, C of "
                                         "uncertain origin, DD conflicting, X no time, XX no "
                                         "date either"));
    form->addRow(QStringLiteral("&Rating:"), cboRating);

    txtTags = new QLineEdit(this);
    txtTags->setObjectName(QStringLiteral("txtTags"));
    txtTags->setPlaceholderText(QStringLiteral("separated by commas"));
    form->addRow(QStringLiteral("&Tags:"), txtTags);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    txtNotes->setMinimumHeight(txtNotes->fontMetrics().height() * 4);
    form->addRow(QStringLiteral("N&otes:"), txtNotes);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOK = buttons->button(QDialogButtonBox::Ok);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = buttons->button(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // OK checks before the form closes, so it is not the box's accepted().
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(cmdOK, &QPushButton::clicked, this, &frmLibraryChart::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(sizeHint().width() * 5 / 4, sizeHint().height());
}

void frmLibraryChart::Edit(const LibraryChart& chart, const QString& title, Store store) {
    chart_ = chart;
    store_ = std::move(store);
    setWindowTitle(title);
    const ChartSubject& subject = chart.subject;
    txtName->setText(subject.name);
    DateSet dateSet = DateSetOfSubject(subject);
    if (subject.year == 0) {
        dateSet.yearText.clear(); // a new chart: nothing typed yet
    }
    ShowDateSetControls(date, dateSet, zones_.list);
    cboCalendar->setCurrentIndex(static_cast<int>(subject.calendar));
    txtPlace->setText(subject.place);
    cboRating->setCurrentIndex(std::max(0, cboRating->findText(chart.rating)));
    txtTags->setText(chart.tags.join(QStringLiteral(", ")));
    txtNotes->setPlainText(chart.notes);
    txtName->setFocus();
    txtName->selectAll();
}

Expected<LibraryChart> frmLibraryChart::ChartOfControls() const {
    LibraryChart chart = chart_;
    DateSet dateSet;
    dateSet.calendar = static_cast<CalendarChoice>(std::max(0, cboCalendar->currentIndex()));
    ReadDateSetControls(date, dateSet);
    const QString name = txtName->text().trimmed();
    if (name.isEmpty()) {
        return Fail(QStringLiteral("Give the chart a name."));
    }
    if (const Expected<double, DateError> instant = InputDateToAJDate(dateSet, zones_); !instant) {
        switch (instant.error()) {
        case DateError::Incomplete:
            return Fail(QStringLiteral("Enter the year, month and day."));
        case DateError::DoesNotExist:
            return Fail(QStringLiteral("There is no such day in that month."));
        case DateError::BeforeYearOne:
            return Fail(QStringLiteral("The year must be 1 or later."));
        case DateError::FromYear2800:
            return Fail(QStringLiteral("The year must be before 2800."));
        case DateError::UnknownZone:
            return Fail(
                QStringLiteral("The time-zone database has no zone \"%1\".").arg(dateSet.zoneName));
        }
    }
    ChartSubject subject = SubjectOfDateSet(dateSet);
    subject.name = name;
    // The place as the atlas (or coordinates with a zone) gives it; a place left as it was keeps
    // the place it stood for, not the first of the atlas's places of that name.
    const QString placeText = txtPlace->text().trimmed();
    if (placeText.isEmpty()) {
        chart.place.reset();
    } else if (placeText != chart_.subject.place || !chart_.place) {
        const Expected<FoundPlace, QString> found = FindPlace(Atlas(), placeText, subject.zone);
        if (!found) {
            return Fail(found.error());
        }
        chart.place = found->place;
    }
    subject.place = chart.place ? chart.place->name : QString();
    // A date without a zone of its own, or in the place's zone, is read at the place: in the
    // local mean time of its longitude while the zone kept local mean time.
    if (chart.place && (subject.zone.isEmpty() || dateSet.zoneName == chart.place->zone)) {
        subject.zone.clear();
    }
    chart.subject = subject;
    chart.rating = cboRating->currentText();
    chart.tags = TagsOfText(txtTags->text());
    chart.notes = txtNotes->toPlainText();
    return chart;
}

void frmLibraryChart::cmdOK_Click() {
    const Expected<LibraryChart> chart = ChartOfControls();
    if (!chart) {
        dialogs_.ShowMessage(this, chart.error(), windowTitle(), Dialogs::Icon::Exclamation);
        return;
    }
    if (store_ && !store_(*chart)) {
        return;
    }
    accept();
}

// ---- The library window ------------------------------------------------------------------

frmLibrary::frmLibrary(Dialogs& dialogs, const TimeZones& zones, QString path, LoadChart load,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), zones_(zones), path_(std::move(path)),
      load_(std::move(load)) {
    setObjectName(QStringLiteral("frmLibrary"));
    setWindowTitle(kLibraryTitle);

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Search names and tags"));
    txtSearch->setClearButtonEnabled(true);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmLibrary::txtSearch_Change);

    grdCharts = new QTableWidget(0, ColumnCount, this);
    grdCharts->setObjectName(QStringLiteral("grdCharts"));
    grdCharts->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Date"),
                                          QStringLiteral("Zone or place"), QStringLiteral("Rating"),
                                          QStringLiteral("Tags")});
    grdCharts->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdCharts->setSelectionMode(QAbstractItemView::SingleSelection);
    grdCharts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCharts->verticalHeader()->hide();
    grdCharts->horizontalHeader()->setStretchLastSection(true);
    grdCharts->setSortingEnabled(true);
    grdCharts->sortByColumn(NameColumn, Qt::AscendingOrder);
    grdCharts->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grdCharts, &QTableWidget::cellDoubleClicked, this,
            [this] { LoadSelected(FirstBirthdate); });
    connect(grdCharts, &QTableWidget::customContextMenuRequested, this,
            &frmLibrary::ShowContextMenu);
    connect(grdCharts, &QTableWidget::itemSelectionChanged, this, &frmLibrary::UpdateButtons);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdNew = button("cmdNew", QStringLiteral("&New..."));
    cmdEdit = button("cmdEdit", QStringLiteral("&Edit..."));
    cmdRemove = button("cmdRemove", QStringLiteral("&Remove"));
    cmdImport = button("cmdImport", QStringLiteral("&Import..."));
    cmdExport = button("cmdExport", QStringLiteral("E&xport..."));
    cmdOpen = button("cmdOpen", QStringLiteral("&Open library..."));
    cmdClose = button("cmdClose", QStringLiteral("&Close"));
    connect(cmdNew, &QPushButton::clicked, this, &frmLibrary::cmdNew_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmLibrary::cmdEdit_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmLibrary::cmdRemove_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmLibrary::cmdImport_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmLibrary::cmdExport_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmLibrary::cmdOpen_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    lblUndo = new QLabel(this);
    lblUndo->setObjectName(QStringLiteral("lblUndo"));
    lblUndo->setTextFormat(Qt::RichText);
    lblUndo->hide();
    connect(lblUndo, &QLabel::linkActivated, this, [this] { cmdUndo_Click(); });
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &frmLibrary::cmdUndo_Click);
    auto* remove = new QShortcut(QKeySequence::Delete, grdCharts);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &frmLibrary::cmdRemove_Click);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* commands = new QVBoxLayout;
    for (QPushButton* b : {cmdNew, cmdEdit, cmdRemove}) {
        commands->addWidget(b);
    }
    commands->addSpacing(12);
    for (QPushButton* b : {cmdImport, cmdExport, cmdOpen}) {
        commands->addWidget(b);
    }
    commands->addStretch(1);
    commands->addWidget(cmdClose);
    auto* list = new QVBoxLayout;
    list->addWidget(txtSearch);
    list->addWidget(grdCharts, 1);
    list->addWidget(lblUndo);
    list->addWidget(lblStatus);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(commands);
    resize(760, 440);
    UpdateButtons();
}

frmLibrary::~frmLibrary() = default;

ChartLibrary* frmLibrary::Library() {
    if (library_) {
        return library_.get();
    }
    LibraryResult<std::unique_ptr<ChartLibrary>> opened = ChartLibrary::Open(path_);
    if (!opened) {
        const bool first = openFailure_.isEmpty();
        openFailure_ = opened.error().message;
        lblStatus->setText(openFailure_);
        if (first) {
            dialogs_.ShowMessage(this, openFailure_, kLibraryTitle, Dialogs::Icon::Exclamation);
        }
        return nullptr;
    }
    openFailure_.clear();
    library_ = std::move(*opened);
    return library_.get();
}

void frmLibrary::SetPath(const QString& path) {
    library_.reset();
    openFailure_.clear();
    removed_.reset();
    lblUndo->hide();
    path_ = path;
    Refresh();
}

void frmLibrary::Refresh() {
    ChartLibrary* library = Library();
    if (library == nullptr) {
        ShowCharts({});
        lblStatus->setText(openFailure_);
        return;
    }
    const LibraryResult<QList<LibraryChart>> charts =
        library->Search({txtSearch->text().trimmed(), {}, MaxRows + 1});
    if (!charts) {
        ShowFailure(charts.error().message);
        return;
    }
    QList<LibraryChart> found = *charts;
    const bool more = found.size() > MaxRows;
    if (more) {
        found.removeLast();
    }
    ShowCharts(found);
    QString status = found.size() == 1 ? QStringLiteral("1 chart")
                                       : QStringLiteral("%1 charts").arg(found.size());
    if (more) {
        status = QStringLiteral("The first %1 charts; type to narrow the search.").arg(MaxRows);
    } else if (!txtSearch->text().trimmed().isEmpty()) {
        status += QStringLiteral(" found");
    }
    lblStatus->setText(status + QStringLiteral(" \u2014 ") + QDir::toNativeSeparators(path_));
}

void frmLibrary::ShowCharts(const QList<LibraryChart>& charts) {
    const std::optional<LibraryChart> selected = SelectedChart();
    shown_ = charts;
    grdCharts->setSortingEnabled(false);
    grdCharts->clearContents();
    grdCharts->setRowCount(static_cast<int>(charts.size()));
    int selectRow = -1;
    for (int row = 0; row < charts.size(); ++row) {
        const LibraryChart& chart = charts[row];
        const ChartSubject& subject = chart.subject;
        auto* name = new QTableWidgetItem(subject.name);
        name->setData(Qt::UserRole, row); // the chart's place in shown_
        name->setToolTip(chart.notes);
        grdCharts->setItem(row, NameColumn, name);
        grdCharts->setItem(row, DateColumn,
                           new SortedItem(SubjectDateText(subject), DateKey(subject)));
        grdCharts->setItem(
            row, ZoneColumn,
            new QTableWidgetItem(subject.place.isEmpty() ? subject.zone : subject.place));
        const qsizetype rating = DataRatings().indexOf(chart.rating);
        grdCharts->setItem(row, RatingColumn,
                           new SortedItem(chart.rating, QString::number(rating < 0 ? 9 : rating)));
        grdCharts->setItem(row, TagsColumn,
                           new QTableWidgetItem(chart.tags.join(QStringLiteral(", "))));
        if (selected && selected->id == chart.id) {
            selectRow = row;
        }
    }
    grdCharts->setSortingEnabled(true);
    if (selectRow >= 0) {
        for (int row = 0; row < grdCharts->rowCount(); ++row) {
            if (grdCharts->item(row, NameColumn)->data(Qt::UserRole).toInt() == selectRow) {
                grdCharts->selectRow(row);
            }
        }
    }
    grdCharts->resizeColumnsToContents();
    UpdateButtons();
}

std::optional<LibraryChart> frmLibrary::SelectedChart() const {
    const QList<QTableWidgetItem*> items = grdCharts->selectedItems();
    for (const QTableWidgetItem* item : items) {
        if (item->column() == NameColumn) {
            const int index = item->data(Qt::UserRole).toInt();
            if (index >= 0 && index < shown_.size()) {
                return shown_[index];
            }
        }
    }
    return std::nullopt;
}

void frmLibrary::UpdateButtons() {
    const bool selected = SelectedChart().has_value();
    cmdEdit->setEnabled(selected);
    cmdRemove->setEnabled(selected);
}

void frmLibrary::ShowFailure(const QString& message) {
    lblStatus->setText(message);
    dialogs_.ShowMessage(this, message, kLibraryTitle, Dialogs::Icon::Exclamation);
}

void frmLibrary::txtSearch_Change() {
    Refresh();
}

void frmLibrary::EditChart(const LibraryChart& chart, const QString& title) {
    if (form_ == nullptr) {
        form_ = new frmLibraryChart(dialogs_, zones_, this);
    }
    form_->Edit(chart, title, [this](const LibraryChart& edited) {
        ChartLibrary* library = Library();
        if (library == nullptr) {
            return false;
        }
        if (edited.id == 0) {
            const LibraryResult<qint64> added = library->Add(edited);
            if (!added) {
                ShowFailure(added.error().message);
                return false;
            }
        } else if (const LibraryResult<bool> updated = library->Update(edited); !updated) {
            ShowFailure(updated.error().message);
            return false;
        }
        Refresh();
        return true;
    });
    form_->open();
}

void frmLibrary::cmdNew_Click() {
    if (Library() == nullptr) {
        return;
    }
    LibraryChart chart;
    chart.subject.year = 0;
    EditChart(chart, QStringLiteral("New chart"));
}

void frmLibrary::cmdEdit_Click() {
    if (const std::optional<LibraryChart> chart = SelectedChart()) {
        EditChart(*chart, QStringLiteral("Edit chart"));
    }
}

void frmLibrary::cmdRemove_Click() {
    const std::optional<LibraryChart> chart = SelectedChart();
    ChartLibrary* library = Library();
    if (!chart || library == nullptr) {
        return;
    }
    const LibraryResult<bool> removed = library->Remove(chart->id);
    if (!removed) {
        ShowFailure(removed.error().message);
        return;
    }
    removed_ = *chart;
    lblUndo->setText(QStringLiteral("\u201C%1\u201D removed \u2014 <a href=\"undo\">Undo</a>")
                         .arg(chart->subject.name.toHtmlEscaped()));
    lblUndo->show();
    Refresh();
}

void frmLibrary::cmdUndo_Click() {
    ChartLibrary* library = Library();
    if (!removed_ || library == nullptr) {
        return;
    }
    const LibraryResult<qint64> added = library->Add(*removed_);
    if (!added) {
        ShowFailure(added.error().message);
        return;
    }
    removed_.reset();
    lblUndo->hide();
    Refresh();
}

void frmLibrary::LoadSelected(int dateSet) {
    if (const std::optional<LibraryChart> chart = SelectedChart(); chart && load_) {
        load_(*chart, dateSet);
    }
}

void frmLibrary::ShowContextMenu(const QPoint& at) {
    if (QTableWidgetItem* item = grdCharts->itemAt(at)) {
        grdCharts->selectRow(item->row());
    }
    if (!SelectedChart()) {
        return;
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("Load as &1st birthdate"), this,
                   [this] { LoadSelected(FirstBirthdate); });
    menu.addAction(QStringLiteral("Load as &2nd birthdate"), this,
                   [this] { LoadSelected(SecondBirthdate); });
    menu.addAction(QStringLiteral("Load as &world date"), this,
                   [this] { LoadSelected(WorldDate); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Edit..."), this, &frmLibrary::cmdEdit_Click);
    menu.addAction(QStringLiteral("&Remove"), this, &frmLibrary::cmdRemove_Click);
    menu.exec(grdCharts->viewport()->mapToGlobal(at));
}

void frmLibrary::cmdOpen_Click() {
    const QString path =
        dialogs_.GetOpenFileName(this, QStringLiteral("Open chart library"),
                                 QStringLiteral("Chart libraries (*.sqlite)"), path_);
    if (!path.isEmpty()) {
        SetPath(path);
    }
}

void frmLibrary::cmdImport_Click() {
    if (Library() == nullptr) {
        return;
    }
    const QString path = dialogs_.GetOpenFileName(this, QStringLiteral("Import charts"),
                                                  QStringLiteral("Charts (*.csv *.jsonl)"),
                                                  QFileInfo(path_).absolutePath());
    if (!path.isEmpty()) {
        RunLibraryCommand({QStringLiteral("import"), path}, QStringLiteral("Import charts"));
    }
}

void frmLibrary::cmdExport_Click() {
    if (Library() == nullptr) {
        return;
    }
    QString path = dialogs_.GetSaveFileName(
        this, QStringLiteral("Export charts"), QStringLiteral("Charts (*.csv *.jsonl)"),
        QFileInfo(path_).absolutePath() + QStringLiteral("/charts.csv"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    RunLibraryCommand({QStringLiteral("export"), QStringLiteral("--out"), path},
                      QStringLiteral("Export charts"));
}

void frmLibrary::RunLibraryCommand(const QStringList& arguments, const QString& title) {
    auto* process = new QProcess(this);
    process->setObjectName(QStringLiteral("libraryCommand"));
    for (QPushButton* b : {cmdImport, cmdExport, cmdOpen}) {
        b->setEnabled(false);
    }
    lblStatus->setText(title + QStringLiteral("..."));
    connect(process, &QProcess::finished, this,
            [this, process, title](int exitCode, QProcess::ExitStatus how) {
                process->deleteLater();
                for (QPushButton* b : {cmdImport, cmdExport, cmdOpen}) {
                    b->setEnabled(true);
                }
                const QString out = QString::fromUtf8(process->readAllStandardOutput()).trimmed();
                const QString errors = QString::fromUtf8(process->readAllStandardError()).trimmed();
                Refresh();
                if (how == QProcess::NormalExit && exitCode == 0) {
                    if (!out.isEmpty()) {
                        lblStatus->setText(out);
                    }
                    return;
                }
                QString message = out;
                if (!errors.isEmpty()) {
                    message += (message.isEmpty() ? QString() : QStringLiteral("\n\n")) + errors;
                }
                dialogs_.ShowMessage(this, message.isEmpty() ? process->errorString() : message,
                                     title, Dialogs::Icon::Exclamation);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, title](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart) {
                    return;
                }
                process->deleteLater();
                for (QPushButton* b : {cmdImport, cmdExport, cmdOpen}) {
                    b->setEnabled(true);
                }
                lblStatus->clear();
                dialogs_.ShowMessage(this,
                                     QStringLiteral("%1 could not be started: %2")
                                         .arg(QDir::toNativeSeparators(LibraryCommandProgram()),
                                              process->errorString()),
                                     title, Dialogs::Icon::Exclamation);
            });
    process->start(LibraryCommandProgram(), QStringList{QStringLiteral("library")} + arguments +
                                                QStringList{QStringLiteral("--library"), path_});
}

} // namespace orbivex
