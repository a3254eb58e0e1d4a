#pragma once
// The aspect pattern finders. Each searches the first chart's positions (column 0) with the
// world/natal orbs (orb column 0) exhaustively and returns one line per pattern found, each
// ended by CR LF, or "" when there is none.

#include "core/Bodies.h"
#include "core/ChartTables.h"

#include <QString>
#include <array>
#include <span>

namespace orbivex {

// What a pattern run needs to hear from the finders: while it seeks particular bodies that it
// has not found yet, each pattern found is reported to it.
class PatternRunHook {
  public:
    virtual ~PatternRunHook() = default;
    // True while the run seeks bodies and has not yet met them all in the sought pattern.
    virtual bool SeeksBodies() const = 0;
    // patternName as the report writes it ("Grand trine", "3-stellium" ... "6-stellium",
    // "Midpoint"); bodies in the order of the report (three to six of them).
    virtual void CheckSoughtBodies(const QString& patternName,
                                   std::span<const BodyIndex> bodies) = 0;
};

struct PatternContext {
    const BodyPositions& positions;
    const OrbTable& orbs;
    int numBodies = MaxBodies; // bodies 1..numBodies take part (at most MaxBodies)
    QString orbWord{};         // the word before the mean orb in the report form
    PatternRunHook* runHook = nullptr;
    // The bodies a pattern run seeks (0 = none). A 3-stellium lacking one of them ends the
    // 3-stellium search with an empty text; pass zeros when no run seeks bodies.
    std::array<BodyIndex, 3> soughtBodies{};
};

enum class PatternForm {
    Report, // "Grand trine: Ju-Sa-Ne (<orb word> 1°23')"
    Names,  // "Jupiter-Saturn-Neptune"
};

// Each finder sets count to the number of patterns found and returns their lines.
QString FindGrandTrines(const PatternContext& context, PatternForm form, int& count);
// Kites are written starting with the vertex opposite the fourth body, the fourth body last.
QString FindKites(const PatternContext& context, PatternForm form, int& count);
QString FindRectangles(const PatternContext& context, PatternForm form, int& count);
// T-squares and yods are written with the apex in the middle.
QString FindTSquares(const PatternContext& context, PatternForm form, int& count);
QString FindGrandCrosses(const PatternContext& context, PatternForm form, int& count);
QString FindYods(const PatternContext& context, PatternForm form, int& count);
QString FindYodKites(const PatternContext& context, PatternForm form, int& count);
QString FindTrapeziums(const PatternContext& context, PatternForm form, int& count);
// size 3 to 6: clusters of that many bodies all mutually conjunct. Other sizes find nothing.
QString FindStelliums(const PatternContext& context, int size, PatternForm form, int& count);
// The count is 1 whenever one is found; the report form has no orb part.
QString FindGrandSextiles(const PatternContext& context, PatternForm form, int& count);

// The finder of a pattern index 0..12 (GrandTrine ... GrandSextile); "" and 0 otherwise.
QString FindPattern(PatternIndex pattern, const PatternContext& context, PatternForm form,
                    int& count);

} // namespace orbivex
