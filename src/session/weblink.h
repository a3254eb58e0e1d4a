#pragma once
// Opening the user manual, or any document or web address, with the program the desktop
// associates with it.

#include <QString>

class QWidget;

namespace orbivex {

class Dialogs;
class ProgramTexts;

// Opens the target (a local file or a web address) with the desktop's web browser; when none
// could be started, says so over `parent`, naming the target and what to do. Returns true
// when the opener was started; should it then find no browser, the same message follows.
bool OpenInBrowser(const QString& target, const ProgramTexts& texts, Dialogs& dialogs,
                   QWidget* parent = nullptr);

// The click on the main window's address label: opens the user manual that belongs to the
// program folder in the web browser, or says where the missing manual was expected.
bool OpenUserManual(const QString& programFolder, const ProgramTexts& texts, Dialogs& dialogs,
                    QWidget* parent = nullptr);

} // namespace orbivex
