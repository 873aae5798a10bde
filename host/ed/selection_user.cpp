// The user's selection at the host's "Select objects: " prompt: picks, windows, crossing windows, fences, last,
// previous, all, groups, removing and adding, undoing the last step; entity names and sets from a module's
// arguments. What is chosen is highlighted while the selection lasts.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <unordered_set>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/display.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ed/selection_modes.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/sys/text_case.h"

namespace host::ed::detail {

namespace {

constexpr std::string_view kSelectPrompt = "\nSelect objects: ";
constexpr std::string_view kRemovePrompt = "\nRemove objects: ";
constexpr std::string_view kFirstCornerPrompt = "\nSpecify first corner: ";
constexpr std::string_view kOtherCornerPrompt = "\nSpecify opposite corner: ";
constexpr std::string_view kFirstFencePrompt = "\nSpecify first fence point: ";
constexpr std::string_view kNextFencePrompt = "\nSpecify next fence point or [Undo]: ";
constexpr std::string_view kGroupPrompt = "\nEnter group name: ";
constexpr std::string_view kInvalidSelection =
    "\n*Invalid selection*\nExpects a point or Window/Last/Crossing/ALL/Fence/Group/Add/Remove/Previous/Undo";

constexpr int kErrnoPickMissed = 7;
constexpr int kErrnoNullInput = 52;
// PICKSTYLE bit: picking a member of a selectable group selects the group.
constexpr int kGroupSelection = 1;

// The outcome of one sub-question (a corner, a fence point, a group name).
enum class Step { Answered, Ended, Cancelled, Failed };

class UserSelection {
public:
    explicit UserSelection(const SelectionFilter* filter) : filter_(filter) {}
    ~UserSelection() {
        // Whatever ends the selection, the highlight it put on goes.
        for (db::ObjectId id : highlighted_)
            if (!id.isNull() && !id.isErased()) highlight(id, false);
    }
    UserSelection(const UserSelection&) = delete;
    UserSelection& operator=(const UserSelection&) = delete;

    int run(std::vector<db::ObjectId>& out) {
        while (true) {
            const Answer answer = nextAnswer(removing_ ? kRemovePrompt : kSelectPrompt, WhenArgumentsEnd::EndSelection);
            switch (answer.kind) {
            case Answer::Kind::Cancel:
            case Answer::Kind::EndOfInput: setErrno(0); return db::RTCAN;
            case Answer::Kind::Enter:
            case Answer::Kind::EndOfArguments:
                if (members_.empty()) {
                    setErrno(kErrnoNullInput);
                    return db::RTERROR;
                }
                out = members_;
                setErrno(0);
                return db::RTNORM;
            case Answer::Kind::Value: break;
            }
            const Step step = take(answer.value);
            if (step == Step::Cancelled) {
                setErrno(0);
                return db::RTCAN;
            }
            if (step == Step::Failed) {
                print(kInvalidSelection);
                if (answer.fromArguments) {
                    setCommandResult(db::RTERROR);
                    return db::RTERROR;
                }
                retryFromInput();
            }
        }
    }

private:
    const db::Database* drawing() const { return db::workingDatabase(); }

    bool passes(db::ObjectId id) const { return !filter_ || filter_->matches(id); }

    Step take(const db::ResBuf& v) {
        switch (v.code) {
        case db::RTENAME: {
            const db::ObjectId id = db::nameToId(v.name());
            if (id.isNull() || id.isErased() || !dynamic_cast<const db::Entity*>(id.database()->peek(id)))
                return Step::Failed;
            apply(passes(id) ? std::vector<db::ObjectId>{id} : std::vector<db::ObjectId>{});
            return Step::Answered;
        }
        case db::RTPICKS: {
            std::vector<db::ObjectId> ids;
            for (db::ObjectId id : selectionIds(v.name()))
                if (passes(id)) ids.push_back(id);
            apply(ids);
            return Step::Answered;
        }
        case db::RTPOINT:
        case db::RT3DPOINT: return pickAt(v.point());
        case db::RTSTR: return takeText(v.str());
        default: return Step::Failed;
        }
    }

