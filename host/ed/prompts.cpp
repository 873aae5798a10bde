// Prompts for strings, numbers, distances, angles, points and keywords: one loop that asks, checks the answer
// against the prompt's kind and initGet's flags, and complains and asks again (or fails, for a module's argument).
#include "host/ed/prompts.h"

#include <cmath>
#include <functional>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/prompt_parse.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/ge/angle.h"
#include "host/sys/encoding.h"
#include "host/sys/number_text.h"

namespace host::ed {

namespace {

using detail::PromptSettings;

// The host's complaints about answers it cannot take.
constexpr std::string_view kNeedsInteger = "Requires an integer value";
constexpr std::string_view kIntegerRange = "Requires an integer between -32768 and 32767";
constexpr std::string_view kNeedsNumber = "Requires a number";
constexpr std::string_view kNeedsDistance = "Requires a distance or two points";
constexpr std::string_view kNeedsAngle = "Requires an angle or a second point";
constexpr std::string_view kNeedsPoint = "Invalid point";
constexpr std::string_view kNeedsKeyword = "Invalid option keyword";
constexpr std::string_view kNeedsText = "Requires a text";
constexpr std::string_view kNeedsAnswer = "An answer is required";
constexpr std::string_view kNotZero = "Value must not be zero";
constexpr std::string_view kNotNegative = "Value must not be negative";
constexpr std::string_view kPositive = "Value must be positive and not zero";

constexpr std::string_view kSecondPointPrompt = "\nSpecify second point: ";

// How one answer was taken.
struct Verdict {
    enum class Kind { Taken, Keyword, Refused } kind = Kind::Refused;
    std::string complaint;  // Refused: what the host prints (without "\n" and the final ".")
    int status = db::RTNORM;  // Taken: the prompt's answer (RTNORM, or RTINPUTTRUNCATED for a cut string)

