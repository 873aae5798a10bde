// The node browser: the pieces meeting at one node, highlighted, zoomed to and deleted on the command line.
#include "laser/contours/node_browser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "cadlib/entity_access.h"
#include "cadlib/messages.h"
#include "cadlib/numbers.h"
#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/settings/laser_settings.h"

using host::db::ResBuf;
using host::db::RTSTR;
using host::ge::Point3d;

namespace {

const TwoLanguageText kHighlighted = {"\n\rHighlighted objects - %i", "\n\rПодсвечено объектов - %i"};
const TwoLanguageText kTopMenu = {"\n\rSelect [Zoom/Next/Modify/Exit] ",
                                  "\n\rВыберите [Zoom-показать/Next-далее/Modify-изменить/Exit-выход] "};
const TwoLanguageText kModifyMenu = {
    "\n\rSelect [Zoom/Next/Previous/Delete/Exit] <%i/%i>",
    "\n\rВыберите [Zoom-показать/Next-далее/Previous-назад/Delete-удалить/Exit-выход] <%i/%i>",
};
const TwoLanguageText kInvalidTop = {"Invalid symbol\n\nEnter one of the symbol - Z,N,M,E",
                                     "Неверный символ\n\nВведите один из символов - Z,N,M,E"};
const TwoLanguageText kInvalidModify = {"Invalid symbol\n\nEnter one of the symbol - Z,N,P,D,E",
                                        "Неверный символ\n\nВведите один из символов - Z,N,P,D,E"};
const TwoLanguageText kEraseFailed = {"\n\rThe object could not be deleted (its layer may be locked).",
                                      "\n\rОбъект не удалось удалить (возможно, его слой заблокирован)."};

// Longest answer read at the browser's prompts; only its first character counts.
constexpr std::size_t kAnswerChars = 50;
// The zoom window's half size in units of the distance to the nearest far end, before the zoom scale.
constexpr double kWindowFactor = 8.0;
constexpr double kSmallestHalfSize = 0.00001;

// One answer: its first character in upper case, '\0' for an empty answer; nullopt when the prompt was cancelled.
std::optional<char> ReadKey() {
    std::string text;
    const int status = host::ed::getString(true, "", text, kAnswerChars);
    if (status != host::db::RTNORM && status != host::db::RTINPUTTRUNCATED) return std::nullopt;
    if (text.empty()) return '\0';
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

void InvalidSymbol(const TwoLanguageText& text) { host::ui::messageBox(Localized(text), "", host::ui::MB_OK); }

class NodeBrowser {
public:
    NodeBrowser(std::uint32_t node, ContourEntityStage& stage) : node_(node), stage_(stage) {}

    int Run(int& exitCode) {
        exitCode = kNodeBrowserCancelled;
        while (true) {
            ComputeWindow();
            const Outcome top = TopMenu(exitCode);
            if (top == Outcome::End) break;
            // Modify: the pieces one by one.
            if (ModifyMenu(exitCode) == Outcome::End) break;
        }
        for (int i : stage_.NodeMembers) {
            if (Piece(i).type != kEntityDropped) UnhighlightEntity(Piece(i).entityName);
        }
        return Count();
    }

private:
    enum class Outcome { End, Modify, Back };

    ContourEntity& Piece(int index) { return stage_.ContourEntityTable[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(stage_.NodeMembers.size()); }

    // The window around the node, sized by the nearest far end of a listed piece; every listed piece lit.
    void ComputeWindow() {
        if (stage_.NodeMembers.empty()) return;
        const ContourEntity& first = Piece(stage_.NodeMembers.front());
        const bool firstStarts = first.startNode == node_;
        centre_ = firstStarts ? first.startPoint : first.endPoint;
        Point3d far = firstStarts ? first.endPoint : first.startPoint;
        double d = Distance2d(centre_.x, centre_.y, far.x, far.y);
        for (int i : stage_.NodeMembers) {
            const ContourEntity& e = Piece(i);
            if (e.type == kEntityDropped) continue;
            HighlightEntity(e.entityName);
            const Point3d f = e.startNode == node_ ? e.endPoint : e.startPoint;
            const double fd = Distance2d(f.x, f.y, centre_.x, centre_.y);
            if (fd < d) {
                d = fd;
                far = f;
            }
        }
        const double scale = LaserSettings().CheckZoomScale - 1.0;
        double mx = std::max(scale * std::fabs(centre_.x - far.x) * kWindowFactor, kSmallestHalfSize);
        halfY_ = std::max(scale * std::fabs(centre_.y - far.y) * kWindowFactor, kSmallestHalfSize);
        halfX_ = std::max(mx, halfY_);
    }

    void Zoom() const {
        host::ed::command({ResBuf(RTSTR, "_.zoom"),
                           ResBuf(RTSTR, host::sys::formatC("%f,%f", centre_.x - halfX_, centre_.y - halfY_)),
                           ResBuf(RTSTR, host::sys::formatC("%f,%f", centre_.x + halfX_, centre_.y + halfY_))});
    }

    Outcome TopMenu(int& exitCode) {
        while (true) {
            PrintLocalized(kHighlighted, Count());
            PrintLocalized(kTopMenu);
            const std::optional<char> key = ReadKey();
            if (!key) {
                exitCode = kNodeBrowserCancelled;
                return Outcome::End;
            }
            switch (*key) {
                case 'Z': Zoom(); break;
                case 'E': exitCode = kNodeBrowserExit; return Outcome::End;
                case 'N': exitCode = kNodeBrowserNext; return Outcome::End;
                case 'M':
                    for (int i : stage_.NodeMembers) UnhighlightEntity(Piece(i).entityName);
                    current_ = 0;
                    return Outcome::Modify;
                default: InvalidSymbol(kInvalidTop); break;
            }
        }
    }

    // The first listed piece from `current_` on that is not dropped, wrapping round; false when every one is.
    bool MoveToLivePiece() {
        const int n = Count();
        for (int step = 0; step < n; ++step) {
            const int at = (current_ + step) % n;
            if (Piece(stage_.NodeMembers[static_cast<std::size_t>(at)]).type != kEntityDropped) {
                current_ = at;
                return true;
            }
        }
        return false;
    }

    Outcome ModifyMenu(int& exitCode) {
        while (true) {
            if (!MoveToLivePiece()) {
                // Every listed piece is dropped (their erases failed): nothing is left to show here.
                exitCode = kNodeBrowserReduced;
                return Outcome::End;
            }
            const ContourEntity& piece = Piece(stage_.NodeMembers[static_cast<std::size_t>(current_)]);
            HighlightEntity(piece.entityName);
            while (true) {
                PrintLocalized(kModifyMenu, current_ + 1, Count());
                const std::optional<char> key = ReadKey();
                if (!key) {
                    exitCode = kNodeBrowserCancelled;
                    return Outcome::End;
                }
                if (*key == 'Z') {
                    Zoom();
                    continue;
                }
                if (*key == 'N' || *key == 'P') {
                    UnhighlightEntity(piece.entityName);
                    current_ = *key == 'N' ? (current_ + 1) % Count() : (current_ + Count() - 1) % Count();
                    break;
                }
                if (*key == 'E') {
                    UnhighlightEntity(piece.entityName);
                    return Outcome::Back;
                }
                if (*key == 'D') {
                    if (Delete()) {
                        exitCode = kNodeBrowserReduced;
                        return Outcome::End;
                    }
                    break;
                }
                InvalidSymbol(kInvalidModify);
            }
        }
    }

    // Deletes the current piece. Answers true when two pieces or fewer are left.
    bool Delete() {
        const int index = stage_.NodeMembers[static_cast<std::size_t>(current_)];
        ContourEntity& piece = Piece(index);
        UnhighlightEntity(piece.entityName);
        const bool erased = EraseListedPiece(piece);
        piece.type = kEntityDropped;
        piece.startNode = piece.endNode = 0;
        if (!erased) {
            PrintLocalized(kEraseFailed);
            current_ = (current_ + 1) % Count();
            return false;
        }
        if (current_ == Count() - 1) {
            stage_.NodeMembers.pop_back();
            current_ = std::max(current_ - 1, 0);
        } else {
            stage_.NodeMembers[static_cast<std::size_t>(current_)] = stage_.NodeMembers.back();
            stage_.NodeMembers.pop_back();
        }
        return Count() <= 2;
    }

    static bool EraseListedPiece(const ContourEntity& piece) {
        host::db::ObjectPtr<host::db::Entity> entity(host::db::nameToId(piece.entityName), host::db::OpenMode::Write);
        if (!entity) return false;
        return entity->erase() == host::db::Status::Ok;
    }

    std::uint32_t node_;
    ContourEntityStage& stage_;
    Point3d centre_;
    double halfX_ = kSmallestHalfSize, halfY_ = kSmallestHalfSize;
    int current_ = 0;
};

}  // namespace

int BrowseNodeObjects(std::uint32_t node, int& exitCode, ContourEntityStage& stage) {
    return NodeBrowser(node, stage).Run(exitCode);
}
