// Reading and writing the postprocessor file: the line reader with its per-key room, the keyed and the positional
// readers, and the writer.
#include "laser/post/postprocessor_file.h"

#include <array>
#include <optional>
#include <vector>

#include "cadlib/text_lines.h"
#include "host/sys/encoding.h"
#include "host/sys/file_read.h"
#include "host/sys/message_text.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/post/post_messages.h"

namespace {

constexpr std::string_view kSectionMark = "###";
constexpr std::string_view kKeyMark = "####";
constexpr std::string_view kBlockSeparator = "\r\n";

// Where and why a read failed.
struct ReadFault {
    int line = 0;
    std::string reason;
    const PostKey* key = nullptr;  // the key whose value was refused, if the fault is one key's
};

// The file as lines, each read with the room its value has. A line longer than the room is cut after room - 1
// characters and its rest comes back from the next read, as the file's readers have always done. Line numbers
// are those of the file (a cut line's rest keeps its number).
class PostLineReader {
public:
    explicit PostLineReader(TextLineReader& file) : file_(file) {}

    // The next line (at most size - 1 characters, its line end dropped), or nothing at the end of the file.
    std::optional<std::string> read(int size) {
        if (size < 2) return std::nullopt;
        std::optional<std::string> piece = file_.readPiece(static_cast<std::size_t>(size - 1));
        if (!piece) return std::nullopt;
        lastLine_ = nextLine_;
        const std::size_t length = piece->size();
        if (length >= 1 && piece->back() == '\n') ++nextLine_;
        if (length >= 1 && IsLineEnd((*piece)[length - 1])) piece->resize(length - 1);
        if (length >= 2 && IsLineEnd((*piece)[length - 2])) piece->resize(length - 2);
        return piece;
    }
    // The number of the line read last, and of the line that the next read starts on.
    int lastLine() const { return lastLine_; }
    int nextLine() const { return nextLine_; }

private:
    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

