#include "app/QtDialogs.h"
#include "common/ScriptedDialogs.h"
#include "common/TestSupport.h"
#include "draw/Fonts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace orbivex {
namespace {

using test::ScriptedDialogs;

TEST(ScriptedDialogs, AnswersFromItsQueuesAndRecordsEveryCall) {
    ScriptedDialogs scripted;
    Dialogs& dialogs = scripted;
    scripted.QueueAnswer(Dialogs::Answer::Yes);
    scripted.QueueFileName(QStringLiteral("/tmp/state.pat"));
    scripted.QueueFileName(QString());

    EXPECT_EQ(dialogs.Ask(nullptr, QStringLiteral("Save the state?"), QStringLiteral("Quit"),
                          Dialogs::Buttons::YesNoCancel, Dialogs::Answer::No,
                          Dialogs::Icon::Question),
              Dialogs::Answer::Yes);
    EXPECT_EQ(dialogs.GetSaveFileName(nullptr, QStringLiteral("Save as"),
                                      QStringLiteral("State (*.pat) | *.pat"), QString()),
              QStringLiteral("/tmp/state.pat"));
    EXPECT_TRUE(
        dialogs.GetOpenFileName(nullptr, QStringLiteral("Load"), QString(), QString()).isEmpty());
    dialogs.ShowMessage(nullptr, QStringLiteral("Done"), QStringLiteral("Report"),
                        Dialogs::Icon::Information);
    dialogs.PopUp(nullptr, QStringLiteral("Saved"), 2400, 300, 2000, 450, -2400);
    dialogs.SetClipboardText(QStringLiteral("clip"));
    EXPECT_TRUE(dialogs.OpenExternally(QStringLiteral("http://orbivex.example.org/manual"), {}));

    ASSERT_EQ(scripted.Calls().size(), 7u);
    const ScriptedDialogs::Call& question = scripted.Calls()[0];
    EXPECT_EQ(question.kind, ScriptedDialogs::Kind::Question);
    EXPECT_EQ(question.text, QStringLiteral("Save the state?"));
    EXPECT_EQ(question.buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(question.defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(scripted.Calls()[1].filter, QStringLiteral("State (*.pat) | *.pat"));
    EXPECT_EQ(scripted.Calls()[2].kind, ScriptedDialogs::Kind::OpenFile);
    const ScriptedDialogs::Call& popUp = scripted.Calls()[4];
    EXPECT_EQ(popUp.kind, ScriptedDialogs::Kind::PopUp);
    EXPECT_EQ(popUp.intervalMs, 2000);
    EXPECT_EQ(popUp.left, -2400);
    EXPECT_EQ(scripted.ClipboardText(), QStringLiteral("clip"));
    EXPECT_EQ(scripted.CountOf(ScriptedDialogs::Kind::Message), 1u);
    EXPECT_EQ(scripted.UnusedAnswers(), 0u);
}

TEST(ScriptedDialogs, FailsLoudlyWhenAQuestionComesUnanswered) {
    ScriptedDialogs scripted;
    Dialogs::Answer answer = Dialogs::Answer::Yes;
    EXPECT_NONFATAL_FAILURE(answer =
                                scripted.Ask(nullptr, QStringLiteral("Clear the date?"),
                                             QStringLiteral("Clear"), Dialogs::Buttons::YesNoCancel,
                                             Dialogs::Answer::No, Dialogs::Icon::Question),
                            "Clear the date?");
    EXPECT_EQ(answer, Dialogs::Answer::Cancel);
    QString name = QStringLiteral("unchanged");
    EXPECT_NONFATAL_FAILURE(
        name = scripted.GetOpenFileName(nullptr, QStringLiteral("Load"), QString(), QString()),
        "Load");
    EXPECT_TRUE(name.isEmpty());
}

TEST(QtFileFilter, AcceptsBothFilterForms) {
    EXPECT_EQ(QtFileFilter(QStringLiteral("Orbivex state (*.pat)")),
              QStringLiteral("Orbivex state (*.pat)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Orbivex state (*.pat) | *.pat")),
              QStringLiteral("Orbivex state (*.pat)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("PNG image|*.png|All files|*")),
              QStringLiteral("PNG image (*.png);;All files (*)"));
}

TEST(MessageBoxText, TurnsCrLfIntoPlainLineBreaks) {
    EXPECT_EQ(MessageBoxText(QStringLiteral("one\r\n\r\ntwo\rthree")),
              QStringLiteral("one\n\ntwo\nthree"));
}

// Presses `button` (or Escape, for NoButton) in the message box once it is showing, after
// letting `inspect` look at it.
void AnswerMessageBox(QMessageBox::StandardButton button,
                      std::function<void(QMessageBox&)> inspect) {
    QTimer::singleShot(0, [button, inspect] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "No message box is showing";
            return;
        }
        inspect(*box);
        if (button == QMessageBox::NoButton) {
            box->reject();
        } else {
            box->button(button)->click();
        }
    });
}

TEST(QtDialogs, AsksWithTheGivenButtonsDefaultAndIcon) {
    QtDialogs dialogs;
    AnswerMessageBox(QMessageBox::Yes, [&dialogs](QMessageBox& box) {
        EXPECT_TRUE(dialogs.DialogOpen());
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Quit"));
        EXPECT_EQ(box.text(), QStringLiteral("Save?\n<b>now</b>"));
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::No));
    });
    EXPECT_EQ(dialogs.Ask(nullptr, QStringLiteral("Save?\r\n<b>now</b>"), QStringLiteral("Quit"),
                          Dialogs::Buttons::YesNoCancel, Dialogs::Answer::No,
                          Dialogs::Icon::Question),
              Dialogs::Answer::Yes);

    AnswerMessageBox(QMessageBox::NoButton, [](QMessageBox&) {});
    EXPECT_EQ(dialogs.Ask(nullptr, QStringLiteral("Clear?"), QStringLiteral("Clear"),
                          Dialogs::Buttons::YesNoCancel, Dialogs::Answer::No,
                          Dialogs::Icon::Question),
              Dialogs::Answer::Cancel);

    AnswerMessageBox(QMessageBox::NoButton, [](QMessageBox&) {});
    EXPECT_EQ(dialogs.Ask(nullptr, QStringLiteral("Details?"), QStringLiteral("Square"),
                          Dialogs::Buttons::YesNo, Dialogs::Answer::No, Dialogs::Icon::None),
              Dialogs::Answer::No);

    EXPECT_FALSE(dialogs.DialogOpen());
    AnswerMessageBox(QMessageBox::Ok, [&dialogs](QMessageBox& box) {
        EXPECT_TRUE(dialogs.DialogOpen());
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.text(), QStringLiteral("Cannot write\n\nthe file."));
    });
    dialogs.ShowMessage(nullptr, QStringLiteral("Cannot write\r\n\r\nthe file."),
                        QStringLiteral("Save"), Dialogs::Icon::Exclamation);

    AnswerMessageBox(QMessageBox::Ok,
                     [](QMessageBox& box) { EXPECT_EQ(box.icon(), QMessageBox::Critical); });
    dialogs.ShowMessage(nullptr, QStringLiteral("No program text was read."), QString(),
                        Dialogs::Icon::Stop);
}

