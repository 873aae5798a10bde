// The intersection browser: the crossing pairs of the last contour creation, one at a time on the command line,
// with zoom, choice of a piece and deletion.
#include "laser/contours/intersection_browser.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/display.h"
#include "host/ed/prompts.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectPtr;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::RTSTR;

namespace {

const TwoLanguageText kPairHighlighted = {
    "\n\rThe pair of contours is highlighted [%i/%i] ",
    "\n\rПодсвечена пара контуров [%i/%i] ",
};
const TwoLanguageText kPairMenu = {
    "\n\rSelect [Zoom/Next/Previous/contour 1/contour 2/Delete contour/Exit] ",
    "\n\rВыберите [Zoom-показать/Next-далее/Previous-назад/1-контур 1/2-контур 2/Delete-удалить контур/Exit-выход] ",
};
const TwoLanguageText kInvalidSymbol = {
    "Invalid symbol\n\nEnter one of the symbol - Z,N,P,1,2,D,E",
    "Неверный символ\n\nВведите один из символов - Z,N,P,1,2,D,E",
};
const TwoLanguageText kChooseFirst = {
    "Choose a contour 1 or 2 and repeat the command 'Delete'",
    "Выберите контур 1 или 2 и повторите команду 'Delete'",
};
const TwoLanguageText kNoIntersections = {
    "\n\rIntersected contours are not present.\n\r",
    "\n\rПересекающихся контуров нет.\n\r",
};

// Longest answer read at the prompt; only its first character counts.
constexpr std::size_t kAnswerChars = 20;
constexpr double kZoomInFactor = 0.25;
constexpr double kZoomOutFactor = 4.0;

// Which piece of the pair the user has chosen.
enum class Chosen { None, First, Second };

void CountChangeAndWriteJob(CLaserSettings& settings) {
    if (DrawingSlot* slot = CurrentSlot(settings)) ++slot->changeCounter;
    WriteJobData(settings);
}

class IntersectionBrowser {
public:
    IntersectionBrowser(IntersectionPairTable& table, const CuttingJob* job) : table_(table) {
        unit_ = job ? job->unit : 0;
        height_ = kZoomStartLeadIns * (job ? job->leadInSpan : LaserSettings().LeadInSpan);
    }

    // Answers true when a piece was deleted.
    bool Run() {
        while (true) {
            if (!OpenPair()) return deleted_;  // every pair went stale
            chosen_ = Chosen::None;
            HighlightBoth();
            const Step step = AskUntilDone();
            if (step == Step::End) return deleted_;
        }
    }

private:
    enum class Step { End, OpenAgain };

    int Count() const { return static_cast<int>(table_.pairs.size()); }
    IntersectionPair& Current() { return table_.pairs[static_cast<std::size_t>(position_)]; }

    // Removes the pair at `at`: the last pair moves into its place.
    void RemoveAt(int at) {
        table_.pairs[static_cast<std::size_t>(at)] = table_.pairs.back();
        table_.pairs.pop_back();
    }

    // Opens both pieces of the pair at the position; pairs of a piece that cannot be opened are dropped. Answers
    // false when no pair is left.
    bool OpenPair() {
        while (!table_.pairs.empty()) {
            const IntersectionPair& pair = Current();
            first_.open(host::db::nameToId(pair.firstName), OpenMode::Write);
            second_.open(host::db::nameToId(pair.secondName), OpenMode::Write);
            if (first_ && second_) return true;
            const host::db::EntityName stale = first_ ? pair.secondName : pair.firstName;
            first_.close();
            second_.close();
            for (int k = 0; k < Count();) {
                const IntersectionPair& p = table_.pairs[static_cast<std::size_t>(k)];
                if (p.firstName == stale || p.secondName == stale) {
                    RemoveAt(k);
                } else {
                    ++k;
                }
            }
            position_ = std::min(position_, Count() - 1);
            position_ = std::max(position_, 0);
        }
        return false;
    }

    void HighlightBoth() {
        host::ed::highlight(first_.id(), true);
        host::ed::highlight(second_.id(), true);
    }
    void HighlightOnly(Chosen which) {
        host::ed::highlight(first_.id(), which == Chosen::First);
        host::ed::highlight(second_.id(), which == Chosen::Second);
    }
    void CloseBoth() {
        if (first_) host::ed::highlight(first_.id(), false);
        if (second_) host::ed::highlight(second_.id(), false);
        first_.close();
        second_.close();
    }

    void ZoomToCrossing(bool regen) const {
        const IntersectionPair& pair = table_.pairs[static_cast<std::size_t>(position_)];
        host::ed::command({ResBuf(RTSTR, "_.zoom"), ResBuf(RTSTR, "_C"),
                           ResBuf(RTSTR, host::sys::formatC("%f,%f", pair.crossingX, pair.crossingY)),
                           ResBuf(RTSTR, host::sys::formatC("%f", height_))});
        if (regen) host::ed::command({ResBuf(RTSTR, "_.regen")});
    }

