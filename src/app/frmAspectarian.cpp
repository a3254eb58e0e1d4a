#include "app/frmAspectarian.h"

#include "app/DialogFlows.h"
#include "app/Dialogs.h"
#include "calendar/Calendar.h"
#include "calendar/CalendarYears.h"
#include "calendar/DateInput.h"
#include "core/Ephemeris.h"
#include "draw/Fonts.h"
#include "present/Messages.h"
#include "session/SaveTarget.h"
#include "support/Mnemonic.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QApplication>
#include <QCalendar>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace orbivex {

namespace {

// How often the progress of a search is read, and the steps of its bar.
constexpr int kListIntervalMs = 50;
constexpr int kProgressSteps = 1000;

enum Column { TimeColumn, FirstColumn, AspectColumn, SecondColumn, ColumnCount };

// The date boxes show year, month and day in the calendar chosen. Qt's Julian calendar holds
// every day of the choice "Julian before the reform" too (each Gregorian 29 February is a
// Julian one), so that choice uses it for the fields and the program's rules for their day.
QCalendar EditCalendar(CalendarChoice calendar) {
    return QCalendar(calendar == CalendarChoice::Gregorian ? QCalendar::System::Gregorian
                                                           : QCalendar::System::Julian);
}

// The date of a date box that shows day number `day` as the calendar writes it.
QDate EditDate(std::int32_t day, CalendarChoice calendar) {
    EuroDateRecord record;
    record.jdn = day;
    record.calendar = CalendarLetterOfJdn(calendar, day);
    JDNToEuroDate(record);
    return QDate(record.year, record.month, record.day, EditCalendar(calendar));
}

// The day number of the date a date box shows, read in the calendar, or the date error
// (DoesNotExist for a day the calendar lacks).
Expected<double, DateError> EditDayNumber(const QDateEdit& edit, CalendarChoice calendar) {
    const QCalendar::YearMonthDay parts = edit.calendar().partsFromDate(edit.date());
    DateSet date;
    date.yearText = QString::number(parts.year);
    date.monthIndex = parts.month;
    date.dayIndex = parts.day;
    date.calendar = calendar;
    SetMinuteOfDay(date, 0);
    return InputDateToLocalJD(date);
}

} // namespace

AspectarianModel::AspectarianModel(const ProgramTexts& texts, QObject* parent)
    : QAbstractTableModel(parent), texts_(texts) {}

void AspectarianModel::SetEvents(std::vector<ExactAspect> events, const MomentZone& zone) {
    beginResetModel();
    events_ = std::move(events);
    zone_ = zone;
    Refilter();
    endResetModel();
}

void AspectarianModel::SetFilter(std::optional<BodyIndex> body, AspectKind kind) {
    beginResetModel();
    body_ = body;
    kind_ = kind;
    Refilter();
    endResetModel();
}

void AspectarianModel::Refilter() {
    shown_.clear();
    for (std::size_t i = 0; i < events_.size(); ++i) {
        if (AspectarianEventShown(events_[i], body_, kind_)) {
            shown_.push_back(static_cast<int>(i));
        }
    }
}

int AspectarianModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int AspectarianModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const ExactAspect& AspectarianModel::EventAt(int row) const {
    return events_[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])];
}

std::vector<ExactAspect> AspectarianModel::ShownEvents() const {
    std::vector<ExactAspect> shown;
    shown.reserve(shown_.size());
    for (const int index : shown_) {
        shown.push_back(events_[static_cast<std::size_t>(index)]);
    }
    return shown;
}

QVariant AspectarianModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const ExactAspect& event = EventAt(index.row());
    switch (index.column()) {
    case TimeColumn:
        return AspectarianTimeText(event.julianDay, zone_);
    case FirstColumn:
        return BodyName(event.first);
    case AspectColumn:
        return AspectarianKindName(event.kind);
    case SecondColumn:
        return BodyName(event.second);
    default:
        return {};
    }
}

QVariant AspectarianModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    switch (section) {
    case TimeColumn:
        return texts_.ProgramTextWith(text::AspectarianTimeColumn, zone_.name);
    case FirstColumn:
    case SecondColumn:
        return texts_.ProgramText(text::AspectarianBodyColumn);
    case AspectColumn:
        return texts_.ProgramText(text::AspectarianAspectColumn);
    default:
        return {};
    }
}

