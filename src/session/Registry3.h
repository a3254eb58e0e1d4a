#pragma once
// String values in the per-user settings store. A key path "Software\<maker>\<program>[\...]"
// names the store of that maker and program (QSettings(maker, program), which on Windows is the
// registry key of that path under HKEY_CURRENT_USER); further parts are groups inside it.
//
// Both operations return a status text that begins with a digit: "0" means success. Callers
// test only that first character; the rest says what happened.

#include <QString>

namespace orbivex::Registry3 {

// The key of the program's own values.
inline constexpr const char* ProgramKeyPath = "Software\\Quillmark\\ORBX";

// Stores the text as the string value `valueName` of the key, creating the key when needed.
// Success: "0 New key created." or "0 Key already exists.", then two spaces and the system's
// text; failure: an error number, " Unable to create (or find) key.", two spaces and the text.
QString WriteValue(const QString& keyPath, const QString& valueName, const QString& text);

// Reads the string value into `text` (trailing characters below code 32 removed). Status:
// "0 OK"; "1 Key not found or is empty."; "2 Name not specified."; "3 Name not found." for an
// absent or empty value; "4 " and a description when the value cannot be read as text.
// `text` is emptied unless the status begins with "0".
QString ReadValue(const QString& keyPath, const QString& valueName, QString& text);

} // namespace orbivex::Registry3
