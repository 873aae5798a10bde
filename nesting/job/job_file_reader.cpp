// The engine's reader of nesting job files: the lines of the file, its header, its stock and part entries, and
// the names and paths it gives the types.
//
// Index of this file:
//   [lines]    the file cut into lines, with the bound on their length
//   [parser]   header, entries and end of the file, one value per line
//   [names]    block names and drawing paths of the types
//   [engine]   ReadNestingJob: check, then replace the job
#include "nesting/job/job_file_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "cadlib/rectangle_names.h"
#include "cadlib/text_lines.h"
#include "host/sys/number_text.h"
#include "host/sys/paths.h"
#include "host/sys/text_case.h"
#include "host/ui/message_box.h"
#include "nesting/job/job_checks.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_instances.h"
#include "nesting/job/job_messages.h"
#include "nesting/job/job_value_ranges.h"
#include "nesting/model/model_limits.h"
#include "nesting/model/text_limits.h"

namespace {

// [lines] -----------------------------------------------------------------------------------------------------

// The byte-order mark some editors put before the first line of a UTF-8 file.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view text) { return Trimmed(text).empty(); }

// The file's lines without their ends (LF, CR LF). False with `tooLong` set to the line's number when a line is
// longer than kMaxJobLineChars.
bool SplitLines(TextLineReader& file, std::vector<std::string>& lines, int& tooLong) {
    const std::size_t room = static_cast<std::size_t>(kMaxJobLineChars) + 1;
    while (std::optional<std::string> piece = file.readPiece(room)) {
        std::string line = std::move(*piece);
        const bool ended = !line.empty() && line.back() == '\n';
        if (!ended && CharacterCount(line) >= room) {
            tooLong = static_cast<int>(lines.size()) + 1;
            return false;
        }
        if (ended) {
            line.pop_back();
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
    }
    if (!lines.empty() && lines.front().starts_with(kUtf8ByteOrderMark)) {
        lines.front().erase(0, kUtf8ByteOrderMark.size());
    }
    return true;
}

// [parser] ----------------------------------------------------------------------------------------------------

// Thrown inside the parser at the first problem; caught by ParseNestingJob.
struct ParseStop {};

class JobFileParser {
public:
    JobFileParser(std::vector<std::string> lines, std::filesystem::path jobFolder, JobFileProblem& problem)
        : lines_(std::move(lines)), jobFolder_(std::move(jobFolder)), problem_(problem) {}

    void Parse(JobFileContents& job) {
        where_ = Localized(kJobHeaderLabel);
        ReadHeader(job.Header);
        const int stocks = ReadCount(kFieldStockCount);
        for (int s = 0; s < stocks; ++s) {
            where_ = FormatLocalized(kStockEntryLabel, s + 1);
            int nameLine = 0;
            job.Stocks.push_back(ReadEntry(kKindStock, job.Header.OlderLayout, nameLine));
            job.StockNameLines.push_back(nameLine);
        }
        where_ = Localized(kPartsSectionLabel);
        SkipEmptyLines(kSectionSeparatorLines);
        const int parts = ReadCount(kFieldPartCount);
        for (int p = 0; p < parts; ++p) {
            where_ = FormatLocalized(kPartEntryLabel, p + 1);
            int nameLine = 0;
            job.Parts.push_back(ReadEntry(kKindPart, job.Header.OlderLayout, nameLine));
            job.PartNameLines.push_back(nameLine);
        }
        where_ = Localized(kJobEndLabel);
        SkipEmptyLines(kSectionSeparatorLines);
        const std::string& mark = Next(kFieldEndMark);
        if (Trimmed(mark) != kJobEndMark) {
            Fail(FormatLocalized(kReasonNoEndMark, mark.c_str()));
        }
        while (next_ < lines_.size()) {
            const std::string& rest = Next(kFieldEmptyLine);
            if (!IsBlankLine(rest)) {
                Fail(FormatLocalized(kReasonTextAfterEnd, rest.c_str()));
            }
        }
    }

private:
    // Stops at the line just read (or, at the end of the file, at the line that is missing).
    [[noreturn]] void Fail(std::string reason) {
        problem_.Line = static_cast<int>(next_);
        problem_.Where = where_;
        problem_.Reason = std::move(reason);
        throw ParseStop{};
    }

    // The next line, or a problem at the line after the last when the file has ended.
    const std::string& Next(const TwoLanguageText& field) {
        if (next_ >= lines_.size()) {
            next_ = lines_.size() + 1;
            Fail(FormatLocalized(kReasonFileEnds, Localized(field)));
        }
        return lines_[next_++];
    }

    void ReadHeader(JobFileHeader& header) {
        const std::string signature(Trimmed(Next(kFieldSignature)));
        if (signature != kJobSignature && signature != kOlderJobSignature) {
            Fail(FormatLocalized(kReasonNotJobFile, std::string(kJobSignature).c_str()));
        }
        header.OlderLayout = signature == kOlderJobSignature;
        for (int line = 2; line < kStockCountLine; ++line) {
            const std::string& text = Next(kFieldHeaderLine);
            switch (line) {
                case kMaterialNameLine: header.MaterialText = text; break;
                case kMaterialNumberLine: header.MaterialNumText = text; break;
                case kDensityLine:
                    CheckHeaderNumber(text, kFieldDensity, kJobDensityRange);
                    header.DensityText = text;
                    break;
                case kThicknessLine:
                    CheckHeaderNumber(text, kFieldThickness, kJobLengthRange);
                    header.ThicknessText = text;
                    break;
                case kEdgeOffsetLine:
                    CheckHeaderNumber(text, kFieldEdgeOffset, kJobOffsetRange);
                    header.EdgeOffsetText = text;
                    break;
                case kPartGapLine:
                    CheckHeaderNumber(text, kFieldPartGap, kJobOffsetRange);
                    header.PartGapText = text;
                    break;
                case kPartGapLine + 1: CheckHeaderNumber(text, kFieldPartGap, kJobOffsetRange); break;
                default: break;
            }
        }
    }

    // A number of the header as the dialog writes it: empty (read as 0) or one number inside `range`.
    void CheckHeaderNumber(const std::string& text, const TwoLanguageText& field, const JobValueRange& range) {
        if (IsBlankLine(text)) {
            return;
        }
        const auto value = host::sys::parseReal(Trimmed(text));
        if (!value.ok() || !range.Holds(value.value)) {
            FailRange(field, range, text);
        }
    }

    [[noreturn]] void FailRange(const TwoLanguageText& field, const JobValueRange& range, const std::string& text) {
        Fail(FormatLocalized(kReasonNumberNotInRange, Localized(field), range.Min, range.Max, text.c_str()));
    }

    // An entry count, 0 to kMaxJobTypes. Nothing is allocated by it: entries are read one by one, so a count the
    // file does not hold is found where its entries run out.
    int ReadCount(const TwoLanguageText& field) {
        const std::string& text = Next(field);
        const auto count = host::sys::parseInteger(Trimmed(text), 0, kMaxJobTypes);
        if (!count.ok()) {
            Fail(FormatLocalized(kReasonNotInRange, Localized(field), 0, kMaxJobTypes, text.c_str()));
        }
        return static_cast<int>(count.value);
    }

    void SkipEmptyLines(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string& text = Next(kFieldEmptyLine);
            if (!IsBlankLine(text)) {
                Fail(FormatLocalized(kReasonNotEmpty, text.c_str()));
            }
        }
    }

    // A whole number in [min, max]; an empty line reads as 0 (the writer leaves a line empty when its cell's text
    // is not in the value list).
    std::int64_t ReadIndex(const TwoLanguageText& field, int min, int max) {
        const std::string& text = Next(field);
        if (IsBlankLine(text)) {
            return 0;
        }
        const auto value = host::sys::parseInteger(Trimmed(text), min, max);
        if (!value.ok()) {
            Fail(FormatLocalized(kReasonNotInRange, Localized(field), min, max, text.c_str()));
        }
        return value.value;
    }

    // The quantity as the dialog writes it, its cell's text unchanged: the leading whole number, 0 without one or
    // below 0, and refused above what one job can hold.
    std::int32_t ReadQuantity() {
        const std::string& text = Next(kFieldQuantity);
        const host::sys::LeadingInteger number = host::sys::parseLeadingInteger(text);
        std::string_view digits = Trimmed(text);
        if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
            digits.remove_prefix(1);
        }
        const bool negative = Trimmed(text).starts_with('-');
        // Digits too many for any integer still name a quantity, a huge one (or a huge negative one, i.e. 0).
        const bool huge = number.length == 0 && !digits.empty() && digits.front() >= '0' && digits.front() <= '9';
        // The quantity is quoted as the file has it: a number too large for any integer is not the largest one.
        const std::string quoted(Trimmed(text));
        if (huge && !negative) {
            Fail(FormatLocalized(kReasonQuantityTooLarge, quoted.c_str(), kMaxPartInstances));
        }
        if (number.value > kMaxPartInstances) {
            Fail(FormatLocalized(kReasonQuantityTooLarge, quoted.c_str(), kMaxPartInstances));
        }
        return static_cast<std::int32_t>(std::max<std::int64_t>(number.value, 0));
    }

