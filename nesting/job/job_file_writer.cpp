// The writer of nesting job files.
#include "nesting/job/job_file_writer.h"

#include <cmath>
#include <span>
#include <string_view>

#include "cadlib/messages.h"
#include "cadlib/text_lines.h"
#include "host/sys/number_text.h"
#include "nesting/job/job_file_layout.h"

namespace {

// Printf arguments: the row's kind and number (e.g. "stock 2"), the text.
constexpr TwoLanguageText kTextHoldsLineBreak{"%s: the text \"%s\" holds a line break, which a job file cannot hold",
                                              "%s: текст \"%s\" содержит перевод строки, недопустимый в файле задания"};
constexpr TwoLanguageText kHeaderRow{"header", "заголовок"};
constexpr TwoLanguageText kStockRow{"stock %d", "заготовка %d"};
constexpr TwoLanguageText kPartRow{"part %d", "деталь %d"};
// Printf arguments: the path, the reason.
constexpr TwoLanguageText kJobFileNotWritten{"The nesting job file %s cannot be written: %s",
                                             "Файл задания на раскрой %s не записан: %s"};

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The integer part of a size cell's number, as the name line writes it; 0 for a cell without a number.
std::string IntegerPart(const std::string& text) {
    const double value = std::trunc(host::sys::parseLeadingReal(text).value);
    return host::sys::formatFixed(value == 0.0 ? 0.0 : value, 0);
}

// The index line of a choice cell: its index in the list, or empty when the text is not in it.
std::string IndexLine(std::span<const std::string_view> list, const std::string& text) {
    const int index = IndexInList(list, text);
    return index < 0 ? std::string() : std::to_string(index);
}

// The two half-sector lines: the integer parts of s * 0.5 and of -(s * 0.5).
std::string HalfSector(const std::string& sector, double sign) {
    const double half = std::trunc(sign * (host::sys::parseLeadingReal(sector).value * 0.5));
    return host::sys::formatFixed(half == 0.0 ? 0.0 : half, 0);
}

class JobWriter {
public:
    explicit JobWriter(TextLineWriter& file) : file_(file) {}

    void Line(std::string_view text) { WriteTextLine(text, file_); }
    void Empty(int count) {
        for (int i = 0; i < count; ++i) Line("");
    }

    // The type, path and (rectangles) name lines of an entry.
    void Head(const std::string& type, const std::string& path, const char* format, const std::string& width,
              const std::string& height, const std::string& fileName) {
        Line(type);
        if (type == kDrawingTypeText) {
            Line(path);
            return;
        }
        Line(host::sys::formatC(format, IntegerPart(width).c_str(), IntegerPart(height).c_str()));
        Line(fileName);
    }

private:
    TextLineWriter& file_;
};

// The first text of the job that holds a line break, as an error text; empty when there is none.
std::string FindLineBreak(const NestingJobFile& job) {
    const auto check = [](const std::string& row, std::initializer_list<const std::string*> texts) -> std::string {
        for (const std::string* text : texts) {
            if (HoldsLineBreak(*text)) {
                return FormatLocalized(kTextHoldsLineBreak, row.c_str(), text->c_str());
            }
        }
        return {};
    };
    std::string found = check(Localized(kHeaderRow), {&job.MaterialText, &job.MaterialNumText, &job.DensityText,
                                                      &job.ThicknessText, &job.EdgeOffsetText, &job.PartGapText});
    for (std::size_t i = 0; found.empty() && i < job.Stocks.size(); ++i) {
        const JobStockEntry& s = job.Stocks[i];
        found = check(FormatLocalized(kStockRow, static_cast<int>(i) + 1),
                      {&s.Type, &s.Path, &s.Width, &s.Height, &s.FileName, &s.Quantity, &s.Grain, &s.Priority});
    }
    for (std::size_t i = 0; found.empty() && i < job.Parts.size(); ++i) {
        const JobPartEntry& p = job.Parts[i];
        found = check(FormatLocalized(kPartRow, static_cast<int>(i) + 1),
                      {&p.Type, &p.Path, &p.Width, &p.Height, &p.FileName, &p.Quantity, &p.Grain, &p.RotationType,
                       &p.DeltaAngle, &p.Sector, &p.Priority});
    }
    return found;
}

}  // namespace

bool WriteNestingJobFile(const std::filesystem::path& path, const NestingJobFile& job, std::string* error) {
    if (const std::string found = FindLineBreak(job); !found.empty()) {
        if (error) *error = FormatLocalized(kJobFileNotWritten, path.string().c_str(), found.c_str());
        return false;
    }
    TextLineWriter file(path);
    std::string reason;
    if (!file.open(&reason)) {
        if (error) *error = FormatLocalized(kJobFileNotWritten, path.string().c_str(), reason.c_str());
        return false;
    }
    JobWriter out(file);
    out.Line(kJobSignature);
    out.Empty(1);
    out.Line(job.MaterialText);
    out.Line(job.MaterialNumText);
    out.Line(job.DensityText);
    out.Line(job.ThicknessText);
    out.Empty(2);
    out.Line(job.EdgeOffsetText);
    out.Line(job.PartGapText);
    out.Line(job.PartGapText);
    out.Empty(2);
    out.Line(std::to_string(job.Stocks.size()));
    for (const JobStockEntry& s : job.Stocks) {
        out.Head(s.Type, s.Path, kStockRectangleFormat, s.Width, s.Height, s.FileName);
        out.Line(s.Quantity);
        out.Line(s.Grain);
        out.Line(IndexLine(PriorityList, s.Priority));
        out.Empty(kEntryClosingLines);
    }
    out.Empty(kSectionSeparatorLines);
    out.Line(std::to_string(job.Parts.size()));
    for (const JobPartEntry& p : job.Parts) {
        out.Head(p.Type, p.Path, kPartRectangleFormat, p.Width, p.Height, p.FileName);
        out.Line(p.Quantity);
        out.Line(p.Grain);
        out.Line(IndexLine(RotationTypeList, p.RotationType));
        out.Line(IndexLine(DeltaAngleList, p.DeltaAngle));
        out.Line(HalfSector(p.Sector, 1.0));
        out.Line(HalfSector(p.Sector, -1.0));
        out.Line(IndexLine(PriorityList, p.Priority));
        out.Line(kPartFlagsLine);
        out.Empty(kEntryClosingLines);
    }
    out.Empty(kSectionSeparatorLines);
    out.Line(kJobEndMark);
    if (!file.commit(&reason)) {
        if (error) *error = FormatLocalized(kJobFileNotWritten, path.string().c_str(), reason.c_str());
        return false;
    }
    return true;
}
