#pragma once
// Opening the online user manual, or any document or web address, with the program the desktop
// associates with it.

#include <QString>

class QWidget;

namespace orbivex {

class Dialogs;

// The address of the online user manual, without its scheme, as the main window's address
// label shows it.
inline constexpr char kUserManualAddress[] = "orbivex.example.org/manual";

// The launch codes of a failed opening. The desktop reports only success or failure; a failure
// almost always means that nothing is set up to open this kind of target, so it is reported as
// kNoAssociationCode.
inline constexpr int kOutOfMemoryCode = 8;
inline constexpr int kTryAgainCode = 2;
inline constexpr int kNoAssociationCode = 31;

// The text after the last "." of the target's last path part (after the last "\" or "/"),
// lower-cased; "" when that part has no dot.
QString TargetExtension(const QString& target);

// The message for a failed launch with the given code (codes above 32 are success and give "").
QString BrowserLaunchMessage(int code, const QString& target);

// Opens the target; on failure shows why in a message box over `parent`. Returns true when it
// was opened.
bool OpenInBrowser(const QString& target, Dialogs& dialogs, QWidget* parent = nullptr);

// The click on the main window's address label: opens "http://" followed by the label's text.
bool lblURL_Click(const QString& labelText, Dialogs& dialogs, QWidget* parent = nullptr);

} // namespace orbivex