    TextLineReader& file_;
    int lastLine_ = 0;
    int nextLine_ = 1;
};

// The reason a number or integer value is no such thing, or empty. Blank values are allowed (a new postprocessor
// has them), and blanks around the number are.
std::string CheckNumberValue(const PostKey& key, std::string_view value) {
    const std::string_view trimmed = host::sys::trimBlanks(value);
    if (trimmed.empty()) return {};
    if (key.kind == PostValueKind::Number && !host::sys::parseReal(trimmed).ok()) {
        return Localized(kReasonNotNumber);
    }
    if ((key.kind == PostValueKind::Integer || key.kind == PostValueKind::Flag ||
         key.kind == PostValueKind::Mode) &&
        !host::sys::parseInteger(trimmed, INT32_MIN, INT32_MAX).ok()) {
        return Localized(kReasonNotInteger);
    }
    return {};
}

ReadFault BadValue(const PostKey& key, int line, const std::string& reason) {
    return {line, FormatLocalized(kReasonBadValue, key.name, reason.c_str())};
}

// Reads the value of `key` into `settings`. A flag or mode line must be a whole number (an empty one too).
std::optional<ReadFault> ReadValue(PostLineReader& in, const PostKey& key, PostprocessorSettings& settings) {
    if (key.kind == PostValueKind::Block) {
        std::optional<std::string> countLine = in.read(key.limit);
        if (!countLine) return ReadFault{in.nextLine(), FormatLocalized(kReasonFileEndsBeforeValue, key.name)};
        const int countLineNumber = in.lastLine();
        const host::sys::Parsed<std::int64_t> count = host::sys::parseInteger(host::sys::trimBlanks(*countLine));
        if (!count.ok()) {
            return ReadFault{countLineNumber, FormatLocalized(kReasonBadBlockCount, key.name,
                                                              host::sys::quotedForMessage(*countLine).c_str())};
        }
        std::string text;
        // The count is never trusted: the loop ends at the end of the file, whatever the count says.
        for (std::int64_t i = 0; i < count.value; ++i) {
            std::optional<std::string> line = in.read(key.limit);
            if (!line) {
                return ReadFault{countLineNumber, FormatLocalized(kReasonBlockTooLong, key.name,
                                                                  static_cast<long long>(count.value),
                                                                  static_cast<int>(i))};
            }
            if (i > 0) text += kBlockSeparator;
            text += *line;
        }
        settings.*key.text = std::move(text);
        return std::nullopt;
    }
    std::optional<std::string> line = in.read(key.limit);
    if (!line) return ReadFault{in.nextLine(), FormatLocalized(kReasonFileEndsBeforeValue, key.name)};
    if (key.kind == PostValueKind::Flag || key.kind == PostValueKind::Mode) {
        const std::string_view trimmed = host::sys::trimBlanks(*line);
        const host::sys::Parsed<std::int64_t> number = host::sys::parseInteger(trimmed, INT32_MIN, INT32_MAX);
        if (!number.ok()) return BadValue(key, in.lastLine(), Localized(kReasonNotInteger));
        const int value = static_cast<int>(number.value);
        if (key.kind == PostValueKind::Flag) {
            settings.*key.integer = value != 0 ? 1 : 0;
        } else {
            settings.*key.integer = value;
            // The shown combo text follows a known mode; an unknown one keeps the text shown before.
            if (value >= 0 && value < static_cast<int>(kCenterArcModeNames.size())) {
                std::string& shown = key.integer == &PostprocessorSettings::CenterArcAbsolute
                                         ? settings.CenterArcAbsoluteText
                                         : settings.CenterArcIncrementalText;
                shown = kCenterArcModeNames[static_cast<std::size_t>(value)];
            }
        }
        return std::nullopt;
    }
    const std::string reason = CheckNumberValue(key, *line);
    if (!reason.empty()) return BadValue(key, in.lastLine(), reason);
    settings.*key.text = std::move(*line);
    return std::nullopt;
}

std::optional<PostSection> SectionOfHeader(std::string_view line) {
    if (line.substr(0, kSectionMark.size()) != kSectionMark) return std::nullopt;
    for (int i = 0; i < kPostSectionCount; ++i) {
        const auto section = static_cast<PostSection>(i);
        if (line.substr(kSectionMark.size()) == PostSectionName(section)) return section;
    }
    return std::nullopt;
}

// Reads the items of one section up to the line that ends it (a line with "###" that is no key line of the
// section, or the end of the file: `ending` is then empty).
std::optional<ReadFault> ReadSection(PostLineReader& in, PostSection section, PostprocessorSettings& settings,
                                     std::optional<std::string>& ending) {
    int generalKeys = 0;
    // A Profile section is the whole profile: a key it leaves out is empty, not what the record held.
    if (section == PostSection::Profile) {
        for (const PostKey& key : PostKeys()) {
            if (key.section == PostSection::Profile) settings.*key.text = std::string();
        }
    }
    for (;;) {
        ending = in.read(kPostKeyLineSize);
        if (!ending) break;
        const std::string& line = *ending;
        if (line.find(kKeyMark) != std::string::npos) {
            if (line.compare(0, kKeyMark.size(), kKeyMark) != 0) continue;
            const PostKey* key = FindPostKey(section, std::string_view(line).substr(kKeyMark.size()));
            if (key == nullptr) continue;
            if (std::optional<ReadFault> fault = ReadValue(in, *key, settings)) {
                fault->key = key;
                return fault;
            }
            ++generalKeys;
        } else if (line.find(kSectionMark) != std::string::npos) {
            break;
        }
    }
    if (section == PostSection::General && generalKeys != kGeneralKeyCount) {
        return ReadFault{ending ? in.lastLine() : in.nextLine(), FormatLocalized(kReasonGeneralKeyCount, generalKeys)};
    }
    return std::nullopt;
}

// The keyed layout after the version line.
std::optional<ReadFault> ReadPostprocessorSections(PostLineReader& in, PostprocessorSettings& settings) {
    std::array<bool, kPostSectionCount> seen{};
    int headers = 0;
    std::optional<std::string> line = in.read(kPostKeyLineSize);
    while (line) {
        const std::optional<PostSection> section = SectionOfHeader(*line);
        if (!section) break;
        ++headers;
        seen[static_cast<std::size_t>(*section)] = true;
        if (std::optional<ReadFault> fault = ReadSection(in, *section, settings, line)) return fault;
    }
    const bool endFile = line && *line == kPostEndFileLine;
    const int at = line ? in.lastLine() : in.nextLine();
    for (int i = 0; i < kPostSectionCount; ++i) {
        if (!seen[static_cast<std::size_t>(i)]) {
            return ReadFault{at, FormatLocalized(kReasonSectionMissing, PostSectionName(static_cast<PostSection>(i)))};
        }
    }
    // A section may come twice; then its second header stands in for the end line.
    if (headers + (endFile ? 1 : 0) == kPostSectionCount + 1) return std::nullopt;
    if (headers == kPostSectionCount && line && !endFile) {
        return ReadFault{at, FormatLocalized(kReasonUnexpectedLine, host::sys::quotedForMessage(*line).c_str())};
    }
    if (headers == kPostSectionCount) return ReadFault{at, Localized(kReasonEndFileMissing)};
    return ReadFault{at, FormatLocalized(kReasonSectionCount, headers, Localized(endFile ? kWordWith : kWordWithout))};
}

// The positional layout "4.1": the values alone, in a fixed order. The second tool takes the cutting texts, and
// engraving-and-marking and marking take the engraving texts; the power values are empty.
std::optional<ReadFault> ReadPostprocessorFile41(PostLineReader& in, PostprocessorSettings& settings) {
    static const std::vector<std::pair<PostSection, const char*>> kMoveAndCut = {
        {PostSection::Move, "RapidStr"},           {PostSection::Move, "LinearStr"},
        {PostSection::Move, "CircleStr"},          {PostSection::CutCommand, "CutOnStr"},
        {PostSection::CutCommand, "CutOffStr"},    {PostSection::CutCommand, "EngraveOnStr"},
        {PostSection::CutCommand, "EngraveOffStr"}, {PostSection::CutCommand, "HeatTreatmentOnStr"},
        {PostSection::CutCommand, "HeatTreatmentOffStr"},
    };
    std::vector<const PostKey*> order;
    for (const PostKey& key : PostKeys()) {
        if (key.section == PostSection::General || key.section == PostSection::Code ||
            key.section == PostSection::Format) {
            order.push_back(&key);
        }
    }
    for (const auto& [section, name] : kMoveAndCut) order.push_back(FindPostKey(section, name));
    for (const PostKey& key : PostKeys()) {
        if (key.section == PostSection::Circular || key.section == PostSection::StartEnd ||
            key.section == PostSection::Profile) {
            order.push_back(&key);
        }
    }
    for (const PostKey& key : PostKeys()) {
        if (key.section == PostSection::ChangePower) settings.*key.text = std::string();
    }
    for (const PostKey* key : order) {
        if (std::optional<ReadFault> fault = ReadValue(in, *key, settings)) {
            fault->key = key;
            return fault;
        }
    }
    settings.CutT2OnStr = settings.CutOnStr;
    settings.CutT2OffStr = settings.CutOffStr;
    settings.EngraveAndMarkOnStr = settings.EngraveOnStr;
    settings.EngraveAndMarkOffStr = settings.EngraveOffStr;
    settings.MarkOnStr = settings.EngraveOnStr;
    settings.MarkOffStr = settings.EngraveOffStr;
    return std::nullopt;
}

// The line of the file's first NUL byte, counted as the readers count lines; nothing when it holds none (or
// cannot be read).
std::optional<int> LineOfNulByte(const std::filesystem::path& path) {
    const host::sys::FileBytes content = host::sys::readFileBytes(path, host::sys::kMaxTextFileBytes);
    if (content.status != host::sys::FileReadStatus::Read) return std::nullopt;
    const std::size_t at = content.bytes.find('\0');
    if (at == std::string::npos) return std::nullopt;
    int line = 1;
    for (std::size_t i = 0; i < at; ++i) line += content.bytes[i] == '\n' ? 1 : 0;
    return line;
}

// The line of the file's first carriage return that is not part of a CR LF line end; nothing when it holds none.
// The readers end lines at LF alone, so such a CR would stay inside a value, which the writer then could not
// write back (a file read whole was refused at its first save).
std::optional<int> LineOfStrayCarriageReturn(const std::filesystem::path& path) {
    const host::sys::FileBytes content = host::sys::readFileBytes(path, host::sys::kMaxTextFileBytes);
    if (content.status != host::sys::FileReadStatus::Read) return std::nullopt;
    const std::string& bytes = content.bytes;
    int line = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') ++line;
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return line;
    }
    return std::nullopt;
}

