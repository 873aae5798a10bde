// Reading and writing the material file.
#include "cadlib/material_file.h"

#include <cstring>
#include <optional>

#include "cadlib/messages.h"
#include "cadlib/text_lines.h"
#include "host/sys/encoding.h"
#include "host/sys/folders.h"
#include "host/sys/number_text.h"

namespace {

constexpr TwoLanguageText kValueHoldsLineBreak = {
    "cannot write %s: a value holds a line break",
    "не удалось записать %s: значение содержит перевод строки",
};
constexpr TwoLanguageText kValueTooLong = {
    "cannot write %s: the density may have %zu characters and the material number %zu",
    "не удалось записать %s: плотность может содержать не более %zu символов, номер материала - не более %zu",
};

constexpr TwoLanguageText kDensityNotWritable = {
    "cannot write %s: the density \"%s\" is not a number above 0 and at most %g",
    "не удалось записать %s: плотность \"%s\" - не число больше 0 и не больше %g",
};

constexpr TwoLanguageText kCannotRead = {
    "The material file cannot be read: %s",
    "Не удалось прочитать файл материала: %s",
};
constexpr TwoLanguageText kEmptyFile = {
    "%s, line 1: the file is empty, so it holds no material",
    "%s, строка 1: файл пуст, материала в нём нет",
};
constexpr TwoLanguageText kNoHeaderWord = {
    "%s, line 1: this is no material file: its first line does not hold \"MATERIAL\"",
    "%s, строка 1: это не файл материала: в первой строке нет \"MATERIAL\"",
};
constexpr TwoLanguageText kNoDensityLine = {
    "%s, line 2: the file ends before its density line (DENSITY=)",
    "%s, строка 2: файл кончается раньше строки плотности (DENSITY=)",
};
constexpr TwoLanguageText kNoNumberLine = {
    "%s, line 3: the file ends before its material number line (MATERIAL_NUM=)",
    "%s, строка 3: файл кончается раньше строки номера материала (MATERIAL_NUM=)",
};
constexpr TwoLanguageText kCarriageReturn = {
    "%s, line %d: a carriage return stands inside the value",
    "%s, строка %d: внутри значения стоит возврат каретки",
};
constexpr TwoLanguageText kDensityNotANumber = {
    "%s, line 2: the density \"%s\" is not a number (it is written with a point, as 7.85e-06)",
    "%s, строка 2: плотность \"%s\" - не число (число пишется с точкой, например 7.85e-06)",
};
constexpr TwoLanguageText kDensityNotAbove0 = {
    "%s, line 2: the density %s is not above 0",
    "%s, строка 2: плотность %s не больше 0",
};

constexpr TwoLanguageText kDensityTooLarge = {
    "%s, line 2: the density %s is above %g, the largest a material may have",
    "%s, строка 2: плотность %s больше %g, наибольшей плотности материала",
};

constexpr int kDensityLine = 2;
constexpr int kNumberLine = 3;

// One line of the file cut to the room of N, with the rest of a longer line passed over and the line end gone.
std::optional<std::string> readMaterialLine(TextLineReader& file, int N) {
    std::string line;
    std::optional<std::string> piece = file.readPiece(static_cast<std::size_t>(N) - 1);
    if (!piece) return std::nullopt;
    bool ended = !piece->empty() && piece->back() == '\n';
    line = std::move(*piece);
    while (!ended) {
        std::optional<std::string> rest = file.readPiece(static_cast<std::size_t>(N) - 1);
        if (!rest) break;
        ended = !rest->empty() && rest->back() == '\n';
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string valueAfterEquals(const std::string& line) {
    const std::size_t at = line.find('=');
    return at == std::string::npos ? line : line.substr(at + 1);
}

bool holdsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The characters a value has after its key in a line the reader takes whole: 71 for the density, 66 for the
// material number.
std::size_t valueRoom(const char* key) {
    return static_cast<std::size_t>(kMaterialValueLineSize) - 1 - std::strlen(key);
}

// The value of a line cut to the room the writer's line gives it. A line without its key (or with a shorter one)
// can hold a longer value than the writer could write back after the key; cut here, what is read can be saved
// again and reads back the same.
std::string valueOf(const std::string& line, const char* key) {
    return std::string(host::sys::utf8Prefix(valueAfterEquals(line), valueRoom(key)));
}

}  // namespace

namespace {

// The density text as the reader takes it: one decimal number, blanks and tabs around it allowed.
host::sys::Parsed<double> ParseDensity(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return host::sys::parseReal(text);
}

}  // namespace

std::filesystem::path InstalledMaterialFolder() { return host::sys::installFolder() / "material"; }

int ReadMaterialFile(const std::filesystem::path& path, std::string& density, std::string& number,
                     std::string* error) {
    const std::string name = path.string();
    auto refuse = [&](std::string message) {
        if (error) *error = std::move(message);
        return -1;
    };
    TextLineReader file;
    std::string why;
    if (!file.open(path, &why)) return refuse(FormatLocalized(kCannotRead, why.c_str()));
    const std::optional<std::string> header = readMaterialLine(file, kMaterialHeaderLineSize);
    if (!header) return refuse(FormatLocalized(kEmptyFile, name.c_str()));
    if (header->find(kMaterialHeaderWord) == std::string::npos) return refuse(FormatLocalized(kNoHeaderWord, name.c_str()));
    const std::optional<std::string> densityLine = readMaterialLine(file, kMaterialValueLineSize);
    if (!densityLine) return refuse(FormatLocalized(kNoDensityLine, name.c_str()));
    const std::optional<std::string> numberLine = readMaterialLine(file, kMaterialValueLineSize);
    if (!numberLine) return refuse(FormatLocalized(kNoNumberLine, name.c_str()));
    // A carriage return inside a value line (line ends of another system, a damaged copy) is no value: the
    // writer could not write it back.
    if (densityLine->find('\r') != std::string::npos) return refuse(FormatLocalized(kCarriageReturn, name.c_str(), kDensityLine));
    if (numberLine->find('\r') != std::string::npos) return refuse(FormatLocalized(kCarriageReturn, name.c_str(), kNumberLine));
    std::string readDensity = valueOf(*densityLine, kMaterialDensityKey);
    // The whole text is the density ("abc" and "7,85" are none), in the range a job takes it in.
    const host::sys::Parsed<double> value = ParseDensity(readDensity);
    if (!value.ok()) return refuse(FormatLocalized(kDensityNotANumber, name.c_str(), readDensity.c_str()));
    if (!(value.value > 0.0)) return refuse(FormatLocalized(kDensityNotAbove0, name.c_str(), readDensity.c_str()));
    if (value.value > kMaxMaterialDensity) {
        return refuse(FormatLocalized(kDensityTooLarge, name.c_str(), readDensity.c_str(), kMaxMaterialDensity));
    }
    density = std::move(readDensity);
    number = valueOf(*numberLine, kMaterialNumberKey);
    return 0;
}

bool WriteMaterialFile(const std::filesystem::path& path, std::string_view density, std::string_view number,
                       std::string* error) {
    if (holdsLineBreak(density) || holdsLineBreak(number)) {
        if (error) *error = FormatLocalized(kValueHoldsLineBreak, path.string().c_str());
        return false;
    }
    // A longer value would be cut when the file is read.
    if (host::sys::utf8CharacterCount(density) > valueRoom(kMaterialDensityKey) ||
        host::sys::utf8CharacterCount(number) > valueRoom(kMaterialNumberKey)) {
        if (error)
            *error = FormatLocalized(kValueTooLong, path.string().c_str(), valueRoom(kMaterialDensityKey),
                                     valueRoom(kMaterialNumberKey));
        return false;
    }
    // A file is written only when its reader takes it back: a density that is no number, not above 0 or above
    // the largest would be refused at the next Select.
    const host::sys::Parsed<double> value = ParseDensity(density);
    if (!value.ok() || !(value.value > 0.0) || value.value > kMaxMaterialDensity) {
        if (error)
            *error = FormatLocalized(kDensityNotWritable, path.string().c_str(), std::string(density).c_str(),
                                     kMaxMaterialDensity);
        return false;
    }
    TextLineWriter file(path);
    if (!file.open(error)) return false;
    WriteTextLine(kMaterialHeaderWord, file);
    WriteTextLine(std::string(kMaterialDensityKey) + std::string(density), file);
    WriteTextLine(std::string(kMaterialNumberKey) + std::string(number), file);
    return file.commit(error);
}
