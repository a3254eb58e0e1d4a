#include "present/ConfigurationTexts.h"

#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <algorithm>
#include <cmath>

namespace orbivex {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Degree = QStringLiteral("°");

QString FieldName(const SettingsFault& fault) {
    switch (fault.field) {
    case SettingsField::Orb:
        return fault.orbList == SetAllOrbList
                   ? QStringLiteral("The \"Set all\" orb")
                   : QStringLiteral("The orb of the ") +
                         AspectName(AspectKindOfNumber(fault.orbList + 1));
    case SettingsField::PersonalDivisor:
        return QStringLiteral("The proportion for personal transits");
    case SettingsField::SynastryDivisor:
        return QStringLiteral("The proportion for synastry");
    case SettingsField::BoldfaceFactor:
        return QStringLiteral("The boldface factor");
    case SettingsField::MidpointOrb:
        return QStringLiteral("The orb for midpoints");
    case SettingsField::ChartFilters:
    case SettingsField::Colour:
        break;
    }
    return {};
}

} // namespace

QString SettingsFaultMessage(const SettingsFault& fault) {
    if (fault.field == SettingsField::ChartFilters) {
        return QStringLiteral("'Show only Earth aspects in chart' and") + CrLf +
               QStringLiteral("'Show only outer planet aspects in chart'") + CrLf +
               QStringLiteral("cannot both be checked.");
    }
    if (fault.field == SettingsField::Colour) {
        return QStringLiteral("The colour %1 of the %2 is not an RGB colour.")
            .arg(static_cast<int>(fault.value))
            .arg(AspectName(fault.kind));
    }
    const double value = fault.value;
    if (!std::isfinite(value) || value != std::trunc(value)) {
        return QStringLiteral("%1 is %2°, not a whole number of degrees.")
            .arg(FieldName(fault))
            .arg(value);
    }
    return QStringLiteral("%1 is entry %2 of a list with entries 0 to %3.")
        .arg(FieldName(fault))
        .arg(static_cast<int>(std::clamp(value, -1e9, 1e9)))
        .arg(fault.entries - 1);
}

ConfigurationNotice SetAllZeroRefusal() {
    return {QStringLiteral("Set all"), QStringLiteral("Cannot set all non-zero orbs to zero.")};
}

ConfigurationNotice SetAllQuestion(const ProgramTexts& texts, double degrees) {
    QString message = texts.ProgramText(text::SetEveryNonZeroOrbQuestion);
    message.replace(QStringLiteral("NEW_ORB"), QString::number(degrees) + Degree);
    return {texts.ProgramText(text::SetAllOrbs), message};
}

ConfigurationNotice ResetQuestion(const ProgramTexts& texts, const QString& buttonCaption) {
    return {buttonCaption, texts.ProgramText(text::ResetAllQuestion) + CrLf +
                               texts.ProgramText(text::SettingsWillBeLost)};
}

} // namespace orbivex