void ShowError(const std::string& text) {
    host::ui::messageBox(text, {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
}

// The stored value of a key as text: flags "1" or "0", modes from the shown combo texts.
std::string StoredValue(const PostprocessorSettings& settings, const PostKey& key) {
    if (key.kind == PostValueKind::Flag) return settings.*key.integer == 1 ? "1" : "0";
    if (key.kind == PostValueKind::Mode) {
        const std::string& shown = key.integer == &PostprocessorSettings::CenterArcAbsolute
                                       ? settings.CenterArcAbsoluteText
                                       : settings.CenterArcIncrementalText;
        return std::to_string(CenterArcModeFromText(shown));
    }
    return settings.*key.text;
}

}  // namespace

std::string CheckStorablePostValue(const PostKey& key, std::string_view value) {
    const int room = key.limit - 2;  // characters a line of this key holds before its line end
    if (key.kind == PostValueKind::Block) {
        std::size_t start = 0;
        while (start <= value.size()) {
            std::size_t end = value.find('\n', start);
            if (end == std::string_view::npos) end = value.size();
            std::string_view line = value.substr(start, end - start);
            if (end < value.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.find('\r') != std::string_view::npos) return Localized(kReasonValueHasLineBreak);
            if (host::sys::utf8CharacterCount(line) > static_cast<std::size_t>(room)) {
                return FormatLocalized(kReasonLineTooLong, room);
            }
            start = end + 1;
        }
        return {};
    }
    if (value.find_first_of("\r\n") != std::string_view::npos) return Localized(kReasonValueHasLineBreak);
    if (host::sys::utf8CharacterCount(value) > static_cast<std::size_t>(room)) {
        return FormatLocalized(kReasonValueTooLong, room);
    }
    return CheckNumberValue(key, value);
}

int ReadPostprocessorFile(PostprocessorSettings& settings, const std::filesystem::path& path,
                          PostReadRefusal* refusal) {
    const std::string shownPath = path.string();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        ShowError(FormatLocalized(kPostFileNotFoundText, shownPath.c_str()));
        return -1;
    }
    TextLineReader file;
    std::string openError;
    if (!file.open(path, &openError)) {
        // A NUL byte used to get the message of a file without the mark, which sent users looking for the mark.
        if (const std::optional<int> line = LineOfNulByte(path)) {
            ShowError(FormatLocalized(kPostFileDamagedText, shownPath.c_str(), *line, Localized(kReasonNulByte)));
        } else {
            ShowError(FormatLocalized(kPostFileUnreadableText, openError.c_str()));
        }
        return -1;
    }
    if (const std::optional<int> line = LineOfStrayCarriageReturn(path)) {
        ShowError(FormatLocalized(kPostFileDamagedText, shownPath.c_str(), *line,
                                  Localized(kReasonStrayCarriageReturn)));
        return -1;
    }
    PostLineReader in(file);
    const std::optional<std::string> mark = in.read(kPostMarkLineSize);
    if (!mark || mark->find(kPostFileMark) == std::string::npos) {
        ShowError(FormatLocalized(kPostFileBadText, shownPath.c_str()));
        return -1;
    }
    PostprocessorSettings read = settings;
    std::optional<ReadFault> fault;
    const std::optional<std::string> version = in.read(kPostKeyLineSize);
    if (!version) {
        fault = ReadFault{in.nextLine(), Localized(kReasonNoVersion)};
    } else if (*version == kPostFileVersionPositional) {
        fault = ReadPostprocessorFile41(in, read);
    } else {
        fault = ReadPostprocessorSections(in, read);
    }
    if (fault) {
        ShowError(FormatLocalized(kPostFileDamagedText, shownPath.c_str(), fault->line, fault->reason.c_str()));
        if (refusal) {
            refusal->key = fault->key;
            refusal->readSoFar = std::move(read);
        }
        return -1;
    }
    settings = std::move(read);
    return 0;
}

