#pragma once
// A main window started in temporary folders with a fixed clock and scripted dialogs, and the
// checks that compare what its grid shows with a Compute of the same state.

#include "app/frmMain.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class QComboBox;

namespace orbivex::test {

// The moment the tests' clock shows: 5 January 2024, 12:10 local time.
QDateTime TestNow();

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest();

    frmMainSetup Setup() const;
    // Makes the window and runs its start-up, which must succeed.
    void Start();
    // A program folder of its own with the data files copied in, except `leaveOut`.
    QString CopyProgramFolder(const QStringList& leaveOut = {});
    QString StateFolder() const { return home_.path() + QStringLiteral("/Quillmark"); }

    // Enters a date set through its controls, as a person does.
    void EnterDate(int dateSet, const QString& year, int month, int day, int hourEntry,
                   int zoneEntry);
    // Chooses an entry of a list with the mouse.
    static void Choose(QComboBox* list, int index);

    ScriptedDialogs dialogs;
    // The size Start gives the window, larger than the test screen (800 x 600), so that the
    // pictures are shown at their own size or larger; none keeps the size it opened with.
    QSize startSize{1200, 900};
    QDateTime now = TestNow();
    QString programFolder = ProgramFolder();
    std::unique_ptr<frmMain> window;

  private:
    QTemporaryDir home_;
};

// A Compute of the window's dates, mode, unit, zones and settings, done apart from the window.
ProgramState ReferenceChart(const frmMain& window);

// The title, grid and report of a reference chart, as the window builds them; of a Compute of
// the window's state (ReferenceChart) unless one is given.
ChartView ReferenceView(const frmMain& window);
ChartView ReferenceView(const frmMain& window, const ProgramState& reference);

// Every one of the 144 cell widgets shows exactly the cell of the model: visibility, text
// (symbol letters as symbols), colours, boldface and place.
void ExpectGridShows(const frmMain& window, const AspectGrid& grid);

// The texts of the visible cells, row by row.
QStringList CellTexts(const frmMain& window);

} // namespace orbivex::test
