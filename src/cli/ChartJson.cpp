#include "cli/ChartJson.h"

#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"

#include <QCborValue>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace orbivex::cli {

namespace {

// Writes JSON text as QJsonDocument writes it, compact or indented by four spaces a level.
class JsonWriter {
  public:
    JsonWriter(std::string& out, JsonLayout layout)
        : out_(out), compact_(layout == JsonLayout::Compact) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // A key written as it stands: the keys of a chart are plain ASCII.
    void Key(const char* key) {
        StartMember();
        out_ += '"';
        out_ += key;
        out_ += compact_ ? "\":" : "\": ";
        afterKey_ = true;
    }
    void Null() {
        StartValue();
        out_ += "null";
    }
    void Bool(bool value) {
        StartValue();
        out_ += value ? "true" : "false";
    }
    void Number(double value) {
        StartValue();
        AppendNumber(value);
    }
    void Integer(qint64 value) {
        StartValue();
        std::array<char, 24> digits{};
        const std::to_chars_result written = std::to_chars(digits.begin(), digits.end(), value);
        out_.append(digits.data(), written.ptr);
    }
    void String(QStringView text) {
        StartValue();
        AppendString(text);
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
            // A number read as an integer stays one, however large, as QJsonDocument keeps it.
            if (const QCborValue stored = QCborValue::fromJsonValue(value); stored.isInteger()) {
                Integer(stored.toInteger());
            } else {
                Number(value.toDouble());
            }
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
                StartMember();
                AppendString(member.key());
                out_ += compact_ ? ":" : ": ";
                afterKey_ = true;
                Value(member.value());
            }
            EndObject();
            break;
        }
        }
    }

  private:
    // Before a key: the comma after the member before it, and the indentation.
    void StartMember() {
        if (!first_) {
            out_ += compact_ ? "," : ",\n";
        }
        first_ = false;
        Indent(depth_);
    }
    // Before a value: after its key nothing, in an array as before a key.
    void StartValue() {
        if (afterKey_) {
            afterKey_ = false;
        } else if (depth_ > 0) {
            StartMember();
        }
    }
    void Open(char c) {
        StartValue();
        out_ += c;
        if (!compact_) {
            out_ += '\n';
        }
        ++depth_;
        first_ = true;
    }
    void Close(char c) {
        if (!compact_ && !first_) {
            out_ += '\n';
        }
        --depth_;
        Indent(depth_);
        out_ += c;
        first_ = false;
    }
    void Indent(int depth) {
        if (!compact_) {
            out_.append(static_cast<std::size_t>(4 * depth), ' ');
        }
    }

    void AppendNumber(double value) {
        // A number JSON cannot hold (never one of a chart) as null.
        if (!std::isfinite(value)) {
            out_ += "null";
            return;
        }
        // Whole numbers below 2^53 as integers; others in the shortest text that reads back to
        // the same number, in the shorter of the plain and the exponent form ("0.00015",
        // "3e-04"), as QJsonDocument writes them.
        std::array<char, 32> digits{};
        if (value == std::trunc(value) && std::abs(value) < 9007199254740992.0) {
            const std::to_chars_result written =
                std::to_chars(digits.begin(), digits.end(), static_cast<qint64>(value));
            out_.append(digits.data(), written.ptr);
            return;
        }
        const std::to_chars_result written = std::to_chars(digits.begin(), digits.end(), value);
        const std::string_view text(digits.data(),
                                    static_cast<std::size_t>(written.ptr - digits.data()));
        if (text.find_first_of(".e") != std::string_view::npos) {
            out_.append(text);
            return;
        }
        // A whole number from 2^53 on in the plain form: its shortest digits padded with
        // zeros, where to_chars would write every digit of the binary value.
        std::array<char, 32> scientific{};
        const std::to_chars_result form = std::to_chars(scientific.begin(), scientific.end(), value,
                                                        std::chars_format::scientific);
        const std::string_view mantissa(scientific.data(),
                                        static_cast<std::size_t>(form.ptr - scientific.data()));
        const std::size_t e = mantissa.find('e');
        int exponent = 0;
        std::from_chars(mantissa.data() + e + (mantissa[e + 1] == '+' ? 2 : 1), form.ptr, exponent);
        int count = 0;
        for (const char c : mantissa.substr(0, e)) {
            if (c != '.') {
                out_ += c;
                count += c == '-' ? 0 : 1;
            }
        }
        out_.append(static_cast<std::size_t>(std::max(0, exponent + 1 - count)), '0');
    }

    // A string as QJsonDocument escapes it: quotes, backslashes and control characters
    // escaped, other characters in UTF-8, a lone surrogate as \uXXXX.
    void AppendString(QStringView text) {
        static constexpr char Hex[] = "0123456789abcdef";
        out_ += '"';
        const char16_t* at = text.utf16();
        const char16_t* const end = at + text.size();
        while (at != end) {
            const char16_t c = *at++;
            if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
                out_ += static_cast<char>(c);
                continue;
            }
            if (c < 0x80) {
                out_ += '\\';
                switch (c) {
                case u'"':
                    out_ += '"';
                    break;
                case u'\\':
                    out_ += '\\';
                    break;
                case u'\b':
                    out_ += 'b';
                    break;
                case u'\f':
                    out_ += 'f';
                    break;
                case u'\n':
                    out_ += 'n';
                    break;
                case u'\r':
                    out_ += 'r';
                    break;
                case u'\t':
                    out_ += 't';
                    break;
                default:
                    out_ += "u00";
                    out_ += Hex[c >> 4];
                    out_ += Hex[c & 0xF];
                }
                continue;
            }
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && at != end && QChar::isLowSurrogate(*at)) {
                code = QChar::surrogateToUcs4(c, *at++);
            } else if (QChar::isSurrogate(c)) {
                out_ += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4) {
                    out_ += Hex[(c >> shift) & 0xF];
                }
                continue;
            }
            if (code < 0x800) {
                out_ += static_cast<char>(0xC0 | (code >> 6));
            } else if (code < 0x10000) {
                out_ += static_cast<char>(0xE0 | (code >> 12));
                out_ += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            } else {
                out_ += static_cast<char>(0xF0 | (code >> 18));
                out_ += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                out_ += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            }
            out_ += static_cast<char>(0x80 | (code & 0x3F));
        }
        out_ += '"';
    }

    std::string& out_;
    bool compact_;
    int depth_ = 0;
    bool first_ = true;     // nothing written yet in the object or array open
    bool afterKey_ = false; // a key was written and its value is next
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

void WriteRecordKeys(JsonWriter& json, const RecordKeys& record) {
    json.Key("id");
    json.Value(record.id);
    json.Key("line");
    json.Integer(record.line);
}

QByteArray Finish(std::string& out) {
    out += '\n';
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace

QByteArray ChartJson(const ProgramState& state, const ChartView& view, JsonLayout layout,
                     const RecordKeys* record) {
    const Chart& chart = state.chart;
    std::string out;
    out.reserve(layout == JsonLayout::Compact ? 8 * 1024 : 16 * 1024);
    JsonWriter json(out, layout);
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
        json.Integer(count);
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
    if (record != nullptr) {
        WriteRecordKeys(json, *record);
    }

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
    return Finish(out);
}

QByteArray ErrorJson(const QString& error, const RecordKeys& record) {
    std::string out;
    JsonWriter json(out, JsonLayout::Compact);
    json.BeginObject();
    json.Key("error");
    json.String(error);
    WriteRecordKeys(json, record);
    json.EndObject();
    return Finish(out);
}

} // namespace orbivex::cli
