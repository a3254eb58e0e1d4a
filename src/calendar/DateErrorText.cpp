#include "calendar/DateInput.h"
#include "support/ProgramTexts.h"

#include <cmath>

namespace orbivex {

namespace {

constexpr int FirstDateSetNameText = 4; // 4, 5, 6: world date, first and second birthdate
constexpr int FirstDateErrorText = 145; // 145 .. 148 for codes -1 .. -4
constexpr int DateErrorTitleText = 153;

} // namespace

DateErrorText ReportDateError(const ProgramTexts& texts, int dateSetIndex, double code) {
    // Only -1 .. -4 (after rounding) are error codes; a Julian date or NaN has no message.
    if (dateSetIndex < 0 || dateSetIndex >= NumDateSets ||
        !(code < DateIncomplete + 0.5 && code >= DateFromYear2800 - 0.5)) {
        return {};
    }
    const long rounded = std::lround(code);
    const int errorText = FirstDateErrorText + static_cast<int>(DateIncomplete - rounded);
    return {texts.ProgramText(FirstDateSetNameText + dateSetIndex) + QLatin1Char(' ') +
                texts.ProgramText(errorText),
            texts.ProgramText(DateErrorTitleText)};
}

} // namespace orbivex
