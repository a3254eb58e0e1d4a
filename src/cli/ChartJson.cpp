#include "cli/ChartJson.h"

#include "cli/ChartOptions.h"
#include "cli/CliDates.h"
#include "cli/CliPlaces.h"
#include "cli/Commands.h"
#include "cli/JsonOutput.h"

#include <QCborValue>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace orbivex::cli {

namespace {

// Writes JSON text as QJsonDocument writes it, compact or indented by four spaces a level, at
// the end of a byte array. The text goes through a pointer into room made ahead in the array
// (QByteArray leaves that room unfilled, where a std::string would clear it), which is cut to
// what was written when the writer goes.
class JsonWriter {
  public:
    JsonWriter(QByteArray& out, JsonLayout layout)
        : out_(out), at_(static_cast<std::size_t>(out.size())),
          compact_(layout == JsonLayout::Compact) {
        Grow(0);
    }
    ~JsonWriter() { out_.resize(static_cast<qsizetype>(at_)); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // A key written as it stands: the keys of a chart are plain ASCII.
    void Key(std::string_view key) {
        StartMember();
        char* to = Room(key.size() + 4);
        *to++ = '"';
        to = Copy(to, key);
        *to++ = '"';
        *to++ = ':';
        if (!compact_) {
            *to++ = ' ';
        }
        Done(to);
        afterKey_ = true;
    }
    // A value already written as JSON: a quoted name of the tables below.
    void Raw(std::string_view json) {
        StartValue();
        Put(json);
    }
    void Null() { Raw("null"); }
    void Bool(bool value) { Raw(value ? "true" : "false"); }
    void Number(double value) {
        StartValue();
        AppendNumber(value);
    }
    void Integer(qint64 value) {
        StartValue();
        char* to = Room(24);
        Done(std::to_chars(to, to + 24, value).ptr);
    }
    void String(QStringView text) {
        StartValue();
        AppendString(text, false);
    }
    // A text of the program, its line ends as a terminal's: a carriage return before a line
    // feed is left out, as ForTerminal does.
    void TerminalString(QStringView text) {
        StartValue();
        AppendString(text, true);
    }
    // A plain ASCII text that needs no escapes, in quotes.
    void PlainString(std::string_view text) {
        StartValue();
        char* to = Room(text.size() + 2);
        *to++ = '"';
        to = Copy(to, text);
        *to++ = '"';
        Done(to);
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
                AppendString(member.key(), false);
                Put(compact_ ? std::string_view(":") : std::string_view(": "));
                afterKey_ = true;
                Value(member.value());
            }
            EndObject();
            break;
        }
        }
    }
    void LineBreak() { Put("\n"); }

  private:
    // Where `count` more characters can be written.
    char* Room(std::size_t count) {
        if (size_ - at_ < count) {
            Grow(count);
        }
        return base_ + at_;
    }
    void Grow(std::size_t count) {
        out_.resize(static_cast<qsizetype>(std::max(2 * size_, at_ + count + 8192)));
        base_ = out_.data();
        size_ = static_cast<std::size_t>(out_.size());
    }
    void Done(const char* to) { at_ = static_cast<std::size_t>(to - base_); }
    static char* Copy(char* to, std::string_view text) {
        std::memcpy(to, text.data(), text.size());
        return to + text.size();
    }
    void Put(std::string_view text) { Done(Copy(Room(text.size()), text)); }

    // Before a key: the comma after the member before it, and the indentation.
    void StartMember() {
        char* to = Room(2 + 4 * static_cast<std::size_t>(depth_));
        if (!first_) {
            *to++ = ',';
            if (!compact_) {
                *to++ = '\n';
            }
        }
        first_ = false;
        if (!compact_) {
            to = Indent(to, depth_);
        }
        Done(to);
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
        char* to = Room(2);
        *to++ = c;
        if (!compact_) {
            *to++ = '\n';
        }
        Done(to);
        ++depth_;
        first_ = true;
    }
    void Close(char c) {
        --depth_;
        char* to = Room(2 + 4 * static_cast<std::size_t>(depth_));
        if (!compact_) {
            if (!first_) {
                *to++ = '\n';
            }
            to = Indent(to, depth_);
        }
        *to++ = c;
        Done(to);
        first_ = false;
    }
    static char* Indent(char* to, int depth) {
        const auto count = static_cast<std::size_t>(4 * depth);
        std::memset(to, ' ', count);
        return to + count;
    }

    void AppendNumber(double value) {
        // A number JSON cannot hold (never one of a chart) as null.
        if (!std::isfinite(value)) {
            Put("null");
            return;
        }
        // Whole numbers below 2^53 as integers; others in the shortest text that reads back to
        // the same number, in the shorter of the plain and the exponent form ("0.00015",
        // "3e-04"), as QJsonDocument writes them.
        char* to = Room(32);
        if (value == std::trunc(value) && std::abs(value) < 9007199254740992.0) {
            Done(std::to_chars(to, to + 32, static_cast<qint64>(value)).ptr);
            return;
        }
        const std::to_chars_result written = std::to_chars(to, to + 32, value);
        const std::string_view text(to, static_cast<std::size_t>(written.ptr - to));
        if (text.find_first_of(".e") != std::string_view::npos) {
            Done(written.ptr);
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
                *to++ = c;
                count += c == '-' ? 0 : 1;
            }
        }
        Done(to);
        Put(std::string(static_cast<std::size_t>(std::max(0, exponent + 1 - count)), '0'));
    }

    // A string as QJsonDocument escapes it: quotes, backslashes and control characters
    // escaped, other characters in UTF-8, a lone surrogate as \uXXXX.
    void AppendString(QStringView text, bool terminal) {
        static constexpr char Hex[] = "0123456789abcdef";
        // Room for the longest form of every code unit (\u0001), so that the characters go in
        // with no check of the room left.
        char* to = Room(6 * static_cast<std::size_t>(text.size()) + 2);
        *to++ = '"';
        const char16_t* at = text.utf16();
        const char16_t* const end = at + text.size();
        while (at != end) {
            const char16_t c = *at++;
            if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
                *to++ = static_cast<char>(c);
                continue;
            }
            if (c < 0x80) {
                if (terminal && c == u'\r' && at != end && *at == u'\n') {
                    continue;
                }
                *to++ = '\\';
                switch (c) {
                case u'"':
                    *to++ = '"';
                    break;
                case u'\\':
                    *to++ = '\\';
                    break;
                case u'\b':
                    *to++ = 'b';
                    break;
                case u'\f':
                    *to++ = 'f';
                    break;
                case u'\n':
                    *to++ = 'n';
                    break;
                case u'\r':
                    *to++ = 'r';
                    break;
                case u'\t':
                    *to++ = 't';
                    break;
                default:
                    *to++ = 'u';
                    *to++ = '0';
                    *to++ = '0';
                    *to++ = Hex[c >> 4];
                    *to++ = Hex[c & 0xF];
                }
                continue;
            }
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && at != end && QChar::isLowSurrogate(*at)) {
                code = QChar::surrogateToUcs4(c, *at++);
            } else if (QChar::isSurrogate(c)) {
                *to++ = '\\';
                *to++ = 'u';
                for (int shift = 12; shift >= 0; shift -= 4) {
                    *to++ = Hex[(c >> shift) & 0xF];
                }
                continue;
            }
            if (code < 0x800) {
                *to++ = static_cast<char>(0xC0 | (code >> 6));
            } else if (code < 0x10000) {
                *to++ = static_cast<char>(0xE0 | (code >> 12));
                *to++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            } else {
                *to++ = static_cast<char>(0xF0 | (code >> 18));
                *to++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                *to++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            }
            *to++ = static_cast<char>(0x80 | (code & 0x3F));
        }
        *to++ = '"';
        Done(to);
    }

    QByteArray& out_;
    char* base_ = nullptr; // out_'s bytes, kept so as not to ask for them at every write
    std::size_t size_ = 0; // out_'s size, room included
    std::size_t at_;       // the end of what was written
    bool compact_;
    int depth_ = 0;
    bool first_ = true;     // nothing written yet in the object or array open
    bool afterKey_ = false; // a key was written and its value is next
};