frmAspectarian::frmAspectarian(Dialogs& dialogs, const ProgramTexts& texts,
                               const Ephemeris& ephemeris, std::function<void(double)> momentChosen,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), texts_(texts), ephemeris_(ephemeris),
      momentChosen_(std::move(momentChosen)), model_(texts) {
    setObjectName(QStringLiteral("frmAspectarian"));
    setWindowTitle(texts_.ProgramText(text::AspectarianCaption));
    setFont(ProgramFont(QStringLiteral("Arial"), 9));

    optYear = new QRadioButton(texts_.ProgramText(text::AspectarianYear), this);
    optYear->setObjectName(QStringLiteral("optYear"));
    optYear->setChecked(true);
    txbYear = new QSpinBox(this);
    txbYear->setObjectName(QStringLiteral("txbYear"));
    txbYear->setRange(1, 2799);
    optSpan = new QRadioButton(texts_.ProgramText(text::AspectarianFrom), this);
    optSpan->setObjectName(QStringLiteral("optSpan"));
    const auto dateEdit = [this](const char* name) {
        auto* edit = new QDateEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendar(EditCalendar(CalendarChoice::Gregorian));
        edit->setDateRange(QDate(1, 1, 1), QDate(2799, 12, 31));
        return edit;
    };
    txbFrom = dateEdit("txbFrom");
    txbTo = dateEdit("txbTo");
    auto* lblTo = new QLabel(texts_.ProgramText(text::AspectarianTo), this);
    lblTo->setBuddy(txbTo);
    cmdList = new QPushButton(texts_.ProgramText(text::AspectarianList), this);
    cmdList->setObjectName(QStringLiteral("cmdList"));
    cmdList->setDefault(true);

    cboBody = new QComboBox(this);
    cboBody->setObjectName(QStringLiteral("cboBody"));
    cboBody->addItem(texts_.ProgramText(text::AllBodies));
    for (BodyIndex body : AllBodies) {
        cboBody->addItem(BodyName(body));
    }
    cboAspect = new QComboBox(this);
    cboAspect->setObjectName(QStringLiteral("cboAspect"));
    cboAspect->addItem(texts_.ProgramText(text::AllAspects));
    for (const AspectKind kind : AllAspectKinds) {
        cboAspect->addItem(AspectarianKindName(kind));
    }
    auto* lblBody = new QLabel(texts_.ProgramText(text::AspectarianBody), this);
    lblBody->setBuddy(cboBody);
    auto* lblAspect = new QLabel(texts_.ProgramText(text::AspectarianAspect), this);
    lblAspect->setBuddy(cboAspect);

    // Names for screen readers where no label stands beside a control; a spin box's edit field
    // is what the keyboard reaches, so it carries the box's name.
    txbYear->setAccessibleName(WithoutMnemonic(texts_.ProgramText(text::AspectarianYear)));
    txbFrom->setAccessibleName(WithoutMnemonic(texts_.ProgramText(text::AspectarianFrom)));
    txbTo->setAccessibleName(WithoutMnemonic(texts_.ProgramText(text::AspectarianTo)));
    for (QAbstractSpinBox* box :
         std::initializer_list<QAbstractSpinBox*>{txbYear, txbFrom, txbTo}) {
        for (QLineEdit* edit : box->findChildren<QLineEdit*>()) {
            edit->setAccessibleName(box->accessibleName());
        }
    }

    lstEvents = new QTableView(this);
    lstEvents->setObjectName(QStringLiteral("lstEvents"));
    lstEvents->setAccessibleName(WithoutMnemonic(texts_.ProgramText(text::AspectarianCaption)));
    lstEvents->setModel(&model_);
    lstEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstEvents->setAlternatingRowColors(true);
    lstEvents->verticalHeader()->hide();
    // Rows of one height, known without asking each: a century scrolls as fast as a year.
    lstEvents->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstEvents->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lstEvents->horizontalHeader()->setStretchLastSection(true);
    lstEvents->setColumnWidth(TimeColumn, fontMetrics().horizontalAdvance(
                                              QStringLiteral("2027-01-03 04:05 GMT+12:45  ")));
    lstEvents->setColumnWidth(AspectColumn,
                              fontMetrics().horizontalAdvance(QStringLiteral("semisextile    ")));
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    prgList = new QProgressBar(this);
    prgList->setObjectName(QStringLiteral("prgList"));
    prgList->setRange(0, kProgressSteps);
    prgList->setTextVisible(true);
    prgList->setVisible(false);
    cmdCancel = new QPushButton(texts_.ProgramText(text::AspectarianCancel), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setVisible(false);
    tmrList = new QTimer(this);
    tmrList->setObjectName(QStringLiteral("tmrList"));
    tmrList->setInterval(kListIntervalMs);

    cmdCopy = new QPushButton(texts_.ProgramText(text::AspectarianCopy), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdSaveCsv = new QPushButton(texts_.ProgramText(text::AspectarianSaveCsv), this);
    cmdSaveCsv->setObjectName(QStringLiteral("cmdSaveCsv"));
    cmdClose = new QPushButton(texts_.ProgramText(text::AspectarianClose), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* span = new QHBoxLayout;
    span->addWidget(optYear);
    span->addWidget(txbYear);
    span->addSpacing(16);
    span->addWidget(optSpan);
    span->addWidget(txbFrom);
    span->addWidget(lblTo);
    span->addWidget(txbTo);
    span->addSpacing(16);
    span->addWidget(cmdList);
    span->addStretch();
    auto* filters = new QHBoxLayout;
    filters->addWidget(lblBody);
    filters->addWidget(cboBody);
    filters->addSpacing(16);
    filters->addWidget(lblAspect);
    filters->addWidget(cboAspect);
    filters->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSaveCsv);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(span);
    layout->addLayout(filters);
    layout->addWidget(lstEvents, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(lblCount);
    status->addStretch();
    status->addWidget(prgList, 1);
    status->addWidget(cmdCancel);
    layout->addLayout(status);
    layout->addLayout(buttons);

    connect(cmdList, &QPushButton::clicked, this, &frmAspectarian::cmdList_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmAspectarian::cmdCopy_Click);
    connect(cmdSaveCsv, &QPushButton::clicked, this, &frmAspectarian::cmdSaveCsv_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAspectarian::cmdCancel_Click);
    connect(tmrList, &QTimer::timeout, this, &frmAspectarian::tmrList_Timer);
    connect(lstEvents, &QTableView::doubleClicked, this, &frmAspectarian::lstEvents_DblClick);
    connect(cboBody, &QComboBox::currentIndexChanged, this, &frmAspectarian::ApplyFilter);
    connect(cboAspect, &QComboBox::currentIndexChanged, this, &frmAspectarian::ApplyFilter);
    // Choosing a year or a date picks the way the span is given.
    connect(txbYear, &QSpinBox::valueChanged, this, [this] { optYear->setChecked(true); });
    connect(txbFrom, &QDateEdit::dateChanged, this, [this] { optSpan->setChecked(true); });
    connect(txbTo, &QDateEdit::dateChanged, this, [this] { optSpan->setChecked(true); });
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &frmAspectarian::cmdCopy_Click);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::hide);
    resize(620, 560);
}

void frmAspectarian::Open(int year, const MomentZone& zone, const ConfigurationSettings& settings) {
    zone_ = zone;
    settings_ = settings;
    year = std::clamp(year, 1, 2799);
    {
        const QSignalBlocker yearBlocker(txbYear);
        const QSignalBlocker fromBlocker(txbFrom);
        const QSignalBlocker toBlocker(txbTo);
        txbYear->setValue(year);
        // Dates written and read in the calendar chosen, within the years the program knows.
        for (QDateEdit* edit : {txbFrom, txbTo}) {
            edit->setCalendar(EditCalendar(zone_.calendar));
            edit->setDateRange(EditDate(FirstDayOfCalendar(zone_.calendar), zone_.calendar),
                               EditDate(EndDayOfCalendar(zone_.calendar) - 1, zone_.calendar));
        }
        const auto [first, last] = AspectarianYearDays(year, zone_.calendar);
        txbFrom->setDate(EditDate(first, zone_.calendar));
        txbTo->setDate(EditDate(last, zone_.calendar));
        optYear->setChecked(true);
    }
    show();
    raise();
    activateWindow();
    cmdList_Click();
    lstEvents->setFocus();
}

void frmAspectarian::cmdList_Click() {
    auto [first, last] = AspectarianYearDays(txbYear->value(), zone_.calendar);
    if (optSpan->isChecked()) {
        for (QDateEdit* edit : {txbFrom, txbTo}) {
            const Expected<double, DateError> day = EditDayNumber(*edit, zone_.calendar);
            if (!day) {
                dialogs_.ShowMessage(this,
                                     edit->text() + QLatin1Char(' ') +
                                         texts_.ProgramText(DateErrorTextNumber(day.error())),
                                     texts_.ProgramText(text::AspectarianCaption),
                                     Dialogs::Icon::Exclamation);
                return;
            }
            (edit == txbFrom ? first : last) = static_cast<std::int32_t>(*day);
        }
        if (last < first) {
            dialogs_.ShowMessage(this, texts_.ProgramText(text::FirstDateAfterLast),
                                 texts_.ProgramText(text::AspectarianCaption),
                                 Dialogs::Icon::Exclamation);
            return;
        }
    }
    // From the local midnight that begins the first day to the one that ends the last.
    const AspectarianRequest request = AspectarianRequestOf(settings_, LocalDayStart(first, zone_),
                                                            LocalDayStart(last + 1, zone_));
    // A century takes half a second, the whole calendar some twenty: the search goes on away
    // from the window, which shows how far it got and stays at the user's command.
    EndList();
    find_ = std::make_unique<AspectarianFind>(ephemeris_, request);
    findZone_ = zone_;
    if (!find_->OnThread()) {
        // No thread to search on: the search runs here, as a wait.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        find_->Advance();
        QApplication::restoreOverrideCursor();
        tmrList_Timer();
        return;
    }
    prgList->setValue(0);
    prgList->setFormat(ProgressDateText(request.from, findZone_));
    prgList->setVisible(true);
    cmdCancel->setVisible(true);
    tmrList->start();
}

void frmAspectarian::tmrList_Timer() {
    std::erase_if(cancelled_, [](const auto& find) { return find->Finished(); });
    if (!find_) {
        if (cancelled_.empty()) {
            tmrList->stop();
        }
        return;
    }
    prgList->setValue(static_cast<int>(std::lround(kProgressSteps * find_->Share())));
    prgList->setFormat(ProgressDateText(find_->ReachedJulianDay(), findZone_));
    if (!find_->Finished()) {
        return;
    }
    std::vector<ExactAspect> events = find_->TakeEvents();
    EndList();
    model_.SetEvents(std::move(events), findZone_);
    // Wide enough for the zone's name ("Europe/Paris") as well as the list's longest.
    lstEvents->setColumnWidth(
        TimeColumn, fontMetrics().horizontalAdvance(
                        QStringLiteral("2027-01-03 04:05 %1  ")
                            .arg(findZone_.named ? findZone_.name : QStringLiteral("GMT+12:45"))));
    lblCount->setText(
        texts_.ProgramTextWith(text::AspectarianCount, QString::number(model_.rowCount())));
}

void frmAspectarian::cmdCancel_Click() {
    // The list stays as it was.
    EndList();
}

void frmAspectarian::EndList() {
    if (find_) {
        // The search stops at the end of its stretch of days; the timer drops it then.
        find_->Cancel();
        cancelled_.push_back(std::move(find_));
    }
    std::erase_if(cancelled_, [](const auto& find) { return find->Finished(); });
    if (cancelled_.empty()) {
        tmrList->stop();
    } else {
        tmrList->start();
    }
    prgList->setVisible(false);
    cmdCancel->setVisible(false);
}

void frmAspectarian::hideEvent(QHideEvent* event) {
    EndList();
    QWidget::hideEvent(event);
}

void frmAspectarian::ApplyFilter() {
    model_.SetFilter(BodyOfNumber(cboBody->currentIndex()),
                     AspectKindOfNumber(cboAspect->currentIndex()));
    lblCount->setText(
        texts_.ProgramTextWith(text::AspectarianCount, QString::number(model_.rowCount())));
}

void frmAspectarian::cmdCopy_Click() {
    // The selected events, or all that are shown when none is selected.
    QList<int> rows;
    for (const QModelIndex& index : lstEvents->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) {
        for (int row = 0; row < model_.rowCount(); ++row) {
            rows.append(row);
        }
    }
    QString text;
    for (const int row : rows) {
        text += AspectarianLine(model_.EventAt(row), model_.Zone()) + QLatin1Char('\n');
    }
    dialogs_.SetClipboardText(text);
}

void frmAspectarian::cmdSaveCsv_Click() {
    const QString title = texts_.ProgramText(text::AspectarianSaveTitle);
    const QString chosen = dialogs_.GetSaveFileName(this, title, texts_.ProgramText(text::CsvFiles),
                                                    QStringLiteral("aspectarian.csv"));
    if (chosen.isEmpty()) {
        return;
    }
    const QString name = ConfirmedSaveTarget(dialogs_, this, chosen, QStringLiteral(".csv"),
                                             OtherExtension::Keep, title);
    if (name.isEmpty()) {
        return;
    }
    const std::vector<ExactAspect> events = model_.ShownEvents();
    if (const Status written = WriteAspectarianCsv(name, events, model_.Zone()); !written) {
        dialogs_.ShowMessage(this, written.error(), title, Dialogs::Icon::Exclamation);
    }
}

void frmAspectarian::lstEvents_DblClick(const QModelIndex& index) {
    if (index.isValid() && index.row() < model_.rowCount() && momentChosen_) {
        momentChosen_(model_.EventAt(index.row()).julianDay);
    }
}

} // namespace orbivex
