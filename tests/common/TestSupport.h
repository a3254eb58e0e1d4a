#pragma once

#include <QString>

namespace orbivex::test {

// The folder of the running test program, where the build puts the data files.
QString ProgramFolder();

// Reads a whole file as bytes; an empty array when it cannot be read.
QByteArray ReadAll(const QString& path);

// Writes bytes to a file, replacing it; false on failure.
bool WriteAll(const QString& path, const QByteArray& bytes);

} // namespace orbivex::test

#include <ostream>

// Lets GoogleTest print QStrings readably in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

#include "core/Bodies.h"
#include "core/ChartMode.h"
#include "support/Expected.h"

#include <optional>

namespace orbivex {

// The message of a failed result; "" for success.
template <typename T> QString MessageOf(const Expected<T>& result) {
    return result ? QString() : result.error();
}

// Modes, aspect kinds and bodies print as their numbers in failure messages and traces.
inline std::ostream& operator<<(std::ostream& os, ChartMode mode) {
    return os << ModeNumber(mode);
}
inline std::ostream& operator<<(std::ostream& os, AspectKind kind) {
    return os << KindNumber(kind);
}
inline std::ostream& operator<<(std::ostream& os, BodyIndex body) {
    return os << BodyNumber(body);
}
inline std::ostream& operator<<(std::ostream& os, const std::optional<BodyIndex>& body) {
    return body ? os << *body : os << "none";
}

} // namespace orbivex
