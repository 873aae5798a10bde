// Reading and writing the material file.
#include "cadlib/material_file.h"

#include <cstring>
#include <optional>

#include "cadlib/messages.h"
#include "cadlib/text_lines.h"
#include "host/sys/encoding.h"

namespace {

constexpr TwoLanguageText kValueHoldsLineBreak = {
    "cannot write %s: a value holds a line break",
    "не удалось записать %s: значение содержит перевод строки",
};
constexpr TwoLanguageText kValueTooLong = {
    "cannot write %s: the density may have %zu characters and the material number %zu",
    "не удалось записать %s: плотность может содержать не более %zu символов, номер материала - не более %zu",
};

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

int ReadMaterialFile(const std::filesystem::path& path, std::string& density, std::string& number) {
    TextLineReader file;
    if (!file.open(path, nullptr)) return -1;
    const std::optional<std::string> header = readMaterialLine(file, kMaterialHeaderLineSize);
    if (!header || header->find(kMaterialHeaderWord) == std::string::npos) return -1;
    const std::optional<std::string> densityLine = readMaterialLine(file, kMaterialValueLineSize);
    const std::optional<std::string> numberLine = readMaterialLine(file, kMaterialValueLineSize);
    if (!densityLine || !numberLine) return -1;
    // A carriage return inside a value line (line ends of another system, a damaged copy) is no value: the
    // writer could not write it back.
    if (densityLine->find('\r') != std::string::npos || numberLine->find('\r') != std::string::npos) return -1;
    density = valueOf(*densityLine, kMaterialDensityKey);
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
    TextLineWriter file(path);
    if (!file.open(error)) return false;
    WriteTextLine(kMaterialHeaderWord, file);
    WriteTextLine(std::string(kMaterialDensityKey) + std::string(density), file);
    WriteTextLine(std::string(kMaterialNumberKey) + std::string(number), file);
    return file.commit(error);
}