// A text as a JSON string.
std::string Quoted(const QString& text) {
    QByteArray out;
    {
        JsonWriter json(out, JsonLayout::Compact);
        json.String(text);
    }
    return out.toStdString();
}

// The names a chart's JSON writes, quoted once rather than for every chart.
struct ChartJsonNames {
    std::array<std::string, MaxBodies + 1> bodies;
    std::array<std::string, NumAspectKinds + 1> aspects;
    // The aspect kinds as "counts" lists them: by name.
    std::array<std::pair<std::string, AspectKind>, NumAspectKinds> countOrder;
    std::array<std::string, NumPatterns> patterns;
    std::array<std::string, NumZodiacSigns> signs;
    std::array<std::string, NumChartModes + 1> modes;
    std::string applying = Quoted(MotionName(Motion::Applying));
    std::string separating = Quoted(MotionName(Motion::Separating));
    std::string format = Quoted(FormatName("chart"));
    std::string missing[3] = {"\"before table\"", "\"after table\"", "\"unavailable\""};

    ChartJsonNames() {
        for (const BodyIndex body : AllBodies) {
            bodies[Index(body)] = Quoted(BodyName(body));
        }
        for (std::size_t at = 0; at < AllAspectKinds.size(); ++at) {
            const AspectKind kind = AllAspectKinds[at];
            const QString name = AspectJsonName(kind);
            aspects[Index(kind)] = Quoted(name);
            countOrder[at] = {name.toStdString(), kind};
        }
        std::sort(countOrder.begin(), countOrder.end());
        for (const PatternIndex pattern : AllPatterns) {
            patterns[Index(pattern)] = Quoted(PatternJsonName(pattern));
        }
        for (std::size_t sign = 0; sign < ZodiacSigns.size(); ++sign) {
            signs[sign] = Quoted(QString::fromUtf8(ZodiacSigns[sign].name));
        }
        for (int mode = 0; mode <= NumChartModes; ++mode) {
            modes[static_cast<std::size_t>(mode)] = Quoted(ModeOptionName(ChartModeOfNumber(mode)));
        }
    }
};