TEST(QtDialogs, AnOpenerThatFindsNoProgramIsReportedLater) {
    // Stand-ins for xdg-open, first on the search path: one that opens, one that finds no
    // browser (as xdg-open does, with status 3).
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QByteArray path = qgetenv("PATH");
    for (const auto& [status, expectFailure] : {std::pair{0, false}, std::pair{3, true}}) {
        SCOPED_TRACE(status);
        const QString opener = bin.filePath(QStringLiteral("xdg-open"));
        QFile::remove(opener);
        ASSERT_TRUE(test::WriteAll(opener, "#!/bin/sh\nexit " + QByteArray::number(status) + "\n"));
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        QtDialogs dialogs;
        bool failed = false;
        EXPECT_TRUE(dialogs.OpenExternally(QStringLiteral("/tmp/manual.html"),
                                           [&failed] { failed = true; }));
        // Until the opener has ended and been cleaned up.
        for (int i = 0; i < 500 && !qApp->findChildren<QProcess*>().isEmpty(); ++i) {
            QTest::qWait(10);
        }
        qputenv("PATH", path);
        EXPECT_EQ(failed, expectFailure);
    }
}

TEST(QtDialogs, TheSaveDialogAsksAboutTheFileTheSaveWrites) {
    EXPECT_EQ(DefaultSuffixOf(QStringLiteral("State files (*.pat)")), QStringLiteral("pat"));
    EXPECT_EQ(DefaultSuffixOf(QStringLiteral("All files (*)")), QString());
    // "chart" is there, "chart.pat" is not: typing "chart" writes chart.pat, which replaces
    // nothing, so nothing is asked.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(test::WriteAll(folder.filePath(QStringLiteral("chart")), "kept"));
    QtDialogs dialogs;
    QStringList asked;
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, &asked] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked << box->text();
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!asked.isEmpty()) {
                dialog->reject(); // the question was answered No: the dialog gives up
            } else if (dialog->property("typed").isNull()) {
                dialog->setProperty("typed", true);
                // Typed into the name box: selectFile() leaves a box that has the focus as it
                // is, and the dialog would then wait for ever.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (name == nullptr) {
                    ADD_FAILURE() << "the dialog has no name box";
                    dialog->reject();
                    return;
                }
                name->setText(QStringLiteral("chart"));
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        } else if (modal == nullptr && poll->property("seen").toBool()) {
            poll->stop();
        }
        poll->setProperty("seen", modal != nullptr || poll->property("seen").toBool());
    });
    poll->start();
    const QString written = dialogs.GetSaveFileName(
        nullptr, QStringLiteral("Save as"), QStringLiteral("State files (*.pat)"), folder.path());
    delete poll;
    EXPECT_EQ(written, folder.filePath(QStringLiteral("chart.pat")));
    EXPECT_TRUE(asked.isEmpty()) << asked.join(u'|').toStdString();
}

TEST(Fonts, MapsTheDesignFontsToInstalledOnes) {
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("courier new")),
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("MS Sans Serif")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(InstalledFontFamily(QStringLiteral("DejaVu Serif")), QStringLiteral("DejaVu Serif"));

    const QFont arial = ProgramFont(QStringLiteral("Arial"), 11, true);
    EXPECT_EQ(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(arial.pointSize(), 11);
    EXPECT_TRUE(arial.bold());
    EXPECT_EQ(QFontInfo(ProgramFont(QStringLiteral("Courier New"), 10)).family(),
              QStringLiteral("Liberation Mono"));
}

} // namespace
} // namespace orbivex
