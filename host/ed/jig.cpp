// The drag loop of jigs and the acquiring of samples and picks from the run's input.
#include "host/ed/jig.h"

#include <algorithm>
#include <cmath>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/display.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/prompts.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

// The word that marks a cursor sample: "drag 10,5".
constexpr std::string_view kSampleWord = "drag";

enum AcquireKind { kPointKind = 0, kAngleKind = 1, kDistKind = 2 };

constexpr std::string_view kNeedsPoint = "Invalid point";
constexpr std::string_view kNeedsAngle = "Requires an angle or a point";
constexpr std::string_view kNeedsDistance = "Requires a distance or a point";
constexpr std::string_view kNeeds2d = "Invalid point: two coordinates only";
constexpr std::string_view kNotZero = "Value must not be zero";
constexpr std::string_view kNotNegative = "Value must not be negative";

// "drag x,y": answers the point text after the word, or nullopt when the text is not a sample.
std::optional<std::string_view> sampleText(std::string_view text) {
    if (text.size() <= kSampleWord.size() || !sys::equalsNoCase(text.substr(0, kSampleWord.size()), kSampleWord))
        return std::nullopt;
    const char after = text[kSampleWord.size()];
    if (after != ' ' && after != '\t') return std::nullopt;
    return detail::trimSpaces(text.substr(kSampleWord.size()));
}

// The position (1-based) of a keyword in the list, by its global form.
int keywordNumber(const detail::Keywords& k, const std::string& global) {
    const std::size_t n = std::max(k.local.size(), k.global.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& g = i < k.global.size() ? k.global[i] : k.local[i];
        if (g == global) return int(i) + 1;
    }
    return 1;
}

}  // namespace

struct Jig::Acquired {
    ge::Point3d point;
    double number = 0.0;
};

Jig::DragStatus Jig::acquire(Acquired& out, const ge::Point3d* base, int kind) {
    const detail::Keywords keywords = detail::parseKeywords(keywords_);
    const ge::Point3d from = base ? *base : lastPoint();
    while (true) {
        // The prompt is shown for every answer, so each sample and pick reads as a line of its own.
        const Answer a = nextAnswer(prompt_);
        switch (a.kind) {
        case Answer::Kind::Cancel:
        case Answer::Kind::EndOfInput:
        case Answer::Kind::EndOfArguments: input_ = Input::Cancel; return kCancel;
        case Answer::Kind::Enter: input_ = Input::Enter; return kNull;
        case Answer::Kind::Value: break;
        }
        const db::ResBuf& v = a.value;
        bool sample = false;
        std::optional<ge::Point3d> point;
        std::optional<double> number;
        std::string_view complaint =
            kind == kAngleKind ? kNeedsAngle : kind == kDistKind ? kNeedsDistance : kNeedsPoint;
        if (v.code == db::RTPOINT || v.code == db::RT3DPOINT) {
            point = v.point();
            if (v.code == db::RTPOINT) point->z = 0.0;
        } else if ((v.code == db::RTREAL || v.code == db::RTSHORT || v.code == db::RTLONG) && kind != kPointKind) {
            number = v.code == db::RTREAL ? v.real() : double(v.integer());
        } else if (v.code == db::RTSTR) {
            std::string_view text = detail::trimSpaces(v.str());
            if (const auto rest = sampleText(text)) {
                sample = true;
                text = *rest;
            }
            point = detail::parsePoint(text, from);
            if (point && !(controls_ & kAccept3dCoordinates) && std::count(text.begin(), text.end(), ',') == 2) {
                point.reset();
                complaint = kNeeds2d;
            } else if (!point && kind != kPointKind && !sample) {
                number = detail::parseNumber(text);
            }
            if (!point && !number && !sample && complaint != kNeeds2d) {
                if (const auto keyword = keywords.match(text)) {
                    input_ = Input::Keyword;
                    lastText_ = *keyword;
                    return DragStatus(keywordNumber(keywords, *keyword));
                }
                if (controls_ & kAcceptOtherInputString) {
                    input_ = Input::Other;
                    lastText_ = std::string(text);
                    return kOther;
                }
            }
        }
        if (number) {
            if ((controls_ & kNoZeroResponseAccepted) && *number == 0.0) complaint = kNotZero;
            else if ((controls_ & kNoNegativeResponseAccepted) && *number < 0.0) complaint = kNotNegative;
            else if (std::isfinite(*number)) {
                out.number = kind == kAngleKind ? ge::normalizeAngle(ge::degreesToRadians(*number)) : *number;
                input_ = Input::Pick;
                return kNormal;
            }
        }
        if (point && std::isfinite(point->x) && std::isfinite(point->y) && std::isfinite(point->z)) {
            out.point = *point;
            if (kind == kAngleKind) out.number = ge::angleFromTo(from, *point);
            if (kind == kDistKind) out.number = from.distanceTo(*point);
            input_ = sample ? Input::Sample : Input::Pick;
            if (!sample && !(controls_ & kDontUpdateLastPoint)) setVar("LASTPOINT", db::ResBuf(db::RT3DPOINT, *point));
            return kNormal;
        }
        print("\n" + std::string(complaint) + ".");
        if (a.fromArguments) {
            setCommandResult(db::RTERROR);
            input_ = Input::Cancel;
            return kCancel;
        }
        retryFromInput();
    }
}