    // An angle in degrees as C's atof reads it (0 without a leading number), inside kJobAngleRange.
    double ReadAngle(const TwoLanguageText& field) {
        const std::string& text = Next(field);
        const double value = host::sys::parseLeadingReal(text).value;
        if (!kJobAngleRange.Holds(value)) {
            FailRange(field, kJobAngleRange, text);
        }
        return value;
    }

    PartType ReadEntry(std::uint8_t kind, bool olderLayout, int& nameLine) {
        PartType type;
        type.Kind = kind;
        type.TypeIndex = runningIndex_++;
        const std::string& typeText = Next(kFieldType);
        const auto jobType = host::sys::parseInteger(Trimmed(typeText), 0, kJobFileDrawing);
        if (!jobType.ok() || (jobType.value != kJobFileRectangle && jobType.value != kJobFileDrawing)) {
            Fail(FormatLocalized(kReasonBadType, typeText.c_str()));
        }
        type.JobFileType = static_cast<std::int32_t>(jobType.value);
        const std::string& path = Next(kFieldPath);
        nameLine = static_cast<int>(next_);
        if (type.JobFileType == kJobFileDrawing) {
            if (IsBlankLine(path)) {
                Fail(Localized(kReasonEmptyPath));
            }
            type.Path = ResolveJobDrawingPath(path, jobFolder_);
            type.BlockName = DrawingBlockName(path);
        } else {
            double width = 0.0;
            double height = 0.0;
            ParseRectangleName(path, width, height);
            if (!(width > 0.0 && height > 0.0 && std::isfinite(width) && std::isfinite(height))) {
                Fail(FormatLocalized(kReasonBadRectangle, path.c_str()));
            }
            if (!kJobLengthRange.Holds(width) || !kJobLengthRange.Holds(height)) {
                Fail(FormatLocalized(kReasonRectangleTooLarge, path.c_str(), kJobLengthRange.Max));
            }
            type.Path = path;
            if (olderLayout) {
                type.BlockName = path;
            } else {
                type.BlockName = Next(kFieldFileName);
                nameLine = static_cast<int>(next_);
            }
        }
        type.Quantity = ReadQuantity();
        type.Grain = ReadAngle(kFieldGrain);
        if (kind == kKindPart) {
            type.RotationMode = static_cast<std::uint8_t>(
                ReadIndex(kFieldRotationType, 0, static_cast<int>(RotationTypeList.size()) - 1));
            type.DeltaIndex = ReadDeltaIndex();
            type.RotationStep = RotationStepOfDelta(type.DeltaIndex).value_or(0.0);
            type.SectorMax = ReadAngle(kFieldHalfSector);
            type.SectorMin = ReadAngle(kFieldMinusHalfSector);
        }
        type.Priority =
            static_cast<std::int8_t>(ReadIndex(kFieldPriority, 0, static_cast<int>(PriorityList.size()) - 1));
        if (kind == kKindPart) {
            type.DrawingFlags = static_cast<std::uint8_t>(ReadIndex(kFieldFlags, 0, UINT8_MAX));
        }
        SkipEmptyLines(kEntryClosingLines);
        return type;
    }