int WritePostprocessorFile(const PostprocessorSettings& settings, const std::filesystem::path& path) {
    for (const PostKey& key : PostKeys()) {
        const std::string value = StoredValue(settings, key);
        const std::string reason = CheckStorablePostValue(key, value);
        if (!reason.empty()) {
            ShowError(FormatLocalized(kPostValueNotStorableText, key.name, reason.c_str()));
            return -1;
        }
    }
    TextLineWriter file(path);
    std::string error;
    if (!file.open(&error)) {
        ShowError(FormatLocalized(kPostFileNotWrittenText, error.c_str()));
        return -1;
    }
    WriteTextLine(kPostFileMark, file);
    WriteTextLine(kPostFileVersion, file);
    std::optional<PostSection> section;
    for (const PostKey& key : PostKeys()) {
        if (section != key.section) {
            section = key.section;
            WriteTextLine(std::string(kSectionMark) + PostSectionName(key.section), file);
        }
        WriteTextLine(std::string(kKeyMark) + key.name, file);
        if (key.kind == PostValueKind::Block) {
            WriteTextBlock(settings.*key.text, file);
        } else {
            WriteTextLine(StoredValue(settings, key), file);
        }
    }
    WriteTextLine(kPostEndFileLine, file);
    if (!file.commit(&error)) {
        ShowError(FormatLocalized(kPostFileNotWrittenText, error.c_str()));
        return -1;
    }
    return 0;
}
