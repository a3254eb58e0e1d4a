#include "core/Ephemeris.h"

#include "core/PlutoTableCodec.h"
#include "core/WorkerPool.h"

#include <QFile>
#include <QFileInfo>
#include <swephexp.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

namespace orbivex {
using enum BodyIndex;

namespace {

// Heliocentric, J2000 equinox and ecliptic, no nutation, geometric (no light-time or
// aberration): the positions the charts are drawn from.
constexpr int32 PositionFlags =
    SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_J2000 | SEFLG_NONUT | SEFLG_TRUEPOS;
constexpr int32 EphemerisMask = SEFLG_JPLEPH | SEFLG_SWIEPH | SEFLG_MOSEPH;

// The Swiss Ephemeris number of each body; Pluto comes from the program's own table.
constexpr ByBody<int> LibraryBodies{{
    -1,
    SE_EARTH,
    SE_MERCURY,
    SE_VENUS,
    SE_MARS,
    SE_JUPITER,
    SE_SATURN,
    SE_URANUS,
    SE_NEPTUNE,
    -1,
}};

// The library silently ignores a search path longer than this and uses its own default.
constexpr qsizetype MaxLibraryPathLength = 242;

// Paths are separated by ':' (or ';'), so a folder containing either cannot be listed.
bool UsableInLibraryPath(const QByteArray& folder) {
    return !folder.isEmpty() && !folder.contains(':') && !folder.contains(';');
}

QByteArray LibraryPath(const QString& dataFolder, const QString& systemFolder) {
    const QByteArray data = QFile::encodeName(dataFolder);
    const QByteArray system = QFile::encodeName(systemFolder);
    QByteArray path;
    if (UsableInLibraryPath(data) && data.size() + 1 + system.size() <= MaxLibraryPathLength) {
        path = data;
    }
    if (UsableInLibraryPath(system) && path.size() + 1 + system.size() <= MaxLibraryPathLength) {
        if (!path.isEmpty()) {
            path += ':';
        }
        path += system;
    }
    return path;
}

struct LibraryResult {
    Position position;
    bool computed = false;
    bool builtInTheory = false;
};

LibraryResult FromLibrary(int32 returnedFlags, const double* result) {
    if (returnedFlags < 0 || !std::isfinite(result[0])) {
        return {};
    }
    return {Position(DegreesToRadians(result[0])), true, (returnedFlags & SEFLG_SWIEPH) == 0};
}

// One body at Terrestrial Time jd + deltaT. Exactly what swe_calc_ut does, with the
// difference of the time scales computed by the caller once for several bodies: when the
// library had to fall back to another ephemeris, the difference is recomputed for it.
LibraryResult LibraryPosition(int libraryBody, double jd, double deltaT) {
    double result[6] = {};
    char error[AS_MAXCH] = {};
    int32 returned = swe_calc(jd + deltaT, libraryBody, PositionFlags, result, error);
    if (returned >= 0 && (returned & EphemerisMask) != SEFLG_SWIEPH) {
        const double otherDeltaT = swe_deltat_ex(jd, returned, error);
        returned = swe_calc(jd + otherDeltaT, libraryBody, PositionFlags, result, error);
    }
    return FromLibrary(returned, result);
}

// The library reads its positions from files of six centuries each (years 1200 to 1799, 1800
// to 2399, ... in its own calendar: Julian before 15 October 1582), and a file left open from
// an earlier instant serves a later one that it still covers, a few years past its end: the
// last digits of a position would then depend on what was computed before. The file of an
// instant (Terrestrial Time), to open the very file that a fresh start would.
int LibraryFileOf(double jdTT) {
    int year = 0;
    int month = 0;
    int day = 0;
    double hour = 0.0;
    swe_revjul(jdTT, jdTT < 2299160.5 ? SE_JUL_CAL : SE_GREG_CAL, &year, &month, &day, &hour);
    return static_cast<int>(std::floor(year / 600.0));
}

// Whether the library keeps its state per thread, as the Debian build does. A build without
// thread-local state would mix up the computations of several threads, so runs then stay on
// one thread. Probed once: a setting made on another thread must not show on this one.
bool LibraryStateIsPerThread() {
    static const bool perThread = [] {
        const double before = swe_get_tid_acc();
        try {
            std::thread([before] { swe_set_tid_acc(before + 1.0); }).join();
        } catch (const std::system_error&) {
            return false;
        }
        if (swe_get_tid_acc() == before) {
            return true;
        }
        swe_set_tid_acc(SE_TIDAL_AUTOMATIC); // undo the probe on the shared state
        return false;
    }();
    return perThread;
}

// The table as the build writes it: every line four codes and CR LF, nothing after the last.
constexpr qsizetype TableLineBytes = 6;
constexpr qsizetype CodesPerDay = 4;
constexpr qsizetype CanonicalTableBytes = qsizetype{PlutoTableEntries} * TableLineBytes;

// The range of every byte of a canonical table, for one period of its lines: the offsets mixed
// into the codes repeat every 7 x 55 lines. Within these ranges every line decodes to a
// longitude below 360 degrees, exactly as DecodePlutoArcseconds checks it.
constexpr qsizetype PeriodLines = 7 * 55;
constexpr qsizetype PeriodBytes = PeriodLines * TableLineBytes;
struct ByteRanges {
    std::array<unsigned char, PeriodBytes> low{};
    std::array<unsigned char, PeriodBytes> high{};
};
constexpr ByteRanges PeriodRanges = [] {
    ByteRanges ranges;
    for (int line = 0; line < PeriodLines; ++line) {
        const auto set = [&](int offset, int low, int high) {
            ranges.low[static_cast<std::size_t>(line * TableLineBytes + offset)] =
                static_cast<unsigned char>(low);
            ranges.high[static_cast<std::size_t>(line * TableLineBytes + offset)] =
                static_cast<unsigned char>(high);
        };
        set(0, 60 + line % 7, 119 + line % 7);  // minutes
        set(1, 60, 119);                        // seconds
        set(2, 58 + line % 55, 63 + line % 55); // sixties of degrees: 0 to 5
        set(3, 59, 118);                        // degrees within the sixty
        set(4, '\r', '\r');
        set(5, '\n', '\n');
    }
    return ranges;
}();

// Whether bytes are a canonical table whose every code lies in its range: one pass of byte
// comparisons that the compiler turns into vector instructions, a few times faster than
// decoding each line, twice as wide where the processor has AVX2. Any other table is checked
// line by line, for the message.
[[gnu::target_clones("avx2", "default")]] bool IsValidCanonicalTable(QByteArrayView bytes) {
    if (bytes.size() < CanonicalTableBytes ||
        std::any_of(bytes.begin() + CanonicalTableBytes, bytes.end(),
                    [](char c) { return c != '\r' && c != '\n'; })) {
        return false;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype start = 0; start < CanonicalTableBytes; start += PeriodBytes) {
        const qsizetype count = std::min(PeriodBytes, CanonicalTableBytes - start);
        const unsigned char* period = data + start;
        unsigned char outside = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const std::size_t at = static_cast<std::size_t>(i);
            // Bitwise on purpose: no branch, so the loop vectorises.
            outside |= static_cast<unsigned char>(
                static_cast<unsigned>(period[i] < PeriodRanges.low[at]) |
                static_cast<unsigned>(period[i] > PeriodRanges.high[at]));
        }
        if (outside != 0) {
            return false;
        }
    }
    return true;
}

// The four codes of every line of a canonical table, one line after the other.
void CopyCodesOfCanonicalTable(QByteArrayView bytes, char* out) {
    const char* in = bytes.data();
    for (int line = 0; line < PlutoTableEntries; ++line) {
        std::memcpy(out + line * CodesPerDay, in + qsizetype{line} * TableLineBytes, CodesPerDay);
    }
}

// Checks every line of a table file's bytes and appends the four codes of each to `codes`;
// "" or a text naming the problem, in which the table is called `path`.
QString CheckTableLines(const char* data, qint64 length, const QString& path, QByteArray& codes) {
    const char* position = data;
    const char* const end = data + length;
    for (int line = 0; line < PlutoTableEntries; ++line) {
        if (position == end) {
            return QStringLiteral("The Pluto table %1 has only %2 lines; it needs %3, one for "
                                  "each day from 1 January 1600 to 1 January 2200.")
                .arg(path)
                .arg(line)
                .arg(PlutoTableEntries);
        }
        // Nearly every line is four codes and CR LF; anything else is searched for its end.
        const char* lineEnd = position + 4;
        const char* next = position + 6;
        if (end - position < 6 || lineEnd[0] != '\r' || lineEnd[1] != '\n') {
            lineEnd = static_cast<const char*>(std::memchr(position, '\n', end - position));
            next = lineEnd == nullptr ? end : lineEnd + 1;
            if (lineEnd == nullptr) {
                lineEnd = end;
            }
            if (lineEnd > position && lineEnd[-1] == '\r') {
                --lineEnd;
            }
        }
        if (lineEnd - position < 4 || !DecodePlutoArcseconds(position, line)) {
            return QStringLiteral("Line %1 of the Pluto table %2 is malformed.")
                .arg(line + 1)
                .arg(path);
        }
        codes.append(position, CodesPerDay);
        position = next;
    }
    // Blank lines may follow the last day; anything else means a table of other days.
    if (std::any_of(position, end, [](char c) { return c != '\r' && c != '\n'; })) {
        return QStringLiteral("The Pluto table %1 has more than %2 lines; it must end with "
                              "1 January 2200.")
            .arg(path)
            .arg(PlutoTableEntries);
    }
    return {};
}

} // namespace

