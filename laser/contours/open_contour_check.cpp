// The open-contour check: building the list of open cut contours and the browser that walks it.
#include "laser/contours/open_contour_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "cadlib/entity_access.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/entity_data.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/display.h"
#include "host/ed/prompts.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/contours/contour_classification.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

using host::db::LwPolyline;
using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::RTSTR;
using host::ge::Point2d;

namespace {

const TwoLanguageText kNotPresent = {
    "\n\rOpen contours are not present",
    "\n\rНезамкнутых контуров нет",
};
const TwoLanguageText kOpenCount = {
    "\n\rOpen-ended contours  = %i",
    "\n\rНезамкнутых контуров  = %i",
};
const TwoLanguageText kHighlightLine = {
    "\n\rHighlight contour [%i/%i]  Clearance = %.8f",
    "\n\rПодсвечен контур [%i/%i]  Зазор = %.8f",
};
const TwoLanguageText kMenu = {
    "\n\rSelect [Zoom/Next/Previous/Delete/delete All/Connect/Exit] ",
    "\n\rВыберите [Zoom-показать/Next-далее/Previous-назад/Delete-удалить/All-удалить все/Connect-замкнуть/"
    "Exit-выход] ",
};
const TwoLanguageText kInvalidSymbol = {
    "Invalid symbol\n\nEnter one of the symbol - Z,N,P,D,A,C,E",
    "Неверный символ\n\nВведите один из символов - Z,N,P,D,A,C,E",
};
const TwoLanguageText kTooMany = {
    "\n\rThe drawing has %i open contours: only the first %i are listed. Repair them and run the check again.",
    "\n\rВ чертеже %i незамкнутых контуров: показаны только первые %i. Исправьте их и повторите проверку.",
};
const TwoLanguageText kNotOpened = {
    "\n\rThe open contour %s cannot be opened (%s): it is left out.",
    "\n\rНезамкнутый контур %s не удаётся открыть (%s): он пропущен.",
};
const TwoLanguageText kNotDeleted = {
    "\n\rThe open contour %s could not be deleted (its layer may be locked).",
    "\n\rНезамкнутый контур %s не удалось удалить (возможно, его слой заблокирован).",
};

std::string HandleText(std::uint64_t handle) { return host::db::Handle(handle).text(); }

bool IsCutOpenKind(ContourKind kind) {
    return kind == ContourKind::KindBase || kind == ContourKind::NoLeadIn || kind == ContourKind::JumperLine;
}

// One answer: its first character in upper case, '\0' for an empty answer; nullopt when the prompt was cancelled
// or failed.
std::optional<char> ReadKey() {
    std::string text;
    const int status = host::ed::getString(true, "", text, kOpenContourAnswerChars);
    if (status != host::db::RTNORM && status != host::db::RTINPUTTRUNCATED) return std::nullopt;
    if (text.empty()) return '\0';
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

// Deletes the entity of a contour by its handle; answers false (after saying so) when the host refuses.
bool DeleteContourEntity(std::uint64_t handle) {
    const ObjectId id = IdOfHandle(handle);
    if (!id.isNull() && host::db::entDel(host::db::idToName(id)) == host::db::RTNORM) return true;
    PrintLocalized(kNotDeleted, HandleText(handle).c_str());
    return false;
}

// The browser over the list; it owns the list while it runs.
class OpenContourBrowser {
public:
    OpenContourBrowser(CuttingJob& job, std::vector<int> list) : job_(job), list_(std::move(list)) {}

    // Walks the list until the user ends it or it empties. Answers true when a contour was deleted.
    bool Run() {
        while (!list_.empty()) {
            const ContourRecord& record = Record();
            ObjectPtr<LwPolyline> polyline(IdOfHandle(record.handle), OpenMode::Write);
            if (!polyline || polyline->numVerts() == 0) {
                // Erased since the contours were made, on a locked layer, or no longer a polyline with vertices.
                const char* why = polyline ? "no vertices" : host::db::statusText(polyline.status());
                PrintLocalized(kNotOpened, HandleText(record.handle).c_str(), why);
                polyline.close();
                if (!RemovePosition()) return deleted_;
                continue;
            }
            if (Ask(polyline) == Step::End) return deleted_;
        }
        return deleted_;
    }
    // True when a polyline was closed (Connect).
    bool Connected() const { return connected_; }

private:
    enum class Step { End, Next };

    const ContourRecord& Record() const {
        return job_.contours[static_cast<std::size_t>(list_[static_cast<std::size_t>(position_)])];
    }
    int Count() const { return static_cast<int>(list_.size()); }

    // Takes the position off the list: the last entry moves into its place, or the position steps back when it
    // was the last. Answers false (after saying so) when the list is now empty.
    bool RemovePosition() {
        if (position_ < Count() - 1) {
            list_[static_cast<std::size_t>(position_)] = list_.back();
            list_.pop_back();
        } else {
            list_.pop_back();
            position_ = Count() - 1;
        }
        if (!list_.empty()) return true;
        PrintLocalized(kNotPresent);
        return false;
    }

    static void Zoom(const Point2d& a, const Point2d& b) {
        const ZoomWindow w = OpenContourZoomWindow(a, b, LaserSettings().CheckZoomScale);
        host::ed::command({ResBuf(RTSTR, "_.zoom"), ResBuf(RTSTR, host::sys::formatC("%f,%f", w.low.x, w.low.y)),
                           ResBuf(RTSTR, host::sys::formatC("%f,%f", w.high.x, w.high.y))});
    }

    // The menu for the opened polyline at the position, until an answer leaves it.
    Step Ask(ObjectPtr<LwPolyline>& polyline) {
        const ObjectId id = polyline.id();
        while (true) {
            host::ed::highlight(id, true);
            Point2d first, last;
            polyline->getPointAt(0, first);
            polyline->getPointAt(polyline->numVerts() - 1, last);
            PrintLocalized(kHighlightLine, position_ + 1, Count(), std::hypot(last.x - first.x, last.y - first.y));
            PrintLocalized(kMenu);
            const char key = ReadKey().value_or('E');
            switch (key) {
                case 'Z': Zoom(first, last); continue;
                case '\0': host::ui::messageBox(Localized(kInvalidSymbol), "", host::ui::MB_OK); continue;
                case 'E':
                    host::ed::highlight(id, false);
                    return Step::End;
                case 'N':
                case 'P':
                    host::ed::highlight(id, false);
                    polyline.close();
                    position_ = key == 'N' ? (position_ + 1) % Count() : (position_ + Count() - 1) % Count();
                    return Step::Next;
                case 'C': {
                    // The record follows the polyline at once (the caller classifies the contours again), so the
                    // next cut treats the contour as closed without making the contours again.
                    host::ed::highlight(id, false);
                    polyline->setClosed(true);
                    ContourRecord& record = job_.contours[static_cast<std::size_t>(list_[static_cast<std::size_t>(position_)])];
                    record.closure = record.kind == ContourKind::NoLeadIn ? kClosureNoLeads : kClosureClosed;
                    record.area = polyline->area();
                    polyline.close();
                    connected_ = true;
                    return RemovePosition() ? Step::Next : Step::End;
                }
                case 'D': {
                    host::ed::highlight(id, false);
                    polyline.close();
                    if (!DeleteContourEntity(Record().handle)) {
                        position_ = (position_ + 1) % Count();
                        return Step::Next;
                    }
                    deleted_ = true;
                    return RemovePosition() ? Step::Next : Step::End;
                }
                case 'A':
                    host::ed::highlight(id, false);
                    polyline.close();
                    for (int index : list_) {
                        if (DeleteContourEntity(job_.contours[static_cast<std::size_t>(index)].handle)) deleted_ = true;
                    }
                    list_.clear();
                    PrintLocalized(kNotPresent);
                    return Step::End;
                default:
                    host::ed::highlight(id, false);
                    host::ui::messageBox(Localized(kInvalidSymbol), "", host::ui::MB_OK);
                    continue;
            }
        }
    }

    CuttingJob& job_;
    std::vector<int> list_;
    int position_ = 0;
    bool deleted_ = false;
    bool connected_ = false;
};

}  // namespace

bool IsListedOpenContour(const ContourRecord& r) {
    if (!IsCutOpenKind(r.kind) || r.shape != kShapePolyline) return false;
    const bool recordOpen = r.closure == kClosureOpen;
    if (!recordOpen && !(r.kind == ContourKind::NoLeadIn && r.closure == kClosureNoLeads)) return false;
    ObjectPtr<LwPolyline> polyline(IdOfHandle(r.handle), OpenMode::Read);
    if (!polyline) return recordOpen;
    return !polyline->isClosed();
}

std::vector<int> ListOpenContours(const CuttingJob& job, int* more) {
    std::vector<int> list;
    int beyond = 0;
    const int records = std::min(job.contourCount, static_cast<int>(job.contours.size()));
    for (int i = 0; i < records; ++i) {
        if (!IsListedOpenContour(job.contours[static_cast<std::size_t>(i)])) continue;
        if (static_cast<int>(list.size()) < kOpenContourListCapacity) {
            list.push_back(i);
        } else {
            ++beyond;
        }
    }
    if (more != nullptr) *more = beyond;
    return list;
}

ZoomWindow OpenContourZoomWindow(const Point2d& a, const Point2d& b, double zoomScale) {
    const Point2d low{std::min(a.x, b.x), std::min(a.y, b.y)};
    const Point2d high{std::max(a.x, b.x), std::max(a.y, b.y)};
    const double grow = (zoomScale - 1.0) * kOpenZoomFactor;
    double mx = std::max((high.x - low.x) * grow, kOpenZoomSmallestMargin);
    const double my = std::max((high.y - low.y) * grow, kOpenZoomSmallestMargin);
    mx = std::max(mx, my);
    return {{low.x - mx, low.y - my}, {high.x + mx, high.y + my}};
}

void CheckOpenContours(RecreateContours recreate) {
    CLaserSettings& settings = LaserSettings();
    if (PrepareDrawingJob(settings) != 0) return;
    CuttingJob* job = CurrentJob(settings);
    if (job == nullptr) return;

    int more = 0;
    std::vector<int> list = ListOpenContours(*job, &more);
    bool deleted = false;
    if (list.empty()) {
        PrintLocalized(kNotPresent);
    } else {
        if (more > 0) {
            PrintLocalized(kTooMany, static_cast<int>(list.size()) + more, kOpenContourListCapacity);
        }
        PrintLocalized(kOpenCount, static_cast<int>(list.size()));
        OpenContourBrowser browser(*job, std::move(list));
        deleted = browser.Run();
        // A contour closed by Connect finds its place among the others (inner or outer, its container) and leaves
        // the count of unclosed contours.
        if (browser.Connected() && !deleted) {
            ClassifyContourNesting(*job);
            UpdateStatusLine();
        }
    }
    if (deleted && recreate != nullptr) recreate();
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    WriteJobData(settings);
}
