// The reader under malformed input, deterministically: the fuzzer's kept findings, every truncation of a small
// file, and a seeded run of mutations. Each input must give a drawing that survives a save, or a message naming
// the source; never a crash or a hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "host/dxf/fuzz/read_check.h"

namespace host::dxf {
namespace {

const std::filesystem::path kRegressionFixtures = KESTRION_SOURCE_DIR "/host/dxf/tests/fixtures";

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DxfFuzzFindings, EveryKeptFindingIsHandled) {
    for (const auto& entry : std::filesystem::directory_iterator(kRegressionFixtures / "fuzz")) {
        if (entry.path().filename() == "README.md") continue;
        EXPECT_EQ(checkReadOfInput(readFile(entry.path())), "") << entry.path();
    }
}

// A file cut short anywhere is refused with a message, never half-read.
TEST(DxfFuzzFindings, EveryTruncationIsRefused) {
    const std::string text = readFile(kRegressionFixtures / "r12_no_handles.dxf");
    ASSERT_FALSE(text.empty());
    for (std::size_t cut = 0; cut + 1 < text.size(); cut += 7) {
        const std::string part = text.substr(0, cut);
        EXPECT_EQ(checkReadOfInput(part), "") << "cut at " << cut;
        EXPECT_FALSE(readDxfText(part, "cut.dxf")) << "cut at " << cut;
    }
}

// Seeded mutations of real files: bytes changed, lines dropped, doubled or swapped, numbers made extreme.
TEST(DxfFuzzFindings, SeededMutationsAreHandled) {
    const std::string sources[] = {readFile(kRegressionFixtures / "r12_no_handles.dxf"),
                                   readFile(kRegressionFixtures / "ezdxf_r2000.dxf")};
    std::mt19937 rng(20240611);
    const char* extremes[] = {"1e308", "-1e308", "nan", "99999999999", "-32769", "0", "FFFFFFFFFFFFFFFF", "", " ",
                              "\\U+D800", "^", "{ACAD_REACTORS", "}", "SECTION", "EOF", "VERTEX", "SEQEND"};
    int accepted = 0;
    for (int round = 0; round < 240; ++round) {
        std::string text = sources[round % 2];
        std::vector<std::string> lines;
        for (std::size_t pos = 0; pos < text.size();) {
            std::size_t nl = text.find('\n', pos);
            if (nl == std::string::npos) nl = text.size() - 1;
            lines.push_back(text.substr(pos, nl + 1 - pos));
            pos = nl + 1;
        }
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits && !lines.empty(); ++e) {
            const std::size_t at = rng() % lines.size();
            switch (rng() % 5) {
            case 0: lines.erase(lines.begin() + std::ptrdiff_t(at)); break;
            case 1: lines.insert(lines.begin() + std::ptrdiff_t(at), lines[rng() % lines.size()]); break;
            case 2: std::swap(lines[at], lines[rng() % lines.size()]); break;
            case 3: lines[at] = std::string(extremes[rng() % std::size(extremes)]) + "\r\n"; break;
            default:
                if (!lines[at].empty()) lines[at][rng() % lines[at].size()] = char(rng() % 256);
                break;
            }
        }
        std::string mutated;
        for (const std::string& l : lines) mutated += l;
        EXPECT_EQ(checkReadOfInput(mutated), "") << "round " << round;
        accepted += readDxfText(mutated, "m.dxf") ? 1 : 0;
    }
    // Both ways out were taken: some mutations are harmless, most are refused.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 240);
}

}  // namespace
}  // namespace host::dxf
