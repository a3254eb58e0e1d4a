#pragma once
// The document of `chart --json` written straight as one line of compact JSON, with the id and
// the number of the input line that asked for it: the output line of orbivex-cli batch. Built
// through QJsonObject, the document costs three times the chart itself; written directly it
// costs less than the chart. The keys come in alphabetical order, as QJsonDocument writes them.

#include "present/ChartView.h"
#include "session/ProgramState.h"

#include <QByteArray>
#include <QJsonValue>

namespace orbivex::cli {

// The chart the last Compute left in the state, with "id" and "line"; ends with a line break.
QByteArray ChartJsonLine(const ProgramState& state, const ChartView& view, const QJsonValue& id,
                         qint64 line);

// {"error": error, "id": id, "line": line} and a line break.
QByteArray ErrorJsonLine(const QString& error, const QJsonValue& id, qint64 line);

} // namespace orbivex::cli