    // The delta-angle index: a number whose integer part is an index of DeltaAngleList; empty reads as 0.
    double ReadDeltaIndex() {
        const std::string& text = Next(kFieldDeltaAngle);
        if (IsBlankLine(text)) {
            return 0.0;
        }
        const auto value = host::sys::parseReal(Trimmed(text));
        if (!value.ok() || !RotationStepOfDelta(value.value)) {
            Fail(FormatLocalized(kReasonNotInRange, Localized(kFieldDeltaAngle), 0,
                                 static_cast<int>(DeltaAngleList.size()) - 1, text.c_str()));
        }
        return value.value;
    }

    std::vector<std::string> lines_;
    std::filesystem::path jobFolder_;
    JobFileProblem& problem_;
    // Index of the next line to read (so also the number of the line just read).
    std::size_t next_ = 0;
    std::int32_t runningIndex_ = 0;
    std::string where_;
};

// [names] -----------------------------------------------------------------------------------------------------

// A stored path that names its place from the root: "/a/b", "\a\b" or one with a drive, "C:...".
bool IsRootedStoredPath(std::string_view path) {
    if (!path.empty() && host::sys::isPathSeparator(path.front())) {
        return true;
    }
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// [engine] ----------------------------------------------------------------------------------------------------

std::string EntryLabel(const TwoLanguageText& kind, std::size_t index, int line) {
    const std::string entry = FormatLocalized(kind, static_cast<int>(index) + 1);
    return FormatLocalized(kEntryAtLine, entry.c_str(), line);
}

std::optional<std::string> FindJobProblem(const CNestingEngine& engine, const JobFileContents& job) {
    std::vector<std::int64_t> stockQuantities;
    std::vector<std::int64_t> partQuantities;
    std::vector<JobBlockName> names;
    for (std::size_t i = 0; i < job.Stocks.size(); ++i) {
        stockQuantities.push_back(job.Stocks[i].Quantity);
        names.push_back({job.Stocks[i].BlockName, EntryLabel(kStockEntryLabel, i, job.StockNameLines[i])});
    }
    for (std::size_t i = 0; i < job.Parts.size(); ++i) {
        partQuantities.push_back(job.Parts[i].Quantity);
        names.push_back({job.Parts[i].BlockName, EntryLabel(kPartEntryLabel, i, job.PartNameLines[i])});
    }
    const std::int64_t clamps = engine.ClampUse == 1 ? engine.ClampQuantity : 0;
    if (auto problem = FindJobLimitProblem(stockQuantities, partQuantities, clamps)) {
        return problem;
    }
    return FindBlockNameProblem(names);
}

void ShowJobError(const std::string& text) {
    host::ui::messageBox(text, {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
}

}  // namespace

bool ParseNestingJob(const std::filesystem::path& path, JobFileContents& job, JobFileProblem& problem) {
    job = JobFileContents{};
    problem = JobFileProblem{};
    TextLineReader file;
    if (!file.open(path, nullptr)) {
        problem.Reason = FormatLocalized(kJobFileNotOpened, path.string().c_str());
        return false;
    }
    std::vector<std::string> lines;
    int tooLong = 0;
    if (!SplitLines(file, lines, tooLong)) {
        problem.Line = tooLong;
        problem.Where = Localized(kJobFileLabel);
        problem.Reason = FormatLocalized(kReasonLineTooLong, kMaxJobLineChars);
        return false;
    }
    JobFileParser parser(std::move(lines), host::sys::toNativePath(host::sys::folderOf(path.string())), problem);
    try {
        parser.Parse(job);
    } catch (const ParseStop&) {
        return false;
    }
    return true;
}

int ReadNestingJob(CNestingEngine& engine, const std::string& path) {
    JobFileContents job;
    JobFileProblem problem;
    if (!ParseNestingJob(path, job, problem)) {
        if (problem.Line == 0) {
            ShowJobError(problem.Reason);
        } else {
            ShowJobError(FormatLocalized(kJobFileLineError, path.c_str(), problem.Line, problem.Where.c_str(),
                                         problem.Reason.c_str()));
        }
        return -1;
    }
    if (const auto refused = FindJobProblem(engine, job)) {
        ShowJobError(FormatLocalized(kJobRefused, path.c_str(), refused->c_str()));
        return -1;
    }
    // Instances point into the type arrays: they go before the arrays are replaced.
    ReleaseJobInstances(engine);
    engine.StockTypeCount = static_cast<std::int32_t>(job.Stocks.size());
    engine.PartTypeCount = static_cast<std::int32_t>(job.Parts.size());
    engine.StockTypes = std::move(job.Stocks);
    engine.StockTypes.emplace_back();
    engine.PartTypes = std::move(job.Parts);
    engine.PartTypes.emplace_back();
    return 0;
}

void SanitizeBlockName(std::string& name) {
    for (char& c : name) {
        switch (c) {
            case '<': c = '('; break;
            case '>': c = ')'; break;
            case '|': c = '!'; break;
            case ',': c = '.'; break;
            case '=': c = '-'; break;
            case '/':
            case '\\':
            case '"':
            case ':':
            case ';':
            case '?':
            case '*':
            case '\'':
            case '`': c = '_'; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    c = '_';
                }
                break;
        }
    }
}

std::string DrawingBlockName(std::string_view storedPath) {
    std::string name(host::sys::fileNameOf(Trimmed(storedPath)));
    if (name.size() > 4) {
        const std::string extension = host::sys::lowerCase(std::string_view(name).substr(name.size() - 4));
        if (extension == ".dwg" || extension == ".dxf") {
            name.resize(name.size() - 4);
        }
    }
    SanitizeBlockName(name);
    return name;
}

std::string ResolveJobDrawingPath(std::string_view storedPath, const std::filesystem::path& jobFolder) {
    const std::string_view stored = Trimmed(storedPath);
    if (IsRootedStoredPath(stored) || jobFolder.empty()) {
        return host::sys::resolveDrawingPath(stored).string();
    }
    return host::sys::resolveDrawingPath((jobFolder / host::sys::toNativePath(stored)).string()).string();
}
