// The file dialogs open where the last file of their kind went, across a restart.
#include "MainWindowSupport.h"

#include "session/RememberedFolders.h"

#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace orbivex::test {
namespace {

using namespace Qt::StringLiterals;
using Kind = ScriptedDialogs::Kind;

class RememberedFolders : public MainWindowTest {
  protected:
    void SetUp() override {
        QSettings(u"Quillmark"_s, u"ORBX"_s).remove(u"Folders"_s);
        for (const QString& folder : {States(), Images()}) {
            ASSERT_TRUE(QDir().mkpath(folder));
        }
    }
    // A restart: a new window reads the settings again.
    void Restart() {
        window.reset();
        Start();
    }
    QString States() const { return StateFolder() + u"/states"_s; }
    QString Images() const { return StateFolder() + u"/images"_s; }
    QString LastStart(Kind kind) const { return dialogs.CallsOf(kind).back().initialName; }
};

TEST_F(RememberedFolders, EachKindOfFileOpensWhereItsLastFileWentEvenAfterARestart) {
    const QString documents = StartFolder(FileKind::StateFile);
    Start();
    dialogs.QueueFileName(QString());
    window->cmdLoadState->click();
    EXPECT_EQ(LastStart(Kind::OpenFile), documents);

    dialogs.QueueFileName(States() + u"/mine.pat"_s);
    window->cmdSaveAs->click();
    window->cmdToggleGraphic->click();
    dialogs.QueueFileName(Images() + u"/wheel.png"_s);
    window->cmdSaveAs->click(); // with the wheel shown: Save image
    EXPECT_EQ(LastStart(Kind::SaveFile), documents);

    Restart();
    struct Case {
        QPushButton* frmMain::*button;
        bool wheel;
        Kind kind;
        QString folder;
    };
    const Case cases[] = {
        {&frmMain::cmdSaveAs, false, Kind::SaveFile, States()},
        {&frmMain::cmdLoadState, false, Kind::OpenFile, States()},
        {&frmMain::cmdSaveAs, true, Kind::SaveFile, Images()},
    };
    for (const Case& c : cases) {
        if (window->state.chartShown != c.wheel) {
            window->cmdToggleGraphic->click();
        }
        dialogs.QueueFileName(QString());
        ((*window).*c.button)->click();
        EXPECT_EQ(LastStart(c.kind), c.folder);
    }

    // A folder that is gone is no place to open in.
    ASSERT_TRUE(QDir(Images()).removeRecursively());
    dialogs.QueueFileName(QString());
    window->cmdSaveAs->click();
    EXPECT_EQ(LastStart(Kind::SaveFile), documents);
    EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
}

TEST_F(RememberedFolders, WithoutADocumentsFolderTheDialogsOpenAtHome) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + u"/.config"_s).toLocal8Bit());
    const QString documents = home.path() + u"/Documents"_s;
    EXPECT_EQ(StartFolder(FileKind::StateFile), home.path());
    ASSERT_TRUE(QDir().mkpath(documents));
    EXPECT_EQ(StartFolder(FileKind::StateFile), documents);
    qputenv("HOME", oldHome);
    if (oldConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
}

} // namespace
} // namespace orbivex::test
