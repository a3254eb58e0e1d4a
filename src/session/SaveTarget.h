#pragma once
// The file a save goes to. Every writer of a file the user names (state files, chart images)
// replaces nothing but a regular file; and "Save as" settles the name it writes from the name
// the file dialog returned, asking before it replaces a file the dialog never asked about.

#include "support/Expected.h"
#include "support/SafeFile.h"

#include <QString>

namespace orbivex {

// What a chosen name that ends in another extension becomes.
enum class OtherExtension {
    Keep,   // "notes.txt" stays as it is
    Append, // "chart.jpg" becomes "chart.jpg.png"
};

// The name a file chosen as `chosen` is saved under, ending in `extension` (".pat", ".png"):
// a name that ends in it, in any case, stays as it is; the dots a name ends in give way to it
// ("keep." becomes "keep.pat"); a name with another extension is treated as `other` says; any
// other name gets it appended.
QString NameWithExtension(const QString& chosen, const QString& extension, OtherExtension other);

// The file a "Save as" writes, from the name the file dialog returned: the name with its
// extension (NameWithExtension). The dialog asked before replacing the name it returned, but
// not the name with the extension added: when that is an existing regular file, the user is to
// be asked before it is replaced. Anything else the writer refuses with its reason.
struct SaveTarget {
    QString name;
    bool askToReplace = false;
};
SaveTarget SaveTargetOf(const QString& chosen, const QString& extension, OtherExtension other);

} // namespace orbivex
