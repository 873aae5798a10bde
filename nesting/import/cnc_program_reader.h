// A CNC program read back into contours: the cutting moves between two rapid moves make one contour, each rapid
// move is a contour of its own. The reader knows nothing of the drawing; what it makes goes to its sinks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "host/ge/point.h"
#include "nesting/import/cnc_line_parser.h"
#include "nesting/model/contour.h"

// The answers the import asks for.
struct CncImportAnswers {
    bool dropLeads = false;  // rapid moves are not drawn, and lead-ins and lead-outs are left out of the contours
    int mode = 0;            // how X, Y, I and J are read (cnc_line_parser.h)
    double scale = 1.0;      // every coordinate is divided by it
};

// Elements one contour holds; a contour that would grow past it is finished there and the next begins.
inline constexpr std::size_t kCncContourElements = 40000;
// The element type of a rapid move (the drawing of contours draws it as a line in the rapid moves' colour).
inline constexpr std::int8_t kCncRapidElement = kImportedElementOffset + kElementCircle;
// Distance within which a lead-in's or lead-out's end meets the contour's closing point.
inline constexpr double kCncLeadTolerance = 0.1;

// Something the reader tells about a line: a line not read (its problem), or a contour cut at the element limit.
struct CncNotice {
    int line = 0;  // counted from 1
    CncLineProblem problem = CncLineProblem::None;
    int code = 0;              // the G number of an unknown G code
    bool contourFull = false;  // the contour reached the element limit at this line
};

class CncProgramReader {
public:
    using ContourSink = std::function<void(const Contour&)>;
    using NoticeSink = std::function<void(const CncNotice&)>;

    CncProgramReader(const CncImportAnswers& answers, ContourSink draw, NoticeSink notice,
                     std::size_t elementLimit = kCncContourElements);

    // Reads the program's next line.
    void ReadLine(std::string_view line);
    // The end of the program: the open contour is finished.
    void Finish();

    // Whether any cutting element was made (a program of rapid moves alone has none).
    bool AddedElement() const { return added_; }
    int LinesRead() const { return line_; }
    int LinesNotRead() const { return linesNotRead_; }
    const host::ge::Point2d& Position() const { return position_; }

private:
    void AddElement(const ContourElement& element);
    void AddArc(const host::ge::Point2d& end, const host::ge::Point2d& centre);
    void DrawRapid(const host::ge::Point2d& end);
    // Draws the open contour and empties it; at a contour's real end lead-ins and lead-outs are looked for.
    void FinishContour(bool atEnd);
    void Tell(CncLineProblem problem, int code = 0);

    CncImportAnswers answers_;
    ContourSink draw_;
    NoticeSink notice_;
    std::size_t limit_;
    Contour open_;
    Contour rapid_;
    host::ge::Point2d position_;
    host::ge::Point2d centre_;
    int motion_ = kCncRapid;
    // X and Y incremental: from the mode at the start, then as G90 and G91 set it.
    bool incremental_ = false;
    int line_ = 0;
    int linesNotRead_ = 0;
    bool added_ = false;
    // An axis of the position is lost after a line that was not read: moves from it are not drawn until a line
    // gives that axis again as an absolute coordinate.
    bool lostX_ = false;
    bool lostY_ = false;
};

// Feeds the text's lines (ending in LF, CR LF or at the end of the text) to the reader, then finishes it.
void ReadCncProgramText(std::string_view text, CncProgramReader& reader);

// Marks the lead-in and lead-out of a finished contour (their Type + kImportedElementOffset), or cuts the contour
// down to its circle when its first or second element is a full circle.
void MarkLeadsOfContour(Contour& contour);
