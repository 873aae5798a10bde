// Programs read back into contours: the samples of the import's description, lead-ins and lead-outs, the element
// limit, and the lines not read, after which nothing is drawn from a point the reader no longer knows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "nesting/import/cnc_program_reader.h"

namespace {

using host::ge::Point2d;

// What the reader drew and told.
struct Drawn {
    std::vector<Contour> contours;
    std::vector<CncNotice> notices;
};

Drawn Read(const std::string& program, const CncImportAnswers& answers, std::size_t limit = kCncContourElements) {
    Drawn drawn;
    CncProgramReader reader(answers, [&](const Contour& c) { drawn.contours.push_back(c); },
                            [&](const CncNotice& n) { drawn.notices.push_back(n); }, limit);
    ReadCncProgramText(program, reader);
    return drawn;
}

// One element as text: "L x,y-x,y" for a line (the start first), "R ..." for a rapid, "A cx,cy s-e ccw|cw" for an
// arc as stored, "C cx,cy r" for a circle, "-" prefixed for an element left out as a lead.
std::string Text(const ContourElement& e) {
    char buffer[160];
    const auto p = [](const Point2d& q) {
        char xy[80];
        std::snprintf(xy, sizeof xy, "%.2f,%.2f", std::round(q.x * 100) / 100 + 0.0, std::round(q.y * 100) / 100 + 0.0);
        return std::string(xy);
    };
    const std::string lead = e.Type > kImportedElementOffset ? "-" : "";
    switch (e.Type % kImportedElementOffset) {
        case kElementCircle:
            if (e.Type == kCncRapidElement) return "R " + p(e.Start) + "-" + p(e.End);
            std::snprintf(buffer, sizeof buffer, "C %s r%.2f", p(e.Centre).c_str(), e.Radius);
            return lead + buffer;
        case kElementLine: return lead + "L " + p(e.Start) + "-" + p(e.End);
        default: return lead + "A " + p(e.Centre) + " " + p(e.Start) + "-" + p(e.End) + (e.Reversed ? " cw" : " ccw");
    }
}

std::vector<std::string> Texts(const Drawn& drawn) {
    std::vector<std::string> out;
    for (const Contour& c : drawn.contours) {
        std::string line;
        for (const ContourElement& e : c.Elements) line += (line.empty() ? "" : " | ") + Text(e);
        out.push_back(line);
    }
    return out;
}

constexpr const char* kSquare =
    "%\nO0001\nN10 G90 G00 X0 Y0\nN20 G00 X10 Y10 ; to start\nN30 G01 X20 Y10 F2000\nN40 X20 Y20\nN50 X10 Y20\n"
    "N60 X10 Y10\nN70 G00 X60 Y15\nN80 G02 X60 Y15 I5 J0\nN90 G00 X0 Y0\nN100 M30\n%\n";

constexpr const char* kLeads =
    "G90\r\nG00 X5 Y15\r\nG01 X10 Y15\r\nG01 X10 Y10\r\nX20 Y10\r\nX20 Y20\r\nX10 Y20\r\nX10 Y15\r\nX12 Y15\r\n"
    "G00 X0 Y0\r\n";

TEST(CncProgram, SquareAndCircleWithTheirRapidMoves) {
    const Drawn drawn = Read(kSquare, {false, 1, 1.0});
    const std::vector<std::string> expected = {
        "R 0.00,0.00-10.00,10.00",
        "R 10.00,10.00-60.00,15.00",
        "L 10.00,10.00-20.00,10.00 | L 20.00,10.00-20.00,20.00 | L 20.00,20.00-10.00,20.00 | "
        "L 10.00,20.00-10.00,10.00",
        "R 60.00,15.00-0.00,0.00",
        "C 65.00,15.00 r5.00",
    };
    EXPECT_EQ(Texts(drawn), expected);
    EXPECT_TRUE(drawn.notices.empty());
}

TEST(CncProgram, LeadInAndLeadOutAreLeftOutWhenAsked) {
    const Drawn kept = Read(kLeads, {false, 1, 1.0});
    ASSERT_EQ(kept.contours.size(), 3u);  // two rapid moves, then the contour of seven lines
    EXPECT_EQ(kept.contours[2].Elements.size(), 7u);

    const Drawn dropped = Read(kLeads, {true, 1, 1.0});
    const std::vector<std::string> expected = {
        "-L 5.00,15.00-10.00,15.00 | L 10.00,15.00-10.00,10.00 | L 10.00,10.00-20.00,10.00 | "
        "L 20.00,10.00-20.00,20.00 | L 20.00,20.00-10.00,20.00 | L 10.00,20.00-10.00,15.00 | "
        "-L 10.00,15.00-12.00,15.00"};
    EXPECT_EQ(Texts(dropped), expected);

    // A hole entered by a lead-in line: the circle alone is drawn.
    const Drawn hole = Read("G0 X50 Y50\nG1 X55 Y50\nG3 X55 Y50 I-5 J0\nG0 X0 Y0\n", {true, 1, 1.0});
    EXPECT_EQ(Texts(hole), std::vector<std::string>{"C 50.00,50.00 r5.00"});
}

TEST(CncProgram, BracketedProgramScaled) {
    const char* program = "[HEAD] JOB 7\n[MAT] STEEL\n[PCS] 1\n[UNDO] X10000 Y10000\n[LEAD] X12000 Y10000\n"
                          "[CUT] X20000 Y10000\nX20000 Y20000\nX10000 Y20000\nX10000 Y10000\n[UNDO] X0 Y0\n";
    const std::vector<std::string> expected = {
        "R 0.00,0.00-10.00,10.00",
        "R 10.00,10.00-0.00,0.00",
        "L 10.00,10.00-12.00,10.00 | L 12.00,10.00-20.00,10.00 | L 20.00,10.00-20.00,20.00 | "
        "L 20.00,20.00-10.00,20.00 | L 10.00,20.00-10.00,10.00",
    };
    EXPECT_EQ(Texts(Read(program, {false, 0, 1000.0})), expected);
}

TEST(CncProgram, ArcsAreStoredCounterClockwise) {
    // A slot: two lines and two half circles, clockwise ones by I/J (mode 1), then by R.
    const char* program = "G0 X0 Y0\nG1 X10 Y0\nG2 X10 Y-10 I0 J-5\nG1 X0 Y-10\nG2 X0 Y0 R5\nG0 X0 Y0\n";
    const std::vector<std::string> expected = {
        "L 0.00,0.00-10.00,0.00 | A 10.00,-5.00 10.00,-10.00-10.00,0.00 cw | L 10.00,-10.00-0.00,-10.00 | "
        "A 0.00,-5.00 0.00,0.00-0.00,-10.00 cw"};
    EXPECT_EQ(Texts(Read(program, {true, 1, 1.0})), expected);
}

TEST(CncProgram, AFullContourStoreFinishesTheContourAndGoesOn) {
    std::string program = "G0 X0 Y0\nG1";
    for (int i = 1; i <= 7; ++i) program += " X" + std::to_string(i) + "\n";
    const Drawn drawn = Read(program, {true, 0, 1.0}, 3);
    ASSERT_EQ(drawn.contours.size(), 3u);
    EXPECT_EQ(drawn.contours[0].Elements.size(), 3u);
    EXPECT_EQ(drawn.contours[1].Elements.size(), 3u);
    EXPECT_EQ(drawn.contours[2].Elements.size(), 1u);
    EXPECT_EQ(drawn.contours[1].Elements[0].Start.x, 3.0) << "the next contour goes on where the last ended";
    ASSERT_EQ(drawn.notices.size(), 2u);
    EXPECT_TRUE(drawn.notices[0].contourFull);
    EXPECT_EQ(drawn.notices[0].line, 5);
}

TEST(CncProgram, NothingIsDrawnFromAPointTheReaderLost) {
    const char* program =
        "G0 X0 Y0\nG1 X10 Y0\nG1 Xnan Y5\nG1 X20\nG1 X10 Y10\nG1 X0 Y10\nG2 X10 Y0 I3 J0\nG1 X20 Y0\n";
    const Drawn drawn = Read(program, {true, 0, 1.0});
    // Line 3 is not read: X20 (Y unknown) and the line to (10,10) are not drawn; the arc of line 7 does not lie on
    // one circle (its centre lies 10.4 from its start, 7 from its end) and is not drawn either.
    const std::vector<std::string> expected = {"L 0.00,0.00-10.00,0.00", "L 10.00,10.00-0.00,10.00",
                                               "L 10.00,0.00-20.00,0.00"};
    EXPECT_EQ(Texts(drawn), expected);
    ASSERT_EQ(drawn.notices.size(), 2u);
    EXPECT_EQ(drawn.notices[0].line, 3);
    EXPECT_EQ(drawn.notices[0].problem, CncLineProblem::NotANumber);
    EXPECT_EQ(drawn.notices[1].line, 7);
    EXPECT_EQ(drawn.notices[1].problem, CncLineProblem::ArcOffCircle);
}

TEST(CncProgram, G90AndG91HoldUntilChangedAndLettersReadInEitherCase) {
    // G91 on a line of its own: the moves after it are incremental until G90 (it drew a line to (30,0) before).
    const char* program = "G90\nG0 X150 Y0\nG91\nG1 X30 Y10\nY-10\nG90\nX200 Y0\n";
    const std::vector<std::string> expected = {
        "L 150.00,0.00-180.00,10.00 | L 180.00,10.00-180.00,0.00 | L 180.00,0.00-200.00,0.00"};
    EXPECT_EQ(Texts(Read(program, {true, 0, 1.0})), expected);
    // A program that writes the mode on every line reads as before; mode 3 starts incremental until a G90.
    EXPECT_EQ(Texts(Read("G0 G90 X150 Y0\nG1 G91 X30 Y10\nG91 Y-10\nG90 X200 Y0\n", {true, 0, 1.0})), expected);
    EXPECT_EQ(Texts(Read("G0 X150\nG1 X30 Y10\nY-10\nG90 X200 Y0\n", {true, 3, 1.0})), expected);
    // Lower-case address letters are addresses: the square is drawn, no diagonal across it.
    const Drawn lower = Read("g0 x10 y10\ng1 x20 y10\nx20 y20\nx10 y20\nx10 y10\ng0 x0 y0\n", {true, 0, 1.0});
    EXPECT_EQ(Texts(lower), std::vector<std::string>{"L 10.00,10.00-20.00,10.00 | L 20.00,10.00-20.00,20.00 | "
                                                     "L 20.00,20.00-10.00,20.00 | L 10.00,20.00-10.00,10.00"});
    EXPECT_TRUE(lower.notices.empty());
}

TEST(CncProgram, ALineThatCannotBeReadIsToldAndNothingIsDrawnAcrossIt) {
    const Drawn drawn = Read("G0 X0 Y0\nG1 X10 Y0\n10 20\nX10 Y10\nG91 X-10\n", {true, 0, 1.0});
    // Line 3 says nothing the reader can take: the position after it is unknown until both axes come absolute.
    EXPECT_EQ(Texts(drawn), (std::vector<std::string>{"L 0.00,0.00-10.00,0.00", "L 10.00,10.00-0.00,10.00"}));
    ASSERT_EQ(drawn.notices.size(), 1u);
    EXPECT_EQ(drawn.notices[0].line, 3);
    EXPECT_EQ(drawn.notices[0].problem, CncLineProblem::NotReadable);
}

// A typo inside a number is told with its line, as a line without an address letter is, and nothing is drawn
// across it: before, "y4O" drew a line to Y4 and a diagonal back.
TEST(CncProgram, ATypoInsideANumberIsToldAndNothingIsDrawnAcrossIt) {
    for (const char* typo : {"N170 y4O", "Y3O", "Y4.0.0", "N190 ?? Y40"}) {
        SCOPED_TRACE(typo);
        const Drawn drawn =
            Read(std::string("G0 X0 Y0\nG1 X10 Y0\n") + typo + "\nX10 Y40\nX0 Y40\n", {true, 0, 1.0});
        EXPECT_EQ(Texts(drawn), (std::vector<std::string>{"L 0.00,0.00-10.00,0.00", "L 10.00,40.00-0.00,40.00"}));
        ASSERT_EQ(drawn.notices.size(), 1u);
        EXPECT_EQ(drawn.notices[0].line, 3);
        EXPECT_EQ(drawn.notices[0].problem, CncLineProblem::NotANumber);
    }
}

TEST(CncProgram, RapidMovesAloneAddNoElement) {
    CncProgramReader reader({false, 0, 1.0}, nullptr, nullptr);
    ReadCncProgramText("G0 X10 Y10\nG0 X20 Y0\n", reader);
    EXPECT_FALSE(reader.AddedElement());
}

TEST(CncProgram, GarbageNeverDrawsANonFiniteOrFarPoint) {
    std::mt19937 random(26);
    const std::string alphabet = "GXYIJR0123456789.-+e ()=;[]N\n\r\x7f\xff";
    for (int run = 0; run < 50; ++run) {
        std::string program;
        for (int i = 0; i < 400; ++i) program += alphabet[random() % alphabet.size()];
        const Drawn drawn = Read(program, {run % 2 == 0, run % 5, run % 3 == 0 ? 0.001 : 1.0});
        for (const Contour& c : drawn.contours) {
            for (const ContourElement& e : c.Elements) {
                for (const Point2d& p : {e.Start, e.End, e.Centre}) {
                    ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << program;
                    ASSERT_LE(std::fabs(p.x), kMaxCncCoordinate * 2) << program;
                }
                ASSERT_TRUE(std::isfinite(e.Radius));
            }
        }
    }
}

}  // namespace