    Step takeText(std::string_view text) {
        if (const auto point = parsePoint(text, lastPoint())) return pickAt(*point);
        std::string word(trimSpaces(text));
        while (!word.empty() && word.front() == '_') word.erase(0, 1);
        word = sys::upperCase(word);
        const db::Database* db = drawing();
        if (!db) return Step::Failed;
        if (word == "W" || word == "WINDOW" || word == "C" || word == "CROSSING") return box(word[0] == 'C');
        if (word == "F" || word == "FENCE") return fence();
        if (word == "G" || word == "GROUP") return group();
        if (word == "L" || word == "LAST") {
            const auto last = selectLast(*db, filter_);
            apply(last ? std::vector<db::ObjectId>{*last} : std::vector<db::ObjectId>{});
            return Step::Answered;
        }
        if (word == "P" || word == "PREVIOUS") {
            std::vector<db::ObjectId> ids;
            for (db::ObjectId id : previousSelection())
                if (passes(id)) ids.push_back(id);
            apply(ids);
            return Step::Answered;
        }
        if (word == "ALL") {
            apply(selectAllUnfrozen(*db, filter_));
            return Step::Answered;
        }
        if (word == "R" || word == "REMOVE") {
            removing_ = true;
            return Step::Answered;
        }
        if (word == "A" || word == "ADD") {
            removing_ = false;
            return Step::Answered;
        }
        if (word == "U" || word == "UNDO") {
            undo();
            return Step::Answered;
        }
        return Step::Failed;
    }

    Step pickAt(const ge::Point3d& p) {
        const db::Database* db = drawing();
        if (!db) return Step::Failed;
        const auto hit = pickNearest(*db, p.to2d(), pickAperture(*db), filter_);
        if (!hit) {
            setErrno(kErrnoPickMissed);
            print("\n0 found");
            return Step::Answered;
        }
        apply({hit->entity});
        return Step::Answered;
    }

    // One point of a window or fence: RTNORM with the point, Enter, Esc, or a refused answer of a module.
    Step askPoint(std::string_view prompt, const ge::Point3d& relativeTo, ge::Point3d& out) {
        while (true) {
            const Answer a = nextAnswer(prompt);
            switch (a.kind) {
            case Answer::Kind::Cancel:
            case Answer::Kind::EndOfInput:
            case Answer::Kind::EndOfArguments: return Step::Cancelled;
            case Answer::Kind::Enter: return Step::Ended;
            case Answer::Kind::Value: break;
            }
            std::optional<ge::Point3d> p;
            if (a.value.code == db::RTPOINT || a.value.code == db::RT3DPOINT) p = a.value.point();
            else if (a.value.code == db::RTSTR) p = parsePoint(a.value.str(), relativeTo);
            if (p && std::isfinite(p->x) && std::isfinite(p->y)) {
                out = *p;
                setVar("LASTPOINT", db::ResBuf(db::RT3DPOINT, out));
                return Step::Answered;
            }
            print("\nInvalid point.");
            if (a.fromArguments) {
                setCommandResult(db::RTERROR);
                return Step::Cancelled;
            }
            retryFromInput();
        }
    }

    Step box(bool crossing) {
        ge::Point3d a, b;
        Step s = askPoint(kFirstCornerPrompt, lastPoint(), a);
        if (s == Step::Ended) return Step::Answered;
        if (s != Step::Answered) return s;
        s = askPoint(kOtherCornerPrompt, a, b);
        if (s == Step::Ended) return Step::Answered;
        if (s != Step::Answered) return s;
        apply(selectInBox(*drawing(), Box::of(a.to2d(), b.to2d()), crossing, filter_));
        return Step::Answered;
    }

    Step fence() {
        std::vector<ge::Point2d> points;
        ge::Point3d p;
        Step s = askPoint(kFirstFencePrompt, lastPoint(), p);
        if (s == Step::Ended) return Step::Answered;
        if (s != Step::Answered) return s;
        points.push_back(p.to2d());
        // A fence has at most as many points as the input gives; each answer is one of them or ends it.
        while (true) {
            const Answer a = nextAnswer(kNextFencePrompt);
            if (a.kind == Answer::Kind::Cancel || a.kind == Answer::Kind::EndOfInput ||
                a.kind == Answer::Kind::EndOfArguments)
                return Step::Cancelled;
            if (a.kind == Answer::Kind::Enter) break;
            if (a.value.code == db::RTSTR && sys::equalsNoCase(trimSpaces(a.value.str()), "U")) {
                if (points.size() > 1) points.pop_back();
                continue;
            }
            std::optional<ge::Point3d> q;
            if (a.value.code == db::RTPOINT || a.value.code == db::RT3DPOINT) q = a.value.point();
            else if (a.value.code == db::RTSTR) q = parsePoint(a.value.str(), ge::Point3d(points.back(), 0));
            if (!q) {
                print("\nInvalid point.");
                if (a.fromArguments) {
                    setCommandResult(db::RTERROR);
                    return Step::Cancelled;
                }
                retryFromInput();
                continue;
            }
            points.push_back(q->to2d());
        }
        if (points.size() >= 2) apply(selectByFence(*drawing(), points, filter_));
        return Step::Answered;
    }

