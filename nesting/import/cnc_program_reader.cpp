// A CNC program read back into contours.
#include "nesting/import/cnc_program_reader.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

using host::ge::Point2d;

// Two points closer than this are one: a move to the current point draws nothing, an arc ending where it starts is
// a full circle (an incremental program sums its steps with rounding).
constexpr double kSamePoint = 1e-6;

bool Same(const Point2d& a, const Point2d& b) { return a.distanceTo(b) <= kSamePoint; }

// How far the distances of an arc's two ends from its centre may differ: the rounding of the program's numbers.
double ArcTolerance(double radius) { return 0.01 + 1e-4 * radius; }

double AngleOf(const Point2d& from, const Point2d& to) {
    const double a = std::atan2(to.y - from.y, to.x - from.x);
    return a < 0.0 ? a + 2.0 * std::numbers::pi : a;
}

bool IsCircle(const ContourElement& e) { return e.Type == kElementCircle; }

// Where the tool enters and leaves an element.
const Point2d& TravelStart(const ContourElement& e) { return e.Reversed != 0 ? e.End : e.Start; }
const Point2d& TravelEnd(const ContourElement& e) { return e.Reversed != 0 ? e.Start : e.End; }

bool Near(const Point2d& a, const Point2d& b) { return a.distanceTo(b) <= kCncLeadTolerance; }

}  // namespace

void MarkLeadsOfContour(Contour& contour) {
    std::vector<ContourElement>& elements = contour.Elements;
    if (elements.empty()) return;
    if (IsCircle(elements[0]) || (elements.size() >= 2 && IsCircle(elements[1]))) {
        const ContourElement circle = IsCircle(elements[0]) ? elements[0] : elements[1];
        elements.assign(1, circle);
        return;
    }
    const std::size_t n = elements.size();
    if (n < 3) return;
    const Point2d p0 = TravelEnd(elements[0]);
    const Point2d p1 = TravelStart(elements[1]);
    const ContourElement& secondLast = elements[n - 2];
    ContourElement& last = elements[n - 1];
    bool leadIn = false;
    if (!IsCircle(secondLast) && Near(TravelEnd(secondLast), p0)) leadIn = true;
    if (!IsCircle(last) && Near(TravelEnd(last), p0)) leadIn = true;
    const bool leadOut = (last.Type == kElementLine || last.Type == kElementArc) &&
                         (Near(TravelStart(last), p0) || Near(TravelStart(last), p1));
    if (leadIn) elements[0].Type = static_cast<std::int8_t>(elements[0].Type + kImportedElementOffset);
    if (leadOut) last.Type = static_cast<std::int8_t>(last.Type + kImportedElementOffset);
}

CncProgramReader::CncProgramReader(const CncImportAnswers& answers, ContourSink draw, NoticeSink notice,
                                   std::size_t elementLimit)
    : answers_(answers),
      draw_(std::move(draw)),
      notice_(std::move(notice)),
      limit_(elementLimit < 1 ? 1 : elementLimit),
      incremental_(answers.mode > 2) {
    rapid_.Elements.resize(1);
    rapid_.Elements[0].Type = kCncRapidElement;
}

void CncProgramReader::Tell(CncLineProblem problem, int code) {
    ++linesNotRead_;
    if (notice_) notice_(CncNotice{line_, problem, code, false});
}

void CncProgramReader::ReadLine(std::string_view line) {
    ++line_;
    Point2d end;
    CncLineResult result;
    const Point2d start = position_;
    const bool moved =
        ParseCncLine(line, motion_, position_, end, centre_, answers_.scale, incremental_, answers_.mode, result);
    if (result.problem != CncLineProblem::None) {
        Tell(result.problem, result.code);
        // Nothing is drawn across a line that was not read.
        FinishContour(false);
        if (result.endKnown) {
            position_ = end;
            if (result.absoluteX) lostX_ = false;
            if (result.absoluteY) lostY_ = false;
        } else {
            lostX_ = lostY_ = true;
        }
        return;
    }
    if (!moved) return;
    const bool startKnown = !lostX_ && !lostY_;
    if (result.absoluteX) lostX_ = false;
    if (result.absoluteY) lostY_ = false;
    if (!startKnown) {
        position_ = end;
        return;
    }
    switch (motion_) {
        case kCncRapid:
            if (!answers_.dropLeads) {
                if (Same(end, start)) break;
                DrawRapid(end);
            }
            FinishContour(true);
            break;
        case kCncLine:
            if (!Same(end, start)) {
                ContourElement e;
                e.Type = kElementLine;
                e.Start = start;
                e.End = end;
                e.StartAngle = AngleOf(start, end);
                e.EndAngle = e.StartAngle + std::numbers::pi;
                AddElement(e);
            }
            break;
        default: AddArc(end, centre_); break;
    }
    position_ = end;
}

void CncProgramReader::AddArc(const Point2d& end, const Point2d& centre) {
    const Point2d& start = position_;
    const double startRadius = start.distanceTo(centre);
    const double endRadius = end.distanceTo(centre);
    if (!(startRadius > kSamePoint) || std::fabs(startRadius - endRadius) > ArcTolerance(startRadius)) {
        Tell(startRadius > kSamePoint ? CncLineProblem::ArcOffCircle : CncLineProblem::ArcWithoutCentre);
        FinishContour(false);
        return;
    }
    ContourElement e;
    e.Centre = centre;
    e.Radius = startRadius;
    if (Same(end, start)) {
        e.Type = kElementCircle;
        e.Start = e.End = end;
        e.Radius = endRadius;
    } else {
        e.Type = kElementArc;
        // Arcs are stored counter-clockwise: a clockwise move runs through its arc from End to Start.
        const bool clockwise = motion_ == kCncClockwise;
        e.Reversed = clockwise ? 1 : 0;
        e.Start = clockwise ? end : start;
        e.End = clockwise ? start : end;
        e.StartAngle = AngleOf(centre, e.Start);
        e.EndAngle = AngleOf(centre, e.End);
    }
    AddElement(e);
}

void CncProgramReader::AddElement(const ContourElement& element) {
    if (open_.Elements.size() >= limit_) {
        if (notice_) notice_(CncNotice{line_, CncLineProblem::None, 0, true});
        FinishContour(false);
    }
    open_.Elements.push_back(element);
    added_ = true;
}

void CncProgramReader::DrawRapid(const Point2d& end) {
    ContourElement& e = rapid_.Elements[0];
    e.Start = position_;
    e.End = end;
    e.StartAngle = AngleOf(position_, end);
    e.EndAngle = e.StartAngle + std::numbers::pi;
    if (draw_) draw_(rapid_);
}

void CncProgramReader::FinishContour(bool atEnd) {
    if (open_.Elements.empty()) return;
    if (answers_.dropLeads && atEnd) MarkLeadsOfContour(open_);
    if (draw_) draw_(open_);
    open_.Elements.clear();
}

void CncProgramReader::Finish() {
    if (added_) FinishContour(true);
}

void ReadCncProgramText(std::string_view text, CncProgramReader& reader) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        reader.ReadLine(line);
        at = end + 1;
    }
    reader.Finish();
}
