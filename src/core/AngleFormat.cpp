#include "core/AngleFormat.h"

#include "core/Bodies.h"
#include "support/Rounding.h"

#include <cmath>

namespace orbivex {

QString FormatDegreesMinutes(double angle, bool omitZeroMinutes, bool keepMinuteSpace,
                             bool allowNegative, bool carryWholeMinute) {
    if (std::isnan(angle) || (angle < 0.0 && !allowNegative)) {
        return {};
    }
    const bool negative = angle < 0.0;
    angle = std::fabs(angle);
    if (angle > FullCircle) {
        return {};
    }
    const double d = RadiansToDegrees(angle);
    int degrees = static_cast<int>(std::floor(d + 0.00001));
    int minutes = static_cast<int>(RoundHalfEven((d - degrees) * 60.0));
    if (minutes == 60) {
        if (carryWholeMinute || degrees != 359) {
            minutes = 0;
            ++degrees;
        } else {
            minutes = 59;
        }
    }
    QString text = QString::number(degrees) + QStringLiteral("°");
    if (!(omitZeroMinutes && minutes == 0)) {
        if (keepMinuteSpace) {
            text += QLatin1Char(' ');
        }
        text += QString::number(minutes) + QLatin1Char('\'');
    }
    return negative ? QLatin1Char('-') + text : text;
}

} // namespace orbivex