    Step group() {
        while (true) {
            const Answer a = nextAnswer(kGroupPrompt);
            if (a.kind == Answer::Kind::Enter) return Step::Answered;
            if (a.kind != Answer::Kind::Value) return Step::Cancelled;
            const auto ids = selectGroup(*drawing(), trimSpaces(a.value.str()));
            if (ids) {
                std::vector<db::ObjectId> passing;
                for (db::ObjectId id : *ids)
                    if (passes(id)) passing.push_back(id);
                apply(passing);
                return Step::Answered;
            }
            print("\nGroup \"" + std::string(trimSpaces(a.value.str())) + "\" has not been defined.");
            if (a.fromArguments) {
                setCommandResult(db::RTERROR);
                return Step::Cancelled;
            }
            retryFromInput();
        }
    }

    // Adds (or, while removing, takes out) what a step found, and says how many. Under PICKSTYLE 1 (and 3) an
    // entity of a selectable group brings the whole group.
    void apply(std::vector<db::ObjectId> found) {
        if ((getShort("PICKSTYLE", 1) & kGroupSelection) && drawing()) found = withGroupMembers(*drawing(), found);
        std::vector<db::ObjectId> changed;
        std::size_t duplicates = 0;
        for (db::ObjectId id : found) {
            const bool member = chosen_.count(id) != 0;
            if (removing_) {
                if (!member) continue;
                members_.erase(std::find(members_.begin(), members_.end(), id));
                chosen_.erase(id);
                changed.push_back(id);
                showSelected(id, false);
            } else if (member) {
                ++duplicates;
            } else {
                members_.push_back(id);
                chosen_.insert(id);
                changed.push_back(id);
                showSelected(id, true);
            }
        }
        history_.push_back({removing_, changed});
        const std::string total = ", " + std::to_string(members_.size()) + " total";
        if (removing_) {
            print("\n" + std::to_string(changed.size()) + " removed" + total);
            return;
        }
        if (isQuietCommand()) return;
        std::string message = "\n" + std::to_string(found.size()) + " found";
        if (duplicates) message += " (" + std::to_string(duplicates) + " duplicate)";
        if (members_.size() != changed.size()) message += total;
        print(message);
    }

    void undo() {
        if (history_.empty()) {
            print("\nAll selection steps have been undone.");
            return;
        }
        const auto [wasRemoving, changed] = history_.back();
        history_.pop_back();
        for (db::ObjectId id : changed) {
            if (wasRemoving) {
                members_.push_back(id);
                chosen_.insert(id);
                showSelected(id, true);
            } else {
                members_.erase(std::remove(members_.begin(), members_.end(), id), members_.end());
                chosen_.erase(id);
                showSelected(id, false);
            }
        }
    }

    // Chosen entities show highlighted (HIGHLIGHT 1) until the selection ends.
    void showSelected(db::ObjectId id, bool on) {
        if (getShort("HIGHLIGHT", 1) == 0) return;
        const auto* e = dynamic_cast<const db::Entity*>(id.database()->peek(id));
        if (on && e && !e->isHighlighted()) {
            if (highlight(id, true)) highlighted_.insert(id);
        } else if (!on && highlighted_.erase(id)) {
            highlight(id, false);
        }
    }

    const SelectionFilter* filter_;
    std::vector<db::ObjectId> members_;
    std::unordered_set<db::ObjectId> chosen_;   // the members, so that a large selection grows in linear time
    std::vector<std::pair<bool, std::vector<db::ObjectId>>> history_;
    std::set<db::ObjectId> highlighted_;
    bool removing_ = false;
};

}  // namespace

int selectByUser(const SelectionFilter* filter, std::vector<db::ObjectId>& members) {
    UserSelection selection(filter);
    return selection.run(members);
}

}  // namespace host::ed::detail