Jig::DragStatus Jig::drag() { return drag(DragStyle{}); }

Jig::DragStatus Jig::drag(const DragStyle& style) {
    style_ = style;
    // Each round reads one answer, so the input bounds the loop; its end is Esc.
    while (true) {
        input_ = Input::None;
        const DragStatus status = sampler();
        const bool changed = status == kNormal;
        switch (input_) {
        case Input::None: return status;  // a sampler that acquired nothing ends the drag with its status
        case Input::Sample:
            if (changed && update())
                if (db::Entity* e = entity(); e && e->database()) redrawDraggedEntity(e->objectId());
            continue;
        case Input::Pick:
            if (status == kNoChange) continue;
            if (changed && update())
                if (db::Entity* e = entity(); e && e->database()) redrawDraggedEntity(e->objectId());
            return status;
        case Input::Cancel: return kCancel;
        case Input::Enter:
        case Input::Keyword:
        case Input::Other: return status;
        }
    }
}

Jig::DragStatus Jig::acquirePoint(ge::Point3d& point) {
    Acquired a;
    const DragStatus s = acquire(a, nullptr, kPointKind);
    if (s == kNormal) point = a.point;
    return s;
}

Jig::DragStatus Jig::acquirePoint(ge::Point3d& point, const ge::Point3d& base) {
    Acquired a;
    const DragStatus s = acquire(a, &base, kPointKind);
    if (s == kNormal) point = a.point;
    return s;
}

Jig::DragStatus Jig::acquireAngle(double& angle) {
    Acquired a;
    const DragStatus s = acquire(a, nullptr, kAngleKind);
    if (s == kNormal) angle = a.number;
    return s;
}

Jig::DragStatus Jig::acquireAngle(double& angle, const ge::Point3d& base) {
    Acquired a;
    const DragStatus s = acquire(a, &base, kAngleKind);
    if (s == kNormal) angle = a.number;
    return s;
}

Jig::DragStatus Jig::acquireDist(double& distance) {
    Acquired a;
    const DragStatus s = acquire(a, nullptr, kDistKind);
    if (s == kNormal) distance = a.number;
    return s;
}

Jig::DragStatus Jig::acquireDist(double& distance, const ge::Point3d& base) {
    Acquired a;
    const DragStatus s = acquire(a, &base, kDistKind);
    if (s == kNormal) distance = a.number;
    return s;
}

db::Status Jig::append(db::ObjectId* id) {
    const db::Entity* e = entity();
    db::Database* db = db::workingDatabase();
    if (!e || !db) return db::Status::NullObjectId;
    if (e->database()) return db::Status::AlreadyInDb;
    std::unique_ptr<db::DbObject> copy = e->clone();
    auto* asEntity = dynamic_cast<db::Entity*>(copy.get());
    if (!asEntity) return db::Status::WrongObjectType;
    copy.release();
    std::unique_ptr<db::Entity> owned(asEntity);
    db::ObjectPtr<db::BlockTableRecord> space(db->modelSpaceId(), db::OpenMode::Write);
    if (!space) return space.status();
    return space->appendEntity(std::move(owned), id);
}

}  // namespace host::ed