const ChartJsonNames& Names() {
    static const ChartJsonNames names;
    return names;
}

// The positions of one set of the chart, as PositionJson writes them.
void WritePositions(JsonWriter& json, const ChartJsonNames& names, const Chart& chart, int set) {
    const auto index = static_cast<std::size_t>(set);
    const bool ofDate = chart.zodiac == ZodiacChoice::OfDate;
    json.BeginArray();
    for (BodyIndex body : AllBodies) {
        const Position& position = chart.positions[index][body];
        const double longitude = position.Longitude();
        const std::optional<ZodiacPlace> place =
            PositionPlaceOf(position, chart.zodiacOffset[index]);
        json.BeginObject();
        json.Key("body");
        json.Raw(names.bodies[Index(body)]);
        json.Key("longitude");
        if (!place) {
            json.Null();
            json.Key("missing");
            json.Raw(names.missing[position.Status() == PositionStatus::BeforeTable  ? 0
                                   : position.Status() == PositionStatus::AfterTable ? 1
                                                                                     : 2]);
        } else {
            json.Number(RadiansToDegrees(longitude));
            if (ofDate) {
                json.Key("longitudeOfDate");
                json.Number(
                    RadiansToDegrees(LongitudeInZodiac(longitude, chart.zodiacOffset[index])));
            }
            json.Key("sign");
            json.Raw(names.signs[static_cast<std::size_t>(place->sign)]);
            json.Key("text");
            json.PlainString(ShortZodiacText(*place).View());
        }
        json.EndObject();
    }
    json.EndArray();
}

void WriteBodies(JsonWriter& json, const ChartJsonNames& names, std::span<const BodyIndex> bodies) {
    json.BeginArray();
    for (const BodyIndex body : bodies) {
        json.Raw(names.bodies[Index(body)]);
    }
    json.EndArray();
}

void WriteRecordKeys(JsonWriter& json, const RecordKeys& record) {
    json.Key("id");
    json.Value(record.id);
    json.Key("line");
    json.Integer(record.line);
}

} // namespace

