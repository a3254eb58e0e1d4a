#include "cli/ChartJsonLine.h"

#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace orbivex::cli {

namespace {

// Writes JSON text compactly. After a key the next value takes no comma; after a value or the
// end of an object or array, the next one does.
class JsonWriter {
  public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(const char* key) {
        Separate();
        out_ += '"';
        out_ += key;
        out_ += "\":";
        first_ = true;
    }
    void Null() {
        Separate();
        out_ += "null";
    }
    void Bool(bool value) {
        Separate();
        out_ += value ? "true" : "false";
    }
    void Number(double value) {
        Separate();
        // Whole numbers as integers, as QJsonDocument writes them; a number JSON cannot hold
        // (never one of a chart) as null.
        std::array<char, 32> digits{};
        std::to_chars_result written{};
        if (!std::isfinite(value)) {
            out_ += "null";
            return;
        }
        if (value == std::trunc(value) && std::abs(value) < 9007199254740992.0) {
            written = std::to_chars(digits.begin(), digits.end(), static_cast<qint64>(value));
        } else {
            // The shortest text that reads back to the same number.
            written = std::to_chars(digits.begin(), digits.end(), value);
        }
        out_.append(digits.data(), written.ptr);
    }
    void String(QStringView text) {
        Separate();
        out_ += '"';
        for (qsizetype at = 0; at < text.size(); ++at) {
            const char16_t c = text[at].unicode();
            if (c >= 0x80) {
                // The run of such characters at once: few texts of a chart go beyond ASCII.
                qsizetype end = at;
                while (end < text.size() && text[end].unicode() >= 0x80) {
                    ++end;
                }
                out_ += text.mid(at, end - at).toUtf8().toStdString();
                at = end - 1;
            } else if (c >= 0x20 && c != u'"' && c != u'\\') {
                out_ += static_cast<char>(c);
            } else if (c == u'"' || c == u'\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c == u'\n') {
                out_ += "\\n";
            } else if (c == u'\r') {
                out_ += "\\r";
            } else if (c == u'\t') {
                out_ += "\\t";
            } else {
                out_ += "\\u00";
                out_ += "0123456789abcdef"[c >> 4];
                out_ += "0123456789abcdef"[c & 0xF];
            }
        }
        out_ += '"';
    }
    void Value(const QJsonValue& value) {
        switch (value.type()) {
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            Null();
            break;
        case QJsonValue::Bool:
            Bool(value.toBool());
            break;
        case QJsonValue::Double:
            Number(value.toDouble());
            break;
        case QJsonValue::String:
            String(value.toString());
            break;
        case QJsonValue::Array:
            BeginArray();
            for (const QJsonValue& element : value.toArray()) {
                Value(element);
            }
            EndArray();
            break;
        case QJsonValue::Object: {
            BeginObject();
            const QJsonObject object = value.toObject();
            for (auto member = object.begin(); member != object.end(); ++member) {
                Separate();
                first_ = true;
                String(member.key());
                out_ += ':';
                first_ = true;
                Value(member.value());
            }
            EndObject();
            break;
        }
        }
    }

  private:
    void Separate() {
        if (!first_) {
            out_ += ',';
        }
        first_ = false;
    }
    void Open(char c) {
        Separate();
        out_ += c;
        first_ = true;
    }
    void Close(char c) {
        out_ += c;
        first_ = false;
    }

    std::string& out_;
    bool first_ = true;
};

// The positions of one set of the chart, as PositionJson writes them.
void WritePositions(JsonWriter& json, const Chart& chart, int set) {
    const auto index = static_cast<std::size_t>(set);
    const bool ofDate = chart.zodiac == ZodiacChoice::OfDate;
    json.BeginArray();
    for (BodyIndex body : AllBodies) {
        const Position& position = chart.positions[index][body];
        const double longitude = position.Longitude();
        const PositionFacts facts = PositionFactsOf(position, chart.zodiacOffset[index]);
        json.BeginObject();
        json.Key("body");
        json.String(BodyName(body));
        json.Key("longitude");
        if (facts.missing != nullptr) {
            json.Null();
            json.Key("missing");
            json.String(QString::fromLatin1(facts.missing));
        } else {
            json.Number(RadiansToDegrees(longitude));
            if (ofDate) {
                json.Key("longitudeOfDate");
                json.Number(
                    RadiansToDegrees(LongitudeInZodiac(longitude, chart.zodiacOffset[index])));
            }
            json.Key("sign");
            json.String(facts.sign);
            json.Key("text");
            json.String(facts.text);
        }
        json.EndObject();
    }
    json.EndArray();
}

void WriteBodies(JsonWriter& json, std::span<const BodyIndex> bodies) {
    json.BeginArray();
    for (const BodyIndex body : bodies) {
        json.String(BodyName(body));
    }
    json.EndArray();
}

void WriteIdAndLine(JsonWriter& json, const QJsonValue& id, qint64 line) {
    json.Key("id");
    json.Value(id);
    json.Key("line");
    json.Number(static_cast<double>(line));
}

} // namespace

