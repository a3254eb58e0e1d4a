#include "core/Bodies.h"

#include "core/ZodiacPlace.h"

#include "support/Rounding.h"

#include <cmath>

namespace orbivex {
using enum AspectKind;
using enum PatternIndex;

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

std::optional<ZodiacPlace> ZodiacPlaceOf(double longitude) {
    if (std::isnan(longitude) || longitude < 0.0 || longitude > FullCircle) {
        return std::nullopt;
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
    return ZodiacPlace{(d / 30) % NumZodiacSigns, d % 30, m};
}

ZodiacShortText ShortZodiacText(const ZodiacPlace& place) {
    ZodiacShortText text;
    const auto put = [&text](char c) { text.chars[text.size++] = c; };
    const auto number = [&put](int value) {
        if (value >= 10) {
            put(static_cast<char>('0' + value / 10));
        }
        put(static_cast<char>('0' + value % 10));
    };
    number(place.degree);
    for (const char* c = ZodiacSigns[static_cast<std::size_t>(place.sign)].abbreviation; *c != 0;
         ++c) {
        put(*c);
    }
    number(place.minute);
    return text;
}

QString FormatZodiacPosition(double longitude, bool longForm) {
    const std::optional<ZodiacPlace> place = ZodiacPlaceOf(longitude);
    if (!place) {
        return {};
    }
    const auto sign = static_cast<std::size_t>(place->sign);
    if (!longForm) {
        const ZodiacShortText text = ShortZodiacText(*place);
        return QString::fromLatin1(text.chars.data(), static_cast<qsizetype>(text.size));
    }
    // Round the minutes into the degree, but never from 29 into the next sign.
    const int degree =
        place->minute > 30 && place->degree != 29 ? place->degree + 1 : place->degree;
    return QString::number(degree) + QStringLiteral("° in ") +
           QString::fromUtf8(ZodiacSigns[sign].name);
}

} // namespace orbivex