    // One answer: its first character in upper case, '\0' for an empty answer; nullopt when cancelled.
    static std::optional<char> ReadKey() {
        std::string text;
        const int status = host::ed::getString(true, "", text, kAnswerChars);
        if (status != host::db::RTNORM && status != host::db::RTINPUTTRUNCATED) return std::nullopt;
        if (text.empty()) return '\0';
        return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }

    Step AskUntilDone() {
        while (true) {
            PrintLocalized(kPairHighlighted, position_ + 1, Count());
            PrintLocalized(kPairMenu);
            const std::optional<char> key = ReadKey();
            if (!key) {
                CloseBoth();
                return Step::End;
            }
            bool keepSingle = false;
            switch (*key) {
                case 'Z': {
                    const bool inches = unit_ == 1;
                    height_ = kZoomEndFactor * std::clamp(Current().nearestEndDistance,
                                                          inches ? kZoomMinInches : kZoomMinMillimetres,
                                                          inches ? kZoomMaxInches : kZoomMaxMillimetres);
                    ZoomToCrossing(true);
                    keepSingle = chosen_ != Chosen::None;
                    break;
                }
                case '+':
                    height_ *= kZoomInFactor;
                    ZoomToCrossing(false);
                    break;
                case '-':
                    height_ *= kZoomOutFactor;
                    ZoomToCrossing(false);
                    break;
                case '1':
                case '2':
                    chosen_ = *key == '1' ? Chosen::First : Chosen::Second;
                    HighlightOnly(chosen_);
                    keepSingle = true;
                    break;
                case 'E':
                    CloseBoth();
                    return Step::End;
                case 'N':
                case 'P':
                    CloseBoth();
                    position_ = *key == 'N' ? (position_ + 1) % Count() : (position_ + Count() - 1) % Count();
                    return Step::OpenAgain;
                case 'D':
                    if (chosen_ != Chosen::None) return Delete();
                    HighlightBoth();
                    host::ui::messageBox(Localized(kChooseFirst), "", host::ui::MB_OK);
                    break;
                default:
                    host::ui::messageBox(Localized(kInvalidSymbol), "", host::ui::MB_OK);
                    break;
            }
            if (!keepSingle) HighlightBoth();
        }
    }

    Step Delete() {
        deleted_ = true;
        const std::uint32_t erasedIndex = chosen_ == Chosen::First ? Current().firstIndex : Current().secondIndex;
        (chosen_ == Chosen::First ? first_ : second_)->erase();
        CloseBoth();

        // The current pair goes first; then every other pair of the erased piece.
        if (position_ == Count() - 1) {
            table_.pairs.pop_back();
            position_ = Count() - 1;
        } else {
            RemoveAt(position_);
        }
        for (int k = 0; k < Count();) {
            const IntersectionPair& p = table_.pairs[static_cast<std::size_t>(k)];
            if (p.firstIndex != erasedIndex && p.secondIndex != erasedIndex) {
                ++k;
                continue;
            }
            RemoveAt(k);
            if (k < position_) position_ = k;
        }
        position_ = std::max(std::min(position_, Count() - 1), 0);
        if (table_.pairs.empty()) {
            PrintLocalized(kNoIntersections);
            return Step::End;
        }
        return Step::OpenAgain;
    }

    IntersectionPairTable& table_;
    int unit_ = 0;
    double height_ = 0.0;
    int position_ = 0;
    bool deleted_ = false;
    Chosen chosen_ = Chosen::None;
    ObjectPtr<host::db::Entity> first_, second_;
};

// The pairs of the table when they belong to the working drawing, else 0.
int PairsOfWorkingDrawing(const IntersectionPairTable& table) {
    const host::db::Database* db = host::db::workingDatabase();
    return db && table.drawingSerial == db->serial() ? static_cast<int>(table.pairs.size()) : 0;
}

}  // namespace

int CheckLineIntersections(int mode, RecreateContours recreate) {
    IntersectionPairTable& table = IntersectionPairs();
    if (mode != kIntersectionCommandMode) return CheckLineIntersectionsOnCreation(ContourEntities(), table);

    CLaserSettings& settings = LaserSettings();
    if (PrepareDrawingJob(settings) != 0) return static_cast<int>(table.pairs.size());
    const host::db::Database* db = host::db::workingDatabase();
    const bool ours = db && table.drawingSerial == db->serial();
    if (table.pairs.empty() || !ours) {
        // Pairs found in another drawing are left to that drawing; this one is checked afresh.
        if (recreate) recreate();
    } else {
        IntersectionBrowser browser(table, CurrentJob(settings));
        const bool deleted = browser.Run();
        if ((deleted || table.pairs.empty()) && recreate) recreate();
    }
    CountChangeAndWriteJob(settings);
    return PairsOfWorkingDrawing(table);
}
