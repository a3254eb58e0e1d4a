// The chart library in the window: adding a date set, finding, loading, removing with undo,
// a library file that is refused, and import and export through orbivex-cli.
#include "MainWindowSupport.h"

#include "app/frmLibrary.h"

#include "session/StateTransfer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orbivex::test {

using enum ChartMode;
namespace {

using Kind = ScriptedDialogs::Kind;

class LibraryWindowTest : public MainWindowTest {
  protected:
    // Stores charts straight into the window's library file.
    void Store(const QList<std::pair<QString, QString>>& charts) {
        auto library = ChartLibrary::Open(window->LibraryFile());
        ASSERT_TRUE(library);
        for (const auto& [name, date] : charts) {
            LibraryChart chart;
            chart.subject.name = name;
            const QStringList parts = date.split(u'-');
            chart.subject.year = parts[0].toInt();
            chart.subject.month = parts[1].toInt();
            chart.subject.day = parts[2].toInt();
            chart.subject.minute = 9 * 60 + 17;
            chart.subject.zone = u"GMT"_s;
            chart.tags = {u"client"_s};
            ASSERT_TRUE((*library)->Add(chart));
        }
    }
    QStringList Names() const {
        QStringList names;
        const QTableWidget* grid = window->libraryWindowIfMade()->grdCharts;
        for (int row = 0; row < grid->rowCount(); ++row) {
            names << grid->item(row, 0)->text();
        }
        return names;
    }
    void Select(const QString& name) {
        QTableWidget* grid = window->libraryWindowIfMade()->grdCharts;
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 0)->text() == name) {
                grid->selectRow(row);
            }
        }
    }
};

TEST_F(LibraryWindowTest, AddFromARowThenTheTitlesNameThePerson) {
    Start();
    EnterDate(FirstBirthdate, u"1815"_s, 12, 10, 27, 24);
    window->AddToLibrary(FirstBirthdate);
    frmLibraryChart* form = window->addToLibraryForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->date.year->text(), u"1815"_s);
    form->cmdOK->click(); // no name yet
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_TRUE(form->isVisible());
    form->txtName->setText(u"Ada Lovelace"_s);
    form->cboRating->setCurrentText(u"AA"_s);
    form->txtTags->setText(u"mathematics, , Mathematics, poets"_s);
    form->cmdOK->click();
    EXPECT_FALSE(form->isVisible());

    auto library = ChartLibrary::Open(window->LibraryFile());
    ASSERT_TRUE(library);
    const auto charts = (*library)->Search({});
    ASSERT_TRUE(charts);
    ASSERT_EQ(charts->size(), 1);
    EXPECT_EQ(charts->at(0).rating, u"AA"_s);
    EXPECT_EQ(charts->at(0).tags, (QStringList{u"mathematics"_s, u"poets"_s}));
    EXPECT_EQ(SubjectDateZoneText(charts->at(0).subject), u"1815-12-10 13:00 GMT"_s);

    window->optPersonal[0]->click();
    EXPECT_TRUE(window->lblTitle->text().contains(u"personal transits for Ada Lovelace."_s))
        << window->lblTitle->text().toStdString();
    EXPECT_TRUE(window->windowTitle().contains(u"Ada Lovelace, December 10, 1815"_s))
        << window->windowTitle().toStdString();
    // Another date in the row is no longer Ada's.
    window->txbYearCE[FirstBirthdate]->setText(u"1816"_s);
    window->cmdCompute->click();
    EXPECT_FALSE(window->lblTitle->text().contains(u"Ada"_s));
}