    static Verdict taken(int status = db::RTNORM) { return {Kind::Taken, {}, status}; }
    static Verdict refused(std::string_view why) { return {Kind::Refused, std::string(why), db::RTNORM}; }
};

// Asks until an answer is taken. `take` looks at a Value answer; keywords (and RSG_OTHER text) are tried on text
// answers it refuses. Enter answers RTNONE (`enterAnswer` overrides), refused under RSG_NONULL.
int ask(std::string_view prompt, const PromptSettings& settings, const std::function<Verdict(const db::ResBuf&)>& take,
        int enterAnswer = db::RTNONE) {
    while (true) {
        const Answer answer = nextAnswer(prompt);
        Verdict verdict;
        switch (answer.kind) {
        case Answer::Kind::Cancel:
        case Answer::Kind::EndOfInput:
        case Answer::Kind::EndOfArguments: return db::RTCAN;
        case Answer::Kind::Enter:
            if (!(settings.flags & RSG_NONULL) || enterAnswer != db::RTNONE) return enterAnswer;
            verdict = Verdict::refused(kNeedsAnswer);
            break;
        case Answer::Kind::Value:
            verdict = take(answer.value);
            if (verdict.kind == Verdict::Kind::Taken) return verdict.status;
            if (answer.value.code == db::RTSTR) {
                if (const auto keyword = settings.keywords.match(answer.value.str())) {
                    detail::setLastKeyword(*keyword);
                    return db::RTKWORD;
                }
                if (settings.flags & RSG_OTHER) {
                    detail::setLastKeyword(answer.value.str());
                    return db::RTKWORD;
                }
                if (!settings.keywords.empty() && verdict.complaint != kNeedsKeyword)
                    verdict.complaint += " or option keyword";
            }
            break;
        }
        print("\n" + verdict.complaint + ".");
        // The prompt is asked again on a line of its own: a prompt that does not begin one would follow the
        // complaint, and so would the next answer's echo ("Requires an integer value.ALL").
        if (!answer.fromArguments && !prompt.starts_with('\n')) print("\n");
        if (answer.fromArguments) {
            setCommandResult(db::RTERROR);
            return db::RTERROR;
        }
        retryFromInput();
    }
}

bool isInteger(const db::ResBuf& v) { return v.code == db::RTSHORT || v.code == db::RTLONG || v.code == db::RTINT64; }
bool isReal(const db::ResBuf& v) { return v.code == db::RTREAL || v.code == db::RTANG || v.code == db::RTORINT; }
bool isPoint(const db::ResBuf& v) { return v.code == db::RTPOINT || v.code == db::RT3DPOINT; }

// The number an answer gives, typed or from a module; nullopt when it is no number.
std::optional<double> numberOf(const db::ResBuf& v) {
    if (isInteger(v)) return double(v.integer());
    if (isReal(v)) return std::isfinite(v.real()) ? std::optional<double>(v.real()) : std::nullopt;
    if (v.code == db::RTSTR) return detail::parseNumber(v.str());
    return std::nullopt;
}

// The point an answer gives (relative input from `relativeTo`); nullopt when it is no point.
std::optional<ge::Point3d> pointOf(const db::ResBuf& v, const ge::Point3d& relativeTo) {
    if (isPoint(v)) {
        ge::Point3d p = v.point();
        if (v.code == db::RTPOINT) p.z = 0.0;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
        return p;
    }
    if (v.code == db::RTSTR) return detail::parsePoint(v.str(), relativeTo);
    return std::nullopt;
}

// The sign checks of RSG_NOZERO and RSG_NONEG, as a complaint ("" when the value passes).
std::string_view signComplaint(double value, int flags) {
    const bool noZero = flags & RSG_NOZERO, noNeg = flags & RSG_NONEG;
    if (noZero && noNeg && value <= 0) return kPositive;
    if (noZero && value == 0) return kNotZero;
    if (noNeg && value < 0) return kNotNegative;
    return {};
}

void rememberPoint(const ge::Point3d& p) { setVar("LASTPOINT", db::ResBuf(db::RT3DPOINT, p)); }

// The second point of a distance or angle given by two points, asked after the first one.
int askSecondPoint(const PromptSettings& settings, const ge::Point3d& first, ge::Point3d& out) {
    PromptSettings second;
    second.flags = settings.flags & RSG_NONULL;
    return ask(kSecondPointPrompt, second, [&](const db::ResBuf& v) {
        const auto p = pointOf(v, first);
        if (!p) return Verdict::refused(kNeedsPoint);
        out = *p;
        rememberPoint(out);
        return Verdict::taken();
    });
}

// Distances and angles read a point answer as the second point from `base`; without a base it is the first of
// two points and the second is asked. `fromPoints` turns the two points into the answer.
int askDistanceOrAngle(const ge::Point3d* base, std::string_view prompt, std::string_view complaint,
                       const std::function<std::optional<double>(double)>& fromNumber,
                       const std::function<double(const ge::Point3d&, const ge::Point3d&, int)>& fromPoints,
                       double& out) {
    const PromptSettings settings = detail::takePromptSettings();
    std::optional<ge::Point3d> firstPoint;
    const ge::Point3d relativeTo = base ? *base : lastPoint();
    const int status = ask(prompt, settings, [&](const db::ResBuf& v) {
        if (const auto n = numberOf(v)) {
            const auto value = fromNumber(*n);
            if (!value) return Verdict::refused(complaint);
            if (const std::string_view why = signComplaint(*value, settings.flags); !why.empty())
                return Verdict::refused(why);
            out = *value;
            return Verdict::taken();
        }
        const auto p = pointOf(v, relativeTo);
        if (!p) return Verdict::refused(complaint);
        rememberPoint(*p);
        if (!base) {
            firstPoint = p;
            return Verdict::taken();
        }
        out = fromPoints(*base, *p, settings.flags);
        if (const std::string_view why = signComplaint(out, settings.flags); !why.empty())
            return Verdict::refused(why);
        return Verdict::taken();
    });
    if (status != db::RTNORM || !firstPoint) return status;
    ge::Point3d second;
    const int secondStatus = askSecondPoint(settings, *firstPoint, second);
    if (secondStatus != db::RTNORM) return secondStatus;
    out = fromPoints(*firstPoint, second, settings.flags);
    return db::RTNORM;
}

}  // namespace

int initGet(int flags, std::string_view keywords) {
    if (flags < 0) return db::RTERROR;
    detail::setPromptSettings({flags, detail::parseKeywords(keywords)});
    return db::RTNORM;
}

int getInput(std::string& keyword) {
    keyword = detail::lastKeyword();
    return db::RTNORM;
}

int getString(bool allowSpaces, std::string_view prompt, std::string& out, std::size_t maxChars) {
    const PromptSettings settings = detail::takePromptSettings();
    out.clear();
    // Enter is an empty text, as a host answers it (a caller tells "empty" from "cancelled" by the status).
    return ask(
        prompt, {settings.flags & ~RSG_NONULL, {}},
        [&](const db::ResBuf& v) {
            if (v.code != db::RTSTR) return Verdict::refused(kNeedsText);
            std::string_view text = v.str();
            // Without spaces a space ends the answer, as Enter does.
            if (!allowSpaces) text = text.substr(0, text.find(' '));
            const std::string_view kept = sys::utf8Prefix(text, maxChars);
            out.assign(kept);
            return Verdict::taken(kept.size() < text.size() ? db::RTINPUTTRUNCATED : db::RTNORM);
        },
        db::RTNORM);
}

int getInt(std::string_view prompt, int& out) {
    const PromptSettings settings = detail::takePromptSettings();
    return ask(prompt, settings, [&](const db::ResBuf& v) {
        std::optional<double> n;
        if (isInteger(v)) n = double(v.integer());
        else if (v.code == db::RTSTR) {
            const auto parsed = sys::parseInteger(detail::trimSpaces(v.str()));
            if (parsed.status == sys::ParseStatus::OutOfRange) return Verdict::refused(kIntegerRange);
            if (parsed.ok()) n = double(parsed.value);
        }
        if (!n) return Verdict::refused(kNeedsInteger);
        if (*n < -32768 || *n > 32767) return Verdict::refused(kIntegerRange);
        if (const std::string_view why = signComplaint(*n, settings.flags); !why.empty()) return Verdict::refused(why);
        out = int(*n);
        return Verdict::taken();
    });
}

int getReal(std::string_view prompt, double& out) {
    const PromptSettings settings = detail::takePromptSettings();
    return ask(prompt, settings, [&](const db::ResBuf& v) {
        const auto n = numberOf(v);
        if (!n) return Verdict::refused(kNeedsNumber);
        if (const std::string_view why = signComplaint(*n, settings.flags); !why.empty()) return Verdict::refused(why);
        out = *n;
        return Verdict::taken();
    });
}

int getDist(const ge::Point3d* base, std::string_view prompt, double& out) {
    return askDistanceOrAngle(
        base, prompt, kNeedsDistance, [](double n) { return std::optional<double>(n); },
        [](const ge::Point3d& a, const ge::Point3d& b, int flags) {
            return (flags & RSG_2D) ? a.to2d().distanceTo(b.to2d()) : a.distanceTo(b);
        },
        out);
}

int getAngle(const ge::Point3d* base, std::string_view prompt, double& out) {
    return askDistanceOrAngle(
        base, prompt, kNeedsAngle,
        [](double degrees) { return std::optional<double>(ge::normalizeAngle(ge::degreesToRadians(degrees))); },
        [](const ge::Point3d& a, const ge::Point3d& b, int) { return ge::angleFromTo(a, b); }, out);
}

// Angles are measured from +x counter-clockwise (ANGBASE is 0, ANGDIR 0), so an orientation is an angle.
int getOrient(const ge::Point3d* base, std::string_view prompt, double& out) { return getAngle(base, prompt, out); }

int getPoint(const ge::Point3d* base, std::string_view prompt, ge::Point3d& out) {
    const PromptSettings settings = detail::takePromptSettings();
    const ge::Point3d relativeTo = base ? *base : lastPoint();
    return ask(prompt, settings, [&](const db::ResBuf& v) {
        const auto p = pointOf(v, relativeTo);
        if (!p) return Verdict::refused(kNeedsPoint);
        out = *p;
        rememberPoint(out);
        return Verdict::taken();
    });
}

int getCorner(const ge::Point3d& base, std::string_view prompt, ge::Point3d& out) {
    return getPoint(&base, prompt, out);
}

int getKeyword(std::string_view prompt, std::string& out) {
    const PromptSettings settings = detail::takePromptSettings();
    const int status = ask(prompt, settings, [](const db::ResBuf&) { return Verdict::refused(kNeedsKeyword); });
    if (status == db::RTKWORD) {
        out = detail::lastKeyword();
        return db::RTNORM;
    }
    return status;
}

ge::Point3d lastPoint() {
    db::ResBuf v;
    if (getVar("LASTPOINT", v) != db::RTNORM) return {};
    return v.point();
}

}  // namespace host::ed
