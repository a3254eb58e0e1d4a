#include "core/Bodies.h"

#include "support/Rounding.h"

#include <cmath>

namespace orbivex {

QString BodyName(BodyIndex body) {
    return IsBody(body) ? QString::fromUtf8(Bodies[body].name) : QString();
}

QString BodyAbbreviation(BodyIndex body) {
    return IsBody(body) ? QString::fromUtf8(Bodies[body].abbreviation) : QString();
}

QString AspectAbbreviation(AspectKind kind) {
    return IsAspectKind(kind) ? QString::fromUtf8(AspectKinds[kind].abbreviation) : QString();
}

QString AspectName(AspectKind kind) {
    return IsAspectKind(kind) ? QString::fromUtf8(AspectKinds[kind].name) : QString();
}

QString AspectDescription(AspectKind kind) {
    if (!IsAspectKind(kind)) {
        return {};
    }
    return QString::fromUtf8(AspectKinds[kind].descriptionStem) + QStringLiteral("°)");
}

QString AspectPluralLower(AspectKind kind) {
    if (!IsAspectKind(kind)) {
        return {};
    }
    return AspectName(kind).toLower() +
           (kind == Quincunx ? QStringLiteral("es") : QStringLiteral("s"));
}

QString PatternName(PatternIndex pattern) {
    return IsPattern(pattern) ? QString::fromUtf8(PatternNames[Index(pattern)]) : QString();
}

PatternIndex PatternIndexOfName(QStringView name) {
    for (PatternIndex pattern : AllPatterns) {
        if (name.compare(QString::fromUtf8(PatternNames[Index(pattern)]), Qt::CaseInsensitive) ==
            0) {
            return pattern;
        }
    }
    return NoPattern;
}

QString FormatZodiacPosition(double longitude, bool longForm) {
    if (std::isnan(longitude) || longitude < 0.0 || longitude > FullCircle) {
        return {};
    }
    const double degrees = RadiansToDegrees(longitude);
    int d = static_cast<int>(std::floor(degrees + 0.00001));
    int m = static_cast<int>(RoundHalfEven((degrees - d) * 60.0));
    if (m == 60) {
        if (d == 359) {
            m = 59; // the text never reaches 360
        } else {
            ++d;
            m = 0;
        }
    }
    const int sign = (d / 30) % NumZodiacSigns;
    int ds = d % 30;
    if (!longForm) {
        return QString::number(ds) + QString::fromUtf8(ZodiacSigns[sign].abbreviation) +
               QString::number(m);
    }
    // Round the minutes into the degree, but never from 29 into the next sign.
    if (m > 30 && ds != 29) {
        ++ds;
    }
    return QString::number(ds) + QStringLiteral("° in ") +
           QString::fromUtf8(ZodiacSigns[sign].name);
}

} // namespace orbivex