TEST_F(LibraryWindowTest, SearchSortLoadAndRemoveWithUndo) {
    Start();
    Store({{u"Ada Lovelace"_s, u"1815-12-10"_s},
           {u"Charles Babbage"_s, u"1791-12-26"_s},
           {u"Mary Somerville"_s, u"1780-12-26"_s}});
    window->cmdLibrary_Click();
    frmLibrary* library = window->libraryWindowIfMade();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(Names(),
              (QStringList{u"Ada Lovelace"_s, u"Charles Babbage"_s, u"Mary Somerville"_s}));
    library->grdCharts->sortByColumn(1, Qt::AscendingOrder); // by date
    EXPECT_EQ(Names(),
              (QStringList{u"Mary Somerville"_s, u"Charles Babbage"_s, u"Ada Lovelace"_s}));
    QTest::keyClicks(library->txtSearch, u"lo"_s);
    EXPECT_EQ(Names(), QStringList{u"Ada Lovelace"_s});
    library->txtSearch->clear();

    // Double-click loads the 1st birthdate and computes it where it is seen.
    Select(u"Ada Lovelace"_s);
    Q_EMIT library->grdCharts->cellDoubleClicked(library->grdCharts->currentRow(), 0);
    EXPECT_EQ(window->state.recordedMode, NatalFirst);
    EXPECT_EQ(window->txbYearCE[FirstBirthdate]->text(), u"1815"_s);
    EXPECT_EQ(window->cboHour[FirstBirthdate]->currentText(), u"09:17"_s);
    EXPECT_TRUE(window->lblTitle->text().contains(u"Ada Lovelace"_s));
    Select(u"Charles Babbage"_s);
    library->LoadSelected(SecondBirthdate);
    window->optSynastry->click();
    EXPECT_TRUE(window->lblTitle->text().contains(u"Ada Lovelace and Charles Babbage"_s))
        << window->lblTitle->text().toStdString();

    Select(u"Mary Somerville"_s);
    library->cmdRemove->click();
    EXPECT_EQ(Names().size(), 2);
    EXPECT_TRUE(library->lblUndo->isVisibleTo(library));
    EXPECT_TRUE(library->lblUndo->text().contains(u"Mary Somerville"_s));
    library->cmdUndo_Click();
    EXPECT_EQ(Names().size(), 3);
    EXPECT_FALSE(library->lblUndo->isVisibleTo(library));
}

TEST_F(LibraryWindowTest, ADamagedLibraryIsRefusedAndLeftAsItWas) {
    Start();
    const QByteArray damaged("SQLite format 3\0 this is no database", 37);
    ASSERT_TRUE(WriteAll(window->LibraryFile(), damaged));
    window->cmdLibrary_Click();
    ASSERT_EQ(dialogs.CountOf(Kind::Message), 1u);
    EXPECT_EQ(window->libraryWindowIfMade()->grdCharts->rowCount(), 0);
    EXPECT_FALSE(window->libraryWindowIfMade()->lblStatus->text().isEmpty());
    EXPECT_EQ(ReadAll(window->LibraryFile()), damaged);
}

TEST_F(LibraryWindowTest, ExportThenImportThroughTheCommandLineProgram) {
    Start();
    Store({{u"Ada Lovelace"_s, u"1815-12-10"_s}, {u"Charles Babbage"_s, u"1791-12-26"_s}});
    window->cmdLibrary_Click();
    frmLibrary* library = window->libraryWindowIfMade();
    const QString csv = StateFolder() + u"/charts.csv"_s;
    dialogs.QueueFileName(csv);
    library->cmdExport->click();
    QTRY_VERIFY_WITH_TIMEOUT(library->cmdExport->isEnabled(), 20000);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
    EXPECT_TRUE(ReadAll(csv).contains("Charles Babbage"));

    library->SetPath(StateFolder() + u"/other.sqlite"_s);
    EXPECT_EQ(Names().size(), 0);
    dialogs.QueueFileName(csv);
    library->cmdImport->click();
    QTRY_VERIFY_WITH_TIMEOUT(library->cmdImport->isEnabled(), 20000);
    EXPECT_EQ(dialogs.CountOf(Kind::Message), 0u);
    EXPECT_EQ(Names().size(), 2);
    EXPECT_TRUE(library->lblStatus->text().startsWith(u"Imported 2 charts"_s));
}

} // namespace
} // namespace orbivex::test

