#pragma once
// What the fuzz targets share: the input as Qt types, and a check that ends the run with a
// message when a property of a reader does not hold, so that libFuzzer keeps the input.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace orbivex::fuzz {

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input as text in either of the two ways text reaches the program: as UTF-8 bytes (a
// command line, a file), or, when the first byte is odd, as raw UTF-16 code units (what a
// text box holds, lone surrogates included).
inline QString Text(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    if ((data[0] & 1) == 0) {
        return QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                 static_cast<qsizetype>(size - 1));
    }
    QString text;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        text.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    }
    return text;
}

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

} // namespace orbivex::fuzz
