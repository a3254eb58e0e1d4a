#pragma once
// The JSON of a chart, for `chart --json` (indented, a document) and for each line of `batch`
// (compact, with the line's id and number): one writer for both, so the two cannot drift apart.
// Built through QJsonObject the document would cost three times the chart itself; written
// directly it costs less than the chart. The text is what QJsonDocument would write for the same
// values: keys in alphabetical order, whole numbers as integers, other numbers in the shortest
// form that reads back the same, and Qt's indentation and escapes.

#include "places/Place.h"
#include "present/ChartView.h"
#include "session/ProgramState.h"

#include <QByteArray>
#include <QJsonValue>
#include <array>
#include <optional>
#include <string>

namespace orbivex::cli {

enum class JsonLayout {
    Compact,  // one line without spaces, as QJsonDocument::Compact, and a line break
    Indented, // four spaces a level, as QJsonDocument::Indented writes it (with its line break)
};

// What a batch record adds to the chart: the id its input line gave, and that line's number.
struct RecordKeys {
    QJsonValue id;
    qint64 line = 0;
};

// Where a date of the chart was read: its place, when one was given, and whether the local
// mean time of the place's longitude was used.
struct DatePlaceFacts {
    std::optional<Place> place;
    bool localMeanTime = false;
};
using ChartPlaces = std::array<DatePlaceFacts, NumDateSets>;

// The places of the state's dates, and whether each was read in its place's local mean time.
ChartPlaces ChartPlacesOf(const ProgramState& state);

// The chart the last Compute left in the state, with its title and report from `view` and the
// places of its dates. With `record`, its "id" and "line" are among the keys.
QByteArray ChartJson(const ProgramState& state, const ChartView& view, const ChartPlaces& places,
                     JsonLayout layout, const RecordKeys* record = nullptr);

// The same, added to `out`.
void AppendChartJson(QByteArray& out, const ProgramState& state, const ChartView& view,
                     const ChartPlaces& places, JsonLayout layout,
                     const RecordKeys* record = nullptr);

// {"error": error, "id": id, "line": line}, compact.
QByteArray ErrorJson(const QString& error, const RecordKeys& record);

} // namespace orbivex::cli