QByteArray ChartJsonLine(const ProgramState& state, const ChartView& view, const QJsonValue& id,
                         qint64 line) {
    const Chart& chart = state.chart;
    std::string out;
    out.reserve(8 * 1024);
    JsonWriter json(out);
    std::array<QString, NumAspectKinds + 1> aspectNames;
    for (const AspectKind kind : AllAspectKinds) {
        aspectNames[Index(kind)] = AspectJsonName(kind);
    }
    json.BeginObject();

    json.Key("aspects");
    json.BeginArray();
    for (const ChartAspect& aspect : chart.aspects) {
        json.BeginObject();
        json.Key("angle");
        json.Number(AspectKinds[Index(aspect.kind)].angleDegrees);
        json.Key("aspect");
        json.String(aspectNames[Index(aspect.kind)]);
        json.Key("bold");
        json.Bool(aspect.bold);
        json.Key("first");
        json.String(BodyName(aspect.first));
        json.Key("motion");
        if (aspect.motion == Motion::None) {
            json.Null();
        } else {
            json.String(MotionName(aspect.motion));
        }
        json.Key("orb");
        json.Number(RadiansToDegrees(aspect.deviation));
        json.Key("second");
        json.String(BodyName(aspect.second));
        json.EndObject();
    }
    json.EndArray();

    json.Key("counts");
    std::vector<std::pair<QByteArray, int>> counts{{"total", chart.aspectCounts.Total()}};
    for (const AspectKind kind : AllAspectKinds) {
        counts.emplace_back(aspectNames[Index(kind)].toUtf8(), chart.aspectCounts[kind]);
    }
    std::sort(counts.begin(), counts.end());
    json.BeginObject();
    for (const auto& [name, count] : counts) {
        json.Key(name.constData());
        json.Number(count);
    }
    json.EndObject();

    json.Key("dates");
    json.BeginObject();
    static constexpr std::array<const char*, NumDateSets> DateNames{"world", "birth1", "birth2"};
    const std::array<bool, NumDateSets> used = DateSetsOfMode(state.recordedMode);
    for (const std::size_t set : {std::size_t{1}, std::size_t{2}, std::size_t{0}}) {
        if (!used[set]) {
            continue;
        }
        json.Key(DateNames[set]);
        json.BeginObject();
        json.Key("julianDay");
        json.Number(state.ChartJulianDays[set]);
        json.Key("text");
        json.String(DateSetText(state.dateSets[set], state.zones));
        json.EndObject();
    }
    json.EndObject();

    json.Key("format");
    json.String(FormatName("chart"));
    WriteIdAndLine(json, id, line);

    json.Key("midpoints");
    json.BeginArray();
    for (const MidpointConfiguration& midpoint : chart.midpoints) {
        json.BeginObject();
        json.Key("bodies");
        WriteBodies(json, midpoint.bodies);
        json.EndObject();
    }
    json.EndArray();

    json.Key("mode");
    json.String(ModeOptionName(chart.mode));

    json.Key("patterns");
    json.BeginArray();
    for (const FoundPattern& pattern : chart.patterns) {
        json.BeginObject();
        json.Key("bodies");
        WriteBodies(json, pattern.Bodies());
        json.Key("meanOrb");
        if (pattern.meanOrb) {
            json.Number(RadiansToDegrees(*pattern.meanOrb));
        } else {
            json.Null();
        }
        json.Key("pattern");
        json.String(PatternJsonName(pattern.pattern));
        json.EndObject();
    }
    json.EndArray();

    json.Key("positions");
    json.BeginObject();
    json.Key("first");
    WritePositions(json, chart, 0);
    if (chart.TwoSets()) {
        json.Key("second");
        WritePositions(json, chart, 1);
    }
    json.EndObject();

    json.Key("report");
    json.String(ForTerminal(view.report));
    json.Key("title");
    json.String(ForTerminal(view.title).trimmed());
    json.EndObject();
    out += '\n';
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QByteArray ErrorJsonLine(const QString& error, const QJsonValue& id, qint64 line) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("error");
    json.String(error);
    WriteIdAndLine(json, id, line);
    json.EndObject();
    out += '\n';
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace orbivex::cli