void AppendChartJson(QByteArray& out, const ProgramState& state, const ChartView& view,
                     const ChartPlaces& places, JsonLayout layout, const RecordKeys* record) {
    const ChartJsonNames& names = Names();
    const Chart& chart = state.chart;
    JsonWriter json(out, layout);
    json.BeginObject();

    json.Key("aspects");
    json.BeginArray();
    for (const ChartAspect& aspect : chart.aspects) {
        json.BeginObject();
        json.Key("angle");
        json.Number(AspectKinds[Index(aspect.kind)].angleDegrees);
        json.Key("aspect");
        json.Raw(names.aspects[Index(aspect.kind)]);
        json.Key("bold");
        json.Bool(aspect.bold);
        json.Key("first");
        json.Raw(names.bodies[Index(aspect.first)]);
        json.Key("motion");
        if (aspect.motion == Motion::None) {
            json.Null();
        } else {
            json.Raw(aspect.motion == Motion::Applying ? names.applying : names.separating);
        }
        json.Key("orb");
        json.Number(RadiansToDegrees(aspect.deviation));
        json.Key("second");
        json.Raw(names.bodies[Index(aspect.second)]);
        json.EndObject();
    }
    json.EndArray();

    json.Key("counts");
    json.BeginObject();
    bool totalWritten = false;
    for (const auto& [name, kind] : names.countOrder) {
        if (!totalWritten && name > "total") {
            json.Key("total");
            json.Integer(chart.aspectCounts.Total());
            totalWritten = true;
        }
        json.Key(name);
        json.Integer(chart.aspectCounts[kind]);
    }
    if (!totalWritten) {
        json.Key("total");
        json.Integer(chart.aspectCounts.Total());
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
        json.Number(state.ChartJulianDays[set].julianDay);
        json.Key("localMeanTime");
        json.Bool(places[set].place && places[set].localMeanTime);
        json.Key("place");
        if (places[set].place) {
            json.Value(PlaceJson(*places[set].place));
        } else {
            json.Null();
        }
        json.Key("text");
        json.String(DateSetText(state.dateSets[set], state.zones));
        json.EndObject();
    }
    json.EndObject();

    json.Key("format");
    json.Raw(names.format);
    if (record != nullptr) {
        WriteRecordKeys(json, *record);
    }

    json.Key("midpoints");
    json.BeginArray();
    for (const MidpointConfiguration& midpoint : chart.midpoints) {
        json.BeginObject();
        json.Key("bodies");
        WriteBodies(json, names, midpoint.bodies);
        json.EndObject();
    }
    json.EndArray();

    json.Key("mode");
    json.Raw(names.modes[static_cast<std::size_t>(ModeNumber(chart.mode))]);

    json.Key("patterns");
    json.BeginArray();
    for (const FoundPattern& pattern : chart.patterns) {
        json.BeginObject();
        json.Key("bodies");
        WriteBodies(json, names, pattern.Bodies());
        json.Key("meanOrb");
        if (pattern.meanOrb) {
            json.Number(RadiansToDegrees(*pattern.meanOrb));
        } else {
            json.Null();
        }
        json.Key("pattern");
        json.Raw(names.patterns[Index(pattern.pattern)]);
        json.EndObject();
    }
    json.EndArray();

    json.Key("positions");
    json.BeginObject();
    json.Key("first");
    WritePositions(json, names, chart, 0);
    if (chart.TwoSets()) {
        json.Key("second");
        WritePositions(json, names, chart, 1);
    }
    json.EndObject();

    json.Key("report");
    json.TerminalString(view.report);
    json.Key("title");
    json.TerminalString(QStringView(view.title).trimmed());
    json.EndObject();
    json.LineBreak();
}

ChartPlaces ChartPlacesOf(const ProgramState& state) {
    ChartPlaces places;
    for (int set = 0; set < NumDateSets; ++set) {
        places[set] = {state.places[set],
                       state.places[set] && PlaceMeanTimeOffset(state.dateSets[set])};
    }
    return places;
}

QByteArray ChartJson(const ProgramState& state, const ChartView& view, const ChartPlaces& places,
                     JsonLayout layout, const RecordKeys* record) {
    QByteArray out;
    out.reserve(16 * 1024);
    AppendChartJson(out, state, view, places, layout, record);
    return out;
}

QByteArray ErrorJson(const QString& error, const RecordKeys& record) {
    QByteArray out;
    {
        JsonWriter json(out, JsonLayout::Compact);
        json.BeginObject();
        json.Key("error");
        json.String(error);
        WriteRecordKeys(json, record);
        json.EndObject();
        json.LineBreak();
    }
    return out;
}

} // namespace orbivex::cli
