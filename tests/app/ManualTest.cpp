// The user manual names every control of the main window and of its Configure, Run and
// Aspectarian windows, as the running windows caption them.
#include "MainWindowSupport.h"

#include "app/frmAspectarian.h"
#include "app/frmConfigure.h"
#include "app/frmRun.h"
#include "support/DataFolder.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>

namespace orbivex::test {
namespace {

// A caption as the manual writes it: without its keyboard letter, the dots of a command that
// opens a dialog, a colon or the number of one of a row of boxes, in lower case with single
// spaces.
QString Plain(QString caption) {
    static const QRegularExpression ending(QStringLiteral("\\s*(\\.\\.\\.|…|:| \\d+)$"));
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&');
    caption.replace(u'\x01', u'&');
    return caption.remove(ending).simplified().toLower();
}

// Whether a widget is a part of a control that has a name of its own, such as a cell of the
// aspect grid or the edit field of a box.
bool InNamedControl(const QWidget& window, const QWidget& widget) {
    for (const QWidget* parent = widget.parentWidget(); parent != nullptr && parent != &window;
         parent = parent->parentWidget()) {
        if (!parent->accessibleName().isEmpty()) {
            return true;
        }
    }
    return false;
}

struct Controls {
    QSet<QString> names;    // what the manual must name
    QSet<QString> captions; // the texts of the labels, which qualify the names of boxes
};

// The name of every control of a window: the accessible name it has, else the caption of a
// button, a frame or a label that acts on a click.
void Collect(const QWidget& window, Controls& controls) {
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (InNamedControl(window, *widget)) {
            continue;
        }
        QString name = widget->accessibleName();
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label != nullptr && !Plain(label->text()).isEmpty()) {
            controls.captions.insert(Plain(label->text()));
        }
        if (name.isEmpty()) {
            if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
                name = button->text();
            } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
                name = frame->title();
            } else if (label != nullptr && label->testAttribute(Qt::WA_SetCursor) &&
                       label->cursor().shape() == Qt::PointingHandCursor) {
                name = label->text();
            }
        }
        if (!Plain(name).isEmpty()) {
            controls.names.insert(Plain(name));
        }
    }
}

// Whether the manual names the control: by its whole name, or, for a box whose name is a
// caption of its window followed by what it holds ("World date year", "Conjunction orb"), by
// both parts.
bool Names(const QString& manual, const Controls& controls, const QString& name) {
    if (manual.contains(name)) {
        return true;
    }
    for (const QString& caption : controls.captions) {
        if (name.startsWith(caption + u' ') && manual.contains(caption) &&
            manual.contains(name.mid(caption.size() + 1))) {
            return true;
        }
    }
    return false;
}

TEST_F(MainWindowTest, TheManualNamesEveryControl) {
    Start();
    QTextDocument page;
    page.setHtml(QString::fromUtf8(ReadAll(UserManualFile(programFolder))));
    const QString manual = page.toPlainText().simplified().toLower();
    ASSERT_TRUE(manual.contains(QStringLiteral("orbivex user manual")));

    Controls controls;
    Collect(*window, controls);
    window->cmdToggleGraphic->click(); // the captions of the chart view
    Collect(*window, controls);
    Collect(window->ConfigurationWindow(), controls);
    Collect(*window->runWindow(), controls);
    const frmAspectarian aspectarian(dialogs, window->texts(), *window->ephemeris(), [](double) {});
    Collect(aspectarian, controls);
    ASSERT_GT(controls.names.size(), 60);
    for (const QString& name : controls.names) {
        EXPECT_TRUE(Names(manual, controls, name)) << name.toStdString();
    }
}

} // namespace
} // namespace orbivex::test
