#include "draw/Fonts.h"

#include <array>

namespace orbivex {

namespace {

struct FontStandIn {
    const char* designName;
    const char* installedFamily;
};

constexpr std::array<FontStandIn, 4> kFontStandIns{{
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
    {"MS Sans Serif", "DejaVu Sans"},
    {"Starfont Sans", "DejaVu Sans"},
}};

} // namespace

QString InstalledFontFamily(const QString& designName) {
    const QString trimmed = designName.trimmed();
    for (const FontStandIn& standIn : kFontStandIns) {
        if (trimmed.compare(QLatin1String(standIn.designName), Qt::CaseInsensitive) == 0) {
            return QLatin1String(standIn.installedFamily);
        }
    }
    return designName;
}

QFont ProgramFont(const QString& designName, double pointSize, bool bold) {
    QFont font(InstalledFontFamily(designName));
    if (pointSize > 0.0) {
        font.setPointSizeF(pointSize);
    }
    font.setBold(bold);
    return font;
}

} // namespace orbivex