// The codes of every day of an accepted table: four a day (860 KB), or a canonical table's
// lines as they are, four codes and CR LF (1.3 MB), read straight from the file. The memory is
// one huge page where the kernel gives them on request: filled page by small page, the table
// would cost a fault, a cleared page and a memory charge for each of its 320 pages, a good part
// of what a command that computes one chart takes. Where huge pages are not given, the small
// pages are made present at once, which still spares the faults.
class PlutoCodeStore {
  public:
    PlutoCodeStore(std::size_t size, std::size_t stride) : size_(size), stride_(stride) {
        constexpr std::size_t HugePage = std::size_t{2} << 20;
        if (size_ <= HugePage) {
            // Twice the page is reserved so that a whole aligned huge page lies within it.
            void* reserved = mmap(nullptr, 2 * HugePage, PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
            if (reserved != MAP_FAILED) {
                auto* start = static_cast<char*>(reserved);
                const auto address = reinterpret_cast<std::uintptr_t>(start);
                auto* aligned = start + ((HugePage - address % HugePage) % HugePage);
                if (aligned > start) {
                    munmap(start, static_cast<std::size_t>(aligned - start));
                }
                if (const std::size_t after =
                        static_cast<std::size_t>(start + 2 * HugePage - (aligned + HugePage));
                    after > 0) {
                    munmap(aligned + HugePage, after);
                }
                data_ = aligned;
                mapped_ = HugePage;
                // Both are requests: without them the pages still come, one fault at a time.
                madvise(data_, mapped_, MADV_HUGEPAGE);
                madvise(data_, size_, MADV_POPULATE_WRITE);
                return;
            }
        }
        void* memory = mmap(nullptr, size_, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (memory == MAP_FAILED) {
            fallback_ = std::make_unique_for_overwrite<char[]>(size_);
            data_ = fallback_.get();
        } else {
            data_ = static_cast<char*>(memory);
            mapped_ = size_;
        }
    }
    ~PlutoCodeStore() {
        if (!fallback_) {
            munmap(data_, mapped_);
        }
    }
    PlutoCodeStore(const PlutoCodeStore&) = delete;
    PlutoCodeStore& operator=(const PlutoCodeStore&) = delete;

    char* data() { return data_; }
    std::size_t size() const { return size_; }
    // The four codes of day index (0 is 1 January 1600).
    const char* CodesOf(int index) const {
        return data_ + static_cast<std::size_t>(index) * stride_;
    }

  private:
    std::size_t size_;
    std::size_t stride_;
    std::size_t mapped_ = 0;
    char* data_ = nullptr;
    std::unique_ptr<char[]> fallback_;
};

Ephemeris::Ephemeris(const QString& dataFolder, const QString& systemFolder)
    : dataFolder_(dataFolder), ephemerisPath_(LibraryPath(dataFolder, systemFolder)) {
    swe_set_ephe_path(ephemerisPath_.constData());
    openFile_ = FreshFiles;
}

Ephemeris::Ephemeris(const Ephemeris& other)
    : dataFolder_(other.dataFolder_), ephemerisPath_(other.ephemerisPath_),
      builtInTheory_(other.builtInTheory_), plutoCodes_(other.plutoCodes_) {}

Ephemeris& Ephemeris::operator=(const Ephemeris& other) {
    dataFolder_ = other.dataFolder_;
    ephemerisPath_ = other.ephemerisPath_;
    plutoCodes_ = other.plutoCodes_;
    builtInTheory_ = other.builtInTheory_;
    openFile_ = NoFileOpen;
    return *this;
}

Status Ephemeris::LoadPlutoTable(const QString& fileName) {
    const QString path = dataFolder_ + QLatin1Char('/') + fileName;
    if (!QFileInfo::exists(path)) {
        return Fail(QStringLiteral("The Pluto table %1 was not found.").arg(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Fail(
            QStringLiteral("The Pluto table %1 cannot be read: %2.").arg(path, file.errorString()));
    }
    // A table as the build writes it is read straight into the memory it is used from and
    // checked there in one pass, without copying its codes out of their lines.
    const qint64 fileSize = file.size();
    constexpr qint64 MostTrailingLineEnds = 64;
    if (fileSize >= CanonicalTableBytes && fileSize <= CanonicalTableBytes + MostTrailingLineEnds) {
        auto store = std::make_shared<PlutoCodeStore>(static_cast<std::size_t>(fileSize),
                                                      static_cast<std::size_t>(TableLineBytes));
        if (file.read(store->data(), fileSize) == fileSize &&
            IsValidCanonicalTable(QByteArrayView(store->data(), fileSize))) {
            plutoCodes_ = std::move(store);
            return {};
        }
        // Anything else is checked line by line below, for the message.
        file.unsetError();
        if (!file.seek(0)) {
            return Fail(QStringLiteral("The Pluto table %1 cannot be read: %2.")
                            .arg(path, file.errorString()));
        }
    }
    // Mapping spares reading the 1.3 MB file into memory of its own: only the codes are kept.
    // A device that cannot be mapped is read.
    QByteArray contents;
    QByteArrayView bytes;
    const qint64 size = file.size();
    if (const uchar* mapped = size > 0 ? file.map(0, size) : nullptr; mapped != nullptr) {
        bytes = QByteArrayView(mapped, size);
    } else {
        file.unsetError(); // a failed mapping leaves its error behind
        contents = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            return Fail(QStringLiteral("The Pluto table %1 cannot be read: %2.")
                            .arg(path, file.errorString()));
        }
        bytes = contents;
    }
    return LoadPlutoTableFromBytes(bytes, path);
}

Status Ephemeris::LoadPlutoTableFromBytes(QByteArrayView bytes, const QString& name) {
    if (IsValidCanonicalTable(bytes)) {
        auto store = std::make_shared<PlutoCodeStore>(std::size_t{PlutoTableEntries} * CodesPerDay,
                                                      static_cast<std::size_t>(CodesPerDay));
        CopyCodesOfCanonicalTable(bytes, store->data());
        plutoCodes_ = std::move(store);
        return {};
    }
    // Room for the whole table only when the bytes can hold it: a short or broken file is
    // refused after a few lines and needs no more than those.
    QByteArray codes;
    constexpr qsizetype ShortestTable = qsizetype{PlutoTableEntries} * 5; // LF line ends
    if (bytes.size() >= ShortestTable) {
        codes.reserve(qsizetype{PlutoTableEntries} * CodesPerDay);
    }
    if (QString error = CheckTableLines(bytes.data(), bytes.size(), name, codes);
        !error.isEmpty()) {
        return Fail(error);
    }
    auto store = std::make_shared<PlutoCodeStore>(std::size_t{PlutoTableEntries} * CodesPerDay,
                                                  static_cast<std::size_t>(CodesPerDay));
    std::memcpy(store->data(), codes.constData(), store->size());
    plutoCodes_ = std::move(store);
    return {};
}

int Ephemeris::PlutoArcseconds(int index) const {
    // Every line was checked when the table was accepted.
    return DecodePlutoArcseconds(plutoCodes_->CodesOf(index), index).value_or(0);
}

bool Ephemeris::PlutoTableLoaded() const {
    return plutoCodes_ != nullptr;
}

int Ephemeris::NumBodies() const {
    return PlutoTableLoaded() ? MaxBodies : MaxBodies - 1;
}

std::optional<double> Ephemeris::PlutoTableEntry(int jdn) const {
    if (!PlutoTableLoaded() || jdn < PlutoTableFirstDay || jdn > PlutoTableLastDay) {
        return std::nullopt;
    }
    return PlutoArcseconds(jdn - PlutoTableFirstDay) / 3600.0;
}

Position Ephemeris::PlutoFromTable(double jd) const {
    if (!PlutoTableLoaded() || std::isnan(jd)) {
        return Position(PositionStatus::Unavailable);
    }
    const double t = jd + 0.5;
    const double c = std::floor(t); // the civil day that begins at 0 h UT
    if (c < PlutoTableFirstDay) {
        return Position(PositionStatus::BeforeTable);
    }
    if (c > PlutoTableLastDay - 1) {
        return Position(PositionStatus::AfterTable);
    }
    const int index = static_cast<int>(c) - PlutoTableFirstDay;
    double a = PlutoArcseconds(index) / 3600.0;
    double b = PlutoArcseconds(index + 1) / 3600.0;
    // Across the 0/360 seam the day's motion is a few hundredths of a degree, never 355.
    if (b - a > 355.0) {
        a += 360.0;
    } else if (a - b > 355.0) {
        b += 360.0;
    }
    double longitude = a + (t - c) * (b - a);
    if (longitude >= 360.0) {
        longitude -= 360.0;
    }
    return Position(longitude / 360.0 * FullCircle);
}

Position Ephemeris::PositionOfBody(BodyIndex body, double jd) const {
    if (body == Pluto) {
        return PlutoFromTable(jd);
    }
    if (!IsBody(body) || !std::isfinite(jd)) {
        return Position(PositionStatus::Unavailable);
    }
    double result[6] = {};
    char error[AS_MAXCH] = {};
    UseFileOf(jd + swe_deltat_ex(jd, PositionFlags, error), openFile_);
    const int32 returned = swe_calc_ut(jd, LibraryBodies[body], PositionFlags, result, error);
    const LibraryResult position = FromLibrary(returned, result);
    if (position.computed) {
        builtInTheory_->store(position.builtInTheory, std::memory_order_relaxed);
    }
    return position.position;
}

std::pair<Position, Position> Ephemeris::PositionsOfPair(BodyIndex first, BodyIndex second,
                                                         double jd) const {
    if (!IsBody(first) || !IsBody(second) || !std::isfinite(jd)) {
        return {PositionOfBody(first, jd), PositionOfBody(second, jd)};
    }
    std::array<Position, 2> positions{};
    char error[AS_MAXCH] = {};
    double deltaT = 0.0;
    bool deltaKnown = false;
    RangeOutcome outcome;
    const std::array<BodyIndex, 2> bodies{first, second};
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        if (bodies[i] == Pluto) {
            positions[i] = PlutoFromTable(jd);
            continue;
        }
        if (!deltaKnown) {
            deltaT = swe_deltat_ex(jd, PositionFlags, error);
            UseFileOf(jd + deltaT, openFile_);
            deltaKnown = true;
        }
        const LibraryResult position = LibraryPosition(LibraryBodies[bodies[i]], jd, deltaT);
        positions[i] = position.position;
        outcome.computed = outcome.computed || position.computed;
        outcome.builtInTheory = outcome.builtInTheory || position.builtInTheory;
    }
    Remember(outcome);
    return {positions[0], positions[1]};
}

void Ephemeris::UseFileOf(double jdTT, int& openFile) const {
    const int file = LibraryFileOf(jdTT);
    if (openFile == FreshFiles) {
        // Setting the path has just closed every file: this is a fresh start already.
        openFile = file;
    } else if (file != openFile) {
        // Closes every file; the path stays as this ephemeris set it.
        swe_close();
        swe_set_ephe_path(ephemerisPath_.constData());
        openFile = file;
    }
}

Ephemeris::RangeOutcome Ephemeris::ComputeRange(std::span<const double> jds, std::size_t first,
                                                std::size_t last, PositionSet* out,
                                                int& openFile) const {
    RangeOutcome outcome;
    char error[AS_MAXCH] = {};
    for (std::size_t row = first; row < last; ++row) {
        const double jd = jds[row];
        PositionSet& positions = out[row];
        positions.fill(Position(PositionStatus::Unavailable));
        if (std::isfinite(jd)) {
            const double deltaT = swe_deltat_ex(jd, PositionFlags, error);
            UseFileOf(jd + deltaT, openFile);
            for (BodyIndex body : BodyRange(Earth, Neptune)) {
                const LibraryResult position = LibraryPosition(LibraryBodies[body], jd, deltaT);
                positions[body] = position.position;
                outcome.computed = outcome.computed || position.computed;
                outcome.builtInTheory = outcome.builtInTheory || position.builtInTheory;
            }
        }
        positions[Pluto] = PlutoFromTable(jd);
    }
    return outcome;
}

void Ephemeris::Remember(RangeOutcome outcome) const {
    if (outcome.computed) {
        builtInTheory_->store(outcome.builtInTheory, std::memory_order_relaxed);
    }
}

PositionSet Ephemeris::PositionsOfBodies(double jd) const {
    PositionSet positions{};
    Remember(ComputeRange(std::span<const double>(&jd, 1), 0, 1, &positions, openFile_));
    return positions;
}

std::vector<PositionSet> Ephemeris::PositionsOfBodiesAt(std::span<const double> jds,
                                                        int maxThreads) const {
    std::vector<PositionSet> rows(jds.size());
    if (jds.empty()) {
        return rows;
    }
    // A worker costs the opening of its own ephemeris files; below a few hundred instants
    // that is not worth it.
    constexpr std::size_t MinRowsPerThread = 256;
    std::size_t threads = maxThreads > 0 ? static_cast<std::size_t>(maxThreads)
                                         : std::max(1U, std::thread::hardware_concurrency());
    threads = std::clamp<std::size_t>(jds.size() / MinRowsPerThread, 1, threads);

    // The rows are handed out in chunks as threads come free, so that a thread that starts
    // late, or shares its core with another program, does not hold up the others.
    constexpr std::size_t ChunkRows = 128;
    std::atomic<std::size_t> nextRow{0};
    const auto computeChunks = [jds, &rows, &nextRow](const Ephemeris& ephemeris, int& openFile) {
        RangeOutcome outcome;
        for (;;) {
            const std::size_t first = nextRow.fetch_add(ChunkRows);
            if (first >= jds.size()) {
                return outcome;
            }
            const std::size_t last = std::min(jds.size(), first + ChunkRows);
            const RangeOutcome part =
                ephemeris.ComputeRange(jds, first, last, rows.data(), openFile);
            outcome.computed = outcome.computed || part.computed;
            outcome.builtInTheory = outcome.builtInTheory || part.builtInTheory;
        }
    };
    RangeOutcome all;
    if (threads > 1) {
        // The calling thread takes its share too.
        WorkerPool pool(*this, static_cast<int>(threads - 1));
        std::vector<RangeOutcome> outcomes(static_cast<std::size_t>(pool.Threads()));
        std::vector<std::future<void>> done;
        for (RangeOutcome& outcome : outcomes) {
            done.push_back(pool.Post([&computeChunks, &outcome](const Ephemeris& ephemeris) {
                outcome = computeChunks(ephemeris, ephemeris.openFile_);
            }));
        }
        all = computeChunks(*this, openFile_);
        for (std::future<void>& worker : done) {
            worker.get();
        }
        for (const RangeOutcome& outcome : outcomes) {
            all.computed = all.computed || outcome.computed;
            all.builtInTheory = all.builtInTheory || outcome.builtInTheory;
        }
    } else {
        all = computeChunks(*this, openFile_);
    }
    Remember(all);
    return rows;
}

void Ephemeris::UseOnThisThread() const {
    swe_set_ephe_path(ephemerisPath_.constData());
    openFile_ = FreshFiles;
}

void Ephemeris::ReleaseThisThread() {
    swe_close();
}

bool EphemerisStateIsPerThread() {
    return LibraryStateIsPerThread();
}

bool Ephemeris::UsesBuiltInTheory() const {
    return builtInTheory_->load(std::memory_order_relaxed);
}

} // namespace orbivex
