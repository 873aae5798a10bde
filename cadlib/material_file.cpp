// Reading and writing the material file.
#include "cadlib/material_file.h"

#include <optional>

#include "cadlib/text_lines.h"

namespace {

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
    density = valueAfterEquals(*densityLine);
    number = valueAfterEquals(*numberLine);
    return 0;
}

bool WriteMaterialFile(const std::filesystem::path& path, std::string_view density, std::string_view number,
                       std::string* error) {
    if (holdsLineBreak(density) || holdsLineBreak(number)) {
        if (error) *error = "cannot write " + path.string() + ": a value holds a line break";
        return false;
    }
    TextLineWriter file(path);
    if (!file.open(error)) return false;
    WriteTextLine(kMaterialHeaderWord, file);
    WriteTextLine(std::string(kMaterialDensityKey) + std::string(density), file);
    WriteTextLine(std::string(kMaterialNumberKey) + std::string(number), file);
    return file.commit(error);
}
