// The keyboard: the letters of the captions, the keys of the commands, Escape in the secondary
// windows.
#include "MainWindowSupport.h"

#include "app/frmConfigure.h"
#include "app/frmDurations.h"
#include "app/frmRun.h"
#include "app/frmView.h"
#include "support/Mnemonic.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include <map>

namespace orbivex::test {
namespace {

// Every caption the user can reach in the window (shown, its own window's) has a keyboard
// letter, and no two have the same one.
void ExpectLettersUnique(const QWidget* window) {
    SCOPED_TRACE(window->objectName().toStdString());
    std::map<QChar, QString> seen;
    const auto check = [&](const QWidget* widget, const QString& caption) {
        if (widget->window() != window || !widget->isVisibleTo(window) || caption.isEmpty()) {
            return;
        }
        const QString name =
            widget->objectName() + QStringLiteral(" \"") + caption + QLatin1Char('"');
        const QChar letter = MnemonicLetter(caption);
        EXPECT_FALSE(letter.isNull()) << name.toStdString() << " has no letter";
        const auto [at, added] = seen.emplace(letter, name);
        EXPECT_TRUE(added || letter.isNull())
            << name.toStdString() << " shares its letter with " << at->second.toStdString();
    };
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        check(button, button->text());
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            check(label, label->text());
        }
    }
}

TEST_F(MainWindowTest, EveryWindowGivesEachCaptionALetterOfItsOwn) {
    Start();
    ExpectLettersUnique(window.get());
    window->cmdToggleGraphic_Click(); // the wheel: other captions on the same buttons
    ExpectLettersUnique(window.get());
    window->cmdToggleGraphic_Click();

    ExpectLettersUnique(&window->ConfigurationWindow());
    ExpectLettersUnique(window->runWindow());
    window->cmdReport_Click();
    ASSERT_NE(window->durationsWindowIfMade(), nullptr);
    ExpectLettersUnique(window->durationsWindowIfMade());
    window->cmdHelp_Click();
    ExpectLettersUnique(window->helpView());
}

} // namespace
} // namespace orbivex::test
