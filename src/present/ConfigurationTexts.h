#pragma once
// What the configuration window says: why it refuses settings, and its questions.

#include "session/Configuration.h"

#include <QString>

namespace orbivex {

class ProgramTexts;

struct ConfigurationNotice {
    QString title;
    QString message;
};

// The sentence of a settings fault: "The boldface factor is entry 12 of a list with entries 0
// to 8.", "The orb of the Opposition is 2.5°, not a whole number of degrees.", and for both
// chart filters the message that Accept shows titled with the window caption.
QString SettingsFaultMessage(const SettingsFault& fault);

// Choosing 0° in the "Set all" list, or setting all non-zero orbs to 0, is refused.
ConfigurationNotice SetAllZeroRefusal();
// The question before "Set all non-zero orbs to:" an angle in degrees.
ConfigurationNotice SetAllQuestion(const ProgramTexts& texts, double degrees);
// The question of "Reset to default", titled with the button's caption.
ConfigurationNotice ResetQuestion(const ProgramTexts& texts, const QString& buttonCaption);

} // namespace orbivex