namespace orbivex::test {
namespace {

// A place chosen in a row's place box gives the zone, and a date of the zone's own local mean
// time is read in the mean time of the place: Lyon, 1 March 1850, 12:00 is UT+00:19:23.
TEST_F(MainWindowTest, APlaceGivesItsZoneAndItsLocalMeanTime) {
    Start();
    EnterDate(FirstBirthdate, u"1850"_s, 3, 1, 25, 0);
    QLineEdit* place = window->txtPlace[FirstBirthdate];
    place->setFocus();
    QTest::keyClicks(place, u"Lyo"_s);
    ASSERT_TRUE(place->completer()->popup()->isVisible());
    // The once-a-second refresh leaves what is being typed as it is.
    window->Timer1_Timer();
    EXPECT_EQ(place->text(), u"Lyo"_s);
    EXPECT_TRUE(place->completer()->completionModel()->index(0, 0).data().toString().startsWith(
        u"Lyon, "_s));
    // Chosen with the keys, the line of the completion stands in the box until it is left.
    QTest::keyClick(place->completer()->popup(), Qt::Key_Down);
    QTest::keyClick(place->completer()->popup(), Qt::Key_Return);
    Q_EMIT place->editingFinished();
    EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentText(), u"Europe/Paris"_s);
    EXPECT_EQ(place->text(), u"Lyon"_s);
    place->setText(u"Lyon, France"_s);
    Q_EMIT place->editingFinished();
    EXPECT_EQ(window->cboTimezone[FirstBirthdate]->currentText(), u"Europe/Paris"_s);
    window->optNatal[0]->click();
    EXPECT_TRUE(window->lblStatus->text().contains(u"local mean time of Lyon"_s))
        << window->lblStatus->text().toStdString();
    EXPECT_TRUE(window->lblStatus->text().contains(u"UT+00:19:23"_s));
    // 12:00 local mean time at 4.8467° E is 11:40:37 UT.
    EXPECT_NEAR(window->state.ChartJulianDays[FirstBirthdate].julianDay,
                2396818.0 + (11 * 3600 + 40 * 60 + 37 - 12 * 3600) / 86400.0, 1e-6);
    EXPECT_TRUE(window->lblTitle->text().contains(u"(Lyon)"_s));

    // Saved and loaded again, the place comes back with its date.
    const QString path = StateFolder() + u"/lyon.pat"_s;
    ASSERT_EQ(MessageOf(SaveState(path, window->state)), QString());
    EXPECT_TRUE(ReadAll(path).contains("birth1.place=Lyon|"));
    EXPECT_TRUE(ReadAll(path).contains("birth1.atplace=1\r\n"));
    ProgramState loaded;
    ASSERT_EQ(MessageOf(LoadState(path, loaded)), QString());
    ASSERT_TRUE(loaded.places[FirstBirthdate].has_value());
    EXPECT_EQ(loaded.places[FirstBirthdate]->zone, u"Europe/Paris"_s);
    EXPECT_EQ(loaded.dateSets[FirstBirthdate].placeLongitude,
              loaded.places[FirstBirthdate]->longitude);

    // A name several towns have is the most populous; the status line names the others.
    place->setText(u"Springfield"_s);
    Q_EMIT place->editingFinished();
    EXPECT_TRUE(window->lblStatus->text().startsWith(u"\u201CSpringfield\u201D is taken as"_s))
        << window->lblStatus->text().toStdString();
    EXPECT_EQ(window->state.places[FirstBirthdate]->name, u"Springfield"_s);

    place->setText(u"Nowhere at all"_s);
    Q_EMIT place->editingFinished();
    EXPECT_TRUE(window->lblStale->isVisibleTo(window.get())); // the chart is of Lyon
    EXPECT_TRUE(window->lblStatus->text().contains(u"orbivex-cli places"_s))
        << window->lblStatus->text().toStdString();
}

} // namespace
} // namespace orbivex::test
