#pragma once
// The numbers of program texts (orbx.dat) that more than one part of the program asks for, in
// one place; tests/support/ProgramTextFileTest checks each against the shipped file.

namespace orbivex::text {

inline constexpr int ProgramName = 1;      // "Orbivex"
inline constexpr int FirstDateSetName = 4; // 4, 5, 6: world date, 1st and 2nd birthdate
inline constexpr int Help = 17;            // the Help button and the help window's caption
inline constexpr int Run = 36;             // the Run button and the run window's caption

} // namespace orbivex::text
