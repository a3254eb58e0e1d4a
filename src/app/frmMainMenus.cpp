// The main window's menu bar: every command of the window, each one QAction with its key. The
// commands of a button click that button, so that the menu, the key and the button do exactly
// the same, and the action is enabled exactly while its button is shown and enabled.
#include "app/frmAbout.h"
#include "app/frmMain.h"

#include "app/DialogFlows.h"
#include "app/Dialogs.h"
#include "app/PictureBox.h"
#include "draw/WheelSvg.h"
#include "present/GridText.h"
#include "present/PictureInput.h"
#include "session/RememberedFolders.h"
#include "session/StateTransfer.h"
#include "session/WheelAppearance.h"
#include "support/Mnemonic.h"
#include "support/TextNumbers.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>

namespace orbivex {

namespace {

constexpr int kMaxRecentFiles = 10;
const QString RecentFilesKey = QStringLiteral("/recentFiles");

// The platform's keys for a standard command, or `own` where the platform has none.
QList<QKeySequence> StandardOr(QKeySequence::StandardKey standard, const QKeySequence& own) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    return keys.isEmpty() ? QList<QKeySequence>{own} : keys;
}

// The text with a keyboard letter before its first letter that none of `taken` has.
QString WithOwnLetter(const QString& text, QString& taken) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLetterOrNumber() && !taken.contains(text[i].toLower())) {
            taken += text[i].toLower();
            return text.left(i) + QLatin1Char('&') + text.mid(i);
        }
    }
    return text;
}

// The one local file a drag brings, when it is a state file.
QString DroppedStateFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QString path = data->urls().first().toLocalFile();
    return path.endsWith(QStringLiteral(".pat"), Qt::CaseInsensitive) ? path : QString();
}

// The settings store the program's other settings live in.
const QString StoreMaker = QStringLiteral("Quillmark");
const QString StoreProgram = QStringLiteral("ORBX");

} // namespace

QAction* frmMain::CommandOf(const QWidget* button) const {
    for (const MenuCommand& command : commands) {
        if (command.button == button) {
            return command.action;
        }
    }
    return nullptr;
}

void frmMain::SyncCommand(const MenuCommand& command) {
    if (command.button == nullptr) {
        return;
    }
    command.action->setEnabled(command.button->isVisibleTo(this) && command.button->isEnabled());
    if (command.button->property("menuCaption").isNull()) {
        command.action->setText(command.button->text());
    }
}

void frmMain::SyncCommands() {
    for (const MenuCommand& command : commands) {
        SyncCommand(command);
    }
    for (int s = 0; s < NumDateSets; ++s) {
        CommandOf(cmdClear[s])->setText(cmdClear[s]->text() + QLatin1Char(' ') + Label1[s]->text());
    }
    const std::array<QRadioButton*, NumChartModes> options = ModeOptions();
    const QList<QAction*> modes = modeActions_->actions();
    for (int i = 0; i < NumChartModes; ++i) {
        modes[i]->setText(options[i]->text());
        modes[i]->setChecked(options[i]->isChecked());
        modes[i]->setEnabled(options[i]->isEnabled());
    }
    const QList<QAction*> units = unitActions_->actions();
    units[0]->setChecked(optDegrees->isChecked());
    units[1]->setChecked(optRadians->isChecked());
    units[0]->setEnabled(optDegrees->isEnabled());
    units[1]->setEnabled(optRadians->isEnabled());
    const QList<QAction*> steps = stepUnitActions_->actions();
    QString taken;
    for (int i = 0; i < steps.size(); ++i) {
        steps[i]->setText(WithOwnLetter(cboForwardBack->itemText(i), taken));
        steps[i]->setVisible(i < cboForwardBack->count());
        steps[i]->setChecked(i == cboForwardBack->currentIndex());
        steps[i]->setEnabled(cboForwardBack->isEnabled());
    }
    const bool chart = IsChartMode(state.recordedMode) && !Running() && !blnCourseGraphShown;
    for (QAction* action : findChildren<QAction*>(QStringLiteral("mnuChartOnly"))) {
        action->setEnabled(chart);
    }
}

void frmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuBar"));
    // The menus' own letters would clash with the buttons' (Alt+F is Forward); F10 opens the
    // menu bar instead.
    const auto menu = [bar](const QString& title, const char* name) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto buttonCommand = [this](QMenu* into, QPushButton* button,
                                      const QList<QKeySequence>& keys = {}) {
        auto* action = new QAction(button->text(), this);
        action->setObjectName(QStringLiteral("mnu") + button->objectName().mid(3));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, button, [button] {
            if (button->isVisible() && button->isEnabled()) {
                button->click();
            }
        });
        // Shown or hidden, enabled or disabled: the action follows at once.
        button->installEventFilter(this);
        into->addAction(action);
        addAction(action);
        commands.push_back({action, button});
        return action;
    };
    const auto ownCommand = [this](QMenu* into, const QString& text, const char* name,
                                   const QKeySequence& key, auto&& slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        connect(action, &QAction::triggered, this, slot);
        into->addAction(action);
        commands.push_back({action, nullptr});
        return action;
    };

    QMenu* file = menu(QStringLiteral("File"), "mnuFile");
    buttonCommand(file, cmdLoadState, StandardOr(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    mnuRecent = file->addMenu(QStringLiteral("Recent &files"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    file->addSeparator();
    buttonCommand(file, cmdSave, StandardOr(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    buttonCommand(file, cmdSaveAs,
                  StandardOr(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    buttonCommand(file, cmdRestore);
    file->addSeparator();
    ownCommand(file, QStringLiteral("E&xport image ..."), "mnuChartOnly", {}, [this] {
        FolderRememberingDialogs images(dialogs_, FileKind::Image);
        SaveWheelImageAs(images, this, ExportInputOf(state, texts_), texts_,
                         WithoutMnemonic(texts_.ProgramText(text::SaveImage)));
    });
    buttonCommand(file, cmdPrint);
    ownCommand(file, QStringLiteral("&Print ..."), "mnuChartOnly", QKeySequence::Print,
               [this] { PrintChartSheet(); });
    file->addSeparator();
    buttonCommand(file, cmdQuit, StandardOr(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menu(QStringLiteral("Edit"), "mnuEdit");
    ownCommand(edit, QStringLiteral("&Copy"), "mnuCopy", QKeySequence::Copy,
               [this] { CopyChart(); });
    edit->addSeparator();
    buttonCommand(edit, cmdConfigure,
                  StandardOr(QKeySequence::Preferences, Qt::CTRL | Qt::SHIFT | Qt::Key_Comma));

    // An option button as a checked action of a group: choosing it clicks the option, and the
    // action follows the option however it is set.
    const auto optionCommand = [this](QMenu* into, QActionGroup* group, QRadioButton* option) {
        QAction* action = into->addAction(option->text());
        action->setObjectName(QStringLiteral("mnu") + option->objectName().mid(3));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, option, [option] {
            if (option->isEnabled() && !option->isChecked()) {
                option->click();
            }
        });
        connect(option, &QRadioButton::toggled, action, &QAction::setChecked);
    };

    QMenu* chart = menu(QStringLiteral("Chart"), "mnuChart");
    modeActions_ = new QActionGroup(this);
    for (QRadioButton* option : ModeOptions()) {
        optionCommand(chart, modeActions_, option);
    }
    chart->addSeparator();
    // Compute is F5 alone: the platform's Refresh may also mean Ctrl+R, which is Report's.
    buttonCommand(chart, cmdCompute, {QKeySequence(Qt::Key_F5)});
    // Ctrl+N means "new" everywhere; Now takes T, for today.
    buttonCommand(chart, cmdNow, {QKeySequence(Qt::CTRL | Qt::Key_T)});
    buttonCommand(chart, cmdForwardBack[0], {QKeySequence(Qt::ALT | Qt::Key_Right)});
    buttonCommand(chart, cmdForwardBack[1], {QKeySequence(Qt::ALT | Qt::Key_Left)});
    QMenu* stepUnit = chart->addMenu(QStringLiteral("Step &unit"));
    stepUnit->setObjectName(QStringLiteral("mnuStepUnit"));
    stepUnitActions_ = new QActionGroup(this);
    for (int i = 0; i < 16; ++i) {
        QAction* action = stepUnit->addAction(QString());
        action->setCheckable(true);
        action->setVisible(false);
        stepUnitActions_->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] {
            if (i < cboForwardBack->count() && cboForwardBack->isEnabled()) {
                cboForwardBack->setCurrentIndex(i);
                Q_EMIT cboForwardBack->activated(i);
            }
        });
    }
    chart->addSeparator();
    for (int s = 0; s < NumDateSets; ++s) {
        buttonCommand(chart, cmdClear[s]);
        // "Clear" three times would not say which: the menu names the date set.
        cmdClear[s]->setProperty("menuCaption", true);
    }

    QMenu* viewMenu = menu(QStringLiteral("View"), "mnuView");
    buttonCommand(viewMenu, cmdToggleGraphic, {QKeySequence(Qt::CTRL | Qt::Key_D)});
    viewMenu->addSeparator();
    unitActions_ = new QActionGroup(this);
    for (QRadioButton* option : {optDegrees, optRadians}) {
        optionCommand(viewMenu, unitActions_, option);
    }
    viewMenu->addSeparator();
    const auto caption = [this](int number, const char* english) {
        return texts_.HasText(number) ? texts_.ProgramText(number) : QString::fromUtf8(english);
    };
    QMenu* style = viewMenu->addMenu(QStringLiteral("Wheel &style"));
    style->setObjectName(QStringLiteral("mnuWheelStyle"));
    QMenu* theme = viewMenu->addMenu(QStringLiteral("Wheel &theme"));
    theme->setObjectName(QStringLiteral("mnuWheelTheme"));
    QMenu* filters = viewMenu->addMenu(QStringLiteral("Wheel &filters"));
    filters->setObjectName(QStringLiteral("mnuWheelFilters"));
    auto* styles = new QActionGroup(this);
    auto* themes = new QActionGroup(this);
    const auto look = [this](QMenu* into, QActionGroup* group, const QString& text,
                             std::function<bool(const ConfigurationSettings&)> shown,
                             std::function<void(ConfigurationSettings&)> change) {
        QAction* action = into->addAction(text);
        action->setCheckable(true);
        if (group != nullptr) {
            group->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, change] { SetWheelLook(change); });
        connect(into, &QMenu::aboutToShow, action, [this, action, shown] {
            action->setChecked(shown(state.settings));
            action->setEnabled(!Running() && !blnCourseGraphShown);
        });
    };
    look(
        style, styles, WithoutMnemonic(caption(546, "Classic")).prepend(QLatin1Char('&')),
        [](const ConfigurationSettings& s) { return s.wheelStyle == WheelStyle::Classic; },
        [](ConfigurationSettings& s) { s.wheelStyle = WheelStyle::Classic; });
    look(
        style, styles, WithoutMnemonic(caption(547, "Modern")).prepend(QLatin1Char('&')),
        [](const ConfigurationSettings& s) { return s.wheelStyle == WheelStyle::Modern; },
        [](ConfigurationSettings& s) { s.wheelStyle = WheelStyle::Modern; });
    look(
        theme, themes, WithoutMnemonic(caption(549, "Light")).prepend(QLatin1Char('&')),
        [](const ConfigurationSettings& s) { return s.wheelTheme == WheelTheme::Light; },
        [](ConfigurationSettings& s) { s.wheelTheme = WheelTheme::Light; });
    look(
        theme, themes, WithoutMnemonic(caption(550, "Dark")).prepend(QLatin1Char('&')),
        [](const ConfigurationSettings& s) { return s.wheelTheme == WheelTheme::Dark; },
        [](ConfigurationSettings& s) { s.wheelTheme = WheelTheme::Dark; });
    look(
        filters, nullptr, QStringLiteral("Show only &outer planet aspects in chart"),
        [](const ConfigurationSettings& s) { return s.showOnlyOuter; },
        [](ConfigurationSettings& s) { s.showOnlyOuter = !s.showOnlyOuter; });
    look(
        filters, nullptr, QStringLiteral("Show only &Earth aspects in chart"),
        [](const ConfigurationSettings& s) { return s.showOnlyEarth; },
        [](ConfigurationSettings& s) { s.showOnlyEarth = !s.showOnlyEarth; });

    QMenu* tools = menu(QStringLiteral("Tools"), "mnuTools");
    buttonCommand(tools, cmdReport, {QKeySequence(Qt::CTRL | Qt::Key_R)});
    buttonCommand(tools, cmdAspectarian);
    buttonCommand(tools, cmdRun);
    tools->addSeparator();
    ownCommand(tools, QStringLiteral("Chart &library..."), "mnuLibrary",
               QKeySequence(Qt::CTRL | Qt::Key_L), [this] {
                   if (blnStartupCompleted && !Running()) {
                       cmdLibrary_Click();
                   }
               });
    QMenu* addToLibrary = tools->addMenu(QStringLiteral("Add to &chart library"));
    addToLibrary->setObjectName(QStringLiteral("mnuAddToLibrary"));
    const QString dateSetNames[NumDateSets] = {QStringLiteral("&World date..."),
                                               QStringLiteral("&1st birthdate..."),
                                               QStringLiteral("&2nd birthdate...")};
    for (int s = 0; s < NumDateSets; ++s) {
        ownCommand(addToLibrary, dateSetNames[s], "mnuAddToLibrary", {}, [this, s] {
            if (blnStartupCompleted && !Running()) {
                AddToLibrary(s);
            }
        });
    }

    QMenu* help = menu(QStringLiteral("Help"), "mnuHelp");
    buttonCommand(help, cmdHelp, StandardOr(QKeySequence::HelpContents, Qt::Key_F1));
    ownCommand(help, QStringLiteral("User &manual"), "mnuUserManual", {},
               [this] { lblURL_Click(); });
    ownCommand(help, QStringLiteral("&Keys"), "mnuKeys", {}, [this] { ShowKeys(); });
    help->addSeparator();
    ownCommand(help, QStringLiteral("A&bout Orbivex"), "mnuAbout", {}, [this] { ShowAbout(); });

    auto* openMenus = new QAction(this);
    openMenus->setObjectName(QStringLiteral("mnuOpenMenuBar"));
    openMenus->setShortcut(QKeySequence(Qt::Key_F10));
    connect(openMenus, &QAction::triggered, this, [this, bar] {
        if (!bar->actions().isEmpty()) {
            bar->setActiveAction(bar->actions().first());
        }
    });
    addAction(openMenus);

    for (QMenu* m : bar->findChildren<QMenu*>()) {
        connect(m, &QMenu::aboutToShow, this, [this] { SyncCommands(); });
    }
    if (!setup_.settingsGroup.isEmpty()) {
        const QSettings store(StoreMaker, StoreProgram);
        recentFiles_ = store.value(setup_.settingsGroup + RecentFilesKey).toStringList();
    }
    ShowRecentFiles();
}

void frmMain::ShowRecentFiles() {
    mnuRecent->clear();
    for (int i = 0; i < recentFiles_.size(); ++i) {
        const QString path = recentFiles_[i];
        // &1 .. &9, then 1&0.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction* action = mnuRecent->addAction(number + QLatin1Char(' ') + path);
        connect(action, &QAction::triggered, this, [this, path] { LoadStateFile(path); });
    }
    mnuRecent->setEnabled(!recentFiles_.isEmpty());
}

void frmMain::AddRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recentFiles_.removeAll(absolute);
    recentFiles_.prepend(absolute);
    while (recentFiles_.size() > kMaxRecentFiles) {
        recentFiles_.removeLast();
    }
    if (!setup_.settingsGroup.isEmpty()) {
        QSettings store(StoreMaker, StoreProgram);
        store.setValue(setup_.settingsGroup + RecentFilesKey, recentFiles_);
    }
    ShowRecentFiles();
}

void frmMain::SetWheelLook(const std::function<void(ConfigurationSettings&)>& change) {
    if (Running() || blnCourseGraphShown) {
        return;
    }
    const ConfigurationSettings before = state.settings;
    change(state.settings);
    if (state.settings.wheelStyle != before.wheelStyle ||
        state.settings.wheelTheme != before.wheelTheme) {
        // Kept for the next session, as the configuration window keeps it.
        WriteWheelAppearanceToRegistry(state.settings);
    }
    if (state.chartShown) {
        ShowWheel();
    }
    ShowWheelBeside();
}

void frmMain::CopyChart() {
    if (!IsChartMode(view.mode)) {
        return;
    }
    if (ImageShown()) {
        QApplication::clipboard()->setImage(picGraphic->Image());
        return;
    }
    dialogs_.SetClipboardText(GridText(view.grid));
}

void frmMain::ShowKeys() {
    QString text;
    for (const QAction* action : actions()) {
        if (!action->shortcut().isEmpty() && !action->text().isEmpty()) {
            text += action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char('\t') +
                    WithoutMnemonic(action->text()) + QLatin1Char('\n');
        }
    }
    text += QStringLiteral("F10\tMenu bar\n");
    dialogs_.ShowMessage(this, text.trimmed(), QStringLiteral("Keys"), Dialogs::Icon::Information);
}

void frmMain::ShowAbout() {
    if (!about_) {
        about_ = std::make_unique<frmAbout>(GatherAboutFacts(setup_.programFolder), this);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void frmMain::LoadStateFile(const QString& path) {
    if (Running() || blnCourseGraphShown || !cmdLoadState->isEnabled()) {
        return;
    }
    if (StateChanged()) {
        // The dates and settings on display would be replaced: they may be kept first.
        const Dialogs::Answer answer =
            dialogs_.Ask(this,
                         QStringLiteral("Save the current dates and settings before loading %1?")
                             .arg(QFileInfo(path).fileName()),
                         WithoutMnemonic(cmdLoadState->text()), Dialogs::Buttons::YesNoCancel,
                         Dialogs::Answer::No, Dialogs::Icon::Question);
        if (answer == Dialogs::Answer::Cancel) {
            return;
        }
        if (answer == Dialogs::Answer::Yes) {
            const Status saved = SaveState(UserStateFile(), state);
            if (!saved) {
                // What the user asked to keep was not written: nothing is replaced.
                dialogs_.ShowMessage(this, saved.error(), WithoutMnemonic(cmdSave->text()),
                                     Dialogs::Icon::Exclamation);
                return;
            }
        }
    }
    LoadStateFrom(path);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedStateFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = DroppedStateFile(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // After the drop has completed: the question must not wait inside the drag.
    QTimer::singleShot(0, this, [this, path] { LoadStateFile(path); });
}

} // namespace orbivex
