// The template compiler: keyword lookup and the split of a template into literal and keyword tokens.
#include "laser/post/template_compiler.h"

#include <array>
#include <utility>

#include "host/ui/message_box.h"
#include "laser/post/post_messages.h"

namespace {

constexpr std::string_view kSetCuttingModeName = "SETCUTTINGMODE";

constexpr std::array<std::pair<std::string_view, TemplateKeyword>, 49> kKeywords = {{
    {"EOB", TemplateKeyword::EOB},
    {"13", TemplateKeyword::EOB},  // a raw CR: ends the block
    {"10", TemplateKeyword::EOB},  // a raw LF: ends the block
    {"N-CODE", TemplateKeyword::NCode},
    {"MOTION", TemplateKeyword::Motion},
    {"MOTION-ALL", TemplateKeyword::MotionAll},
    {"X-COORD", TemplateKeyword::XCoord},
    {"Y-COORD", TemplateKeyword::YCoord},
    {"X-COORD-ALL", TemplateKeyword::XCoordAll},
    {"Y-COORD-ALL", TemplateKeyword::YCoordAll},
    {"X-COORD-ABSOLUTE-ALL", TemplateKeyword::XCoordAbsoluteAll},
    {"Y-COORD-ABSOLUTE-ALL", TemplateKeyword::YCoordAbsoluteAll},
    {"ARC-X", TemplateKeyword::ArcX},
    {"ARC-Y", TemplateKeyword::ArcY},
    {"ARC-R", TemplateKeyword::ArcR},
    {"FEED", TemplateKeyword::Feed},
    {"ARC-R2", TemplateKeyword::ArcR2},
    {"COMP-OFF", TemplateKeyword::CompOff},
    {"COMP", TemplateKeyword::Comp},
    {"D-COMP", TemplateKeyword::DComp},
    {"COMP-ALL", TemplateKeyword::CompAll},
    {"CUT-ON", TemplateKeyword::CutOn},
    {"CUT-OFF", TemplateKeyword::CutOff},
    {"MATERIAL-NUM", TemplateKeyword::MaterialNum},
    {"NAME-FILE-PROGRAM", TemplateKeyword::NameFileProgram},
    {"NAME-PROGRAM", TemplateKeyword::NameProgram},
    {"NAME-POSTPROCESSOR", TemplateKeyword::NamePostprocessor},
    {"MATERIAL", TemplateKeyword::Material},
    {"THIN", TemplateKeyword::Thin},
    {"FORMAT", TemplateKeyword::Format},
    {"LIST-SIZE-X", TemplateKeyword::ListSizeX},
    {"LIST-SIZE-Y", TemplateKeyword::ListSizeY},
    {"THIN.0", TemplateKeyword::Thin0},
    {"THINx10.0", TemplateKeyword::Thin10},
    {"LIST-SIZE-X.0", TemplateKeyword::ListSizeX0},
    {"LIST-SIZE-Y.0", TemplateKeyword::ListSizeY0},
    {"TIME", TemplateKeyword::Time},
    {"DATA", TemplateKeyword::Data},
    {"TRIM-LINE", TemplateKeyword::TrimLine},
    {"TRIM-LINE-X", TemplateKeyword::TrimLineX1},
    {"TRIM-LINE-X1", TemplateKeyword::TrimLineX1},
    {"TRIM-LINE-Y1", TemplateKeyword::TrimLineY1},
    {"TRIM-LINE-X2", TemplateKeyword::TrimLineX2},
    {"TRIM-LINE-Y2", TemplateKeyword::TrimLineY2},
    {"CLAMP", TemplateKeyword::Clamp},
    {"CLAMP1-X", TemplateKeyword::Clamp1X},
    {"CLAMP2-X", TemplateKeyword::Clamp2X},
    {"CLAMP3-X", TemplateKeyword::Clamp3X},
    {"WJL", TemplateKeyword::CuttingModeText},
}};

void AddLiteral(CompiledTemplate& result, std::string_view text) {
    result.tokens.push_back({TemplateKeyword::Literal, std::string(text)});
}

}  // namespace

bool CompiledTemplate::uses(TemplateKeyword keyword) const {
    for (const TemplateToken& token : tokens) {
        if (token.keyword == keyword) return true;
    }
    return false;
}

bool LookUpTemplateKeyword(std::string_view name, TemplateToken& token) {
    if (name.substr(0, kSetCuttingModeName.size()) == kSetCuttingModeName) {
        const std::size_t blank = name.find(' ');
        token = {TemplateKeyword::SetCuttingMode,
                 blank == std::string_view::npos ? std::string() : std::string(name.substr(blank + 1))};
        return true;
    }
    for (const auto& [text, keyword] : kKeywords) {
        if (name == text) {
            token = {keyword, {}};
            return true;
        }
    }
    return false;
}

int CompileTemplate(std::string_view text, CompiledTemplate& result, int report, TemplateFault* fault,
                    std::string* keyword) {
    result.tokens.clear();
    std::string source;
    source.reserve(text.size());
    for (const char c : text) {
        if (c != '\r' && c != '\n') source.push_back(c);
    }
    TemplateFault found = TemplateFault::None;
    std::string badKeyword;
    std::size_t pos = 0;
    // Every step consumes at least one character, so the loop ends.
    while (pos < source.size()) {
        const std::size_t open = source.find('<', pos);
        const std::size_t close = source.find('>', pos);
        if (open != std::string::npos && (close == std::string::npos || open < close)) {
            if (open + 1 < source.size() && source[open + 1] == '<') {
                AddLiteral(result, std::string_view(source).substr(pos, open + 1 - pos));
                pos = open + 2;
                continue;
            }
            if (close == std::string::npos) {
                found = TemplateFault::UnpairedOpen;
                break;
            }
            if (open > pos) AddLiteral(result, std::string_view(source).substr(pos, open - pos));
            const std::string_view name = std::string_view(source).substr(open + 1, close - open - 1);
            TemplateToken token;
            if (!LookUpTemplateKeyword(name, token)) {
                found = TemplateFault::UnknownKeyword;
                badKeyword = name;
                break;
            }
            result.tokens.push_back(std::move(token));
            pos = close + 1;
        } else if (close != std::string::npos) {
            // Outside a keyword's brackets ">" is text ("(T>0)" is a comment); ">>" still writes one.
            const bool doubled = close + 1 < source.size() && source[close + 1] == '>';
            AddLiteral(result, std::string_view(source).substr(pos, close + 1 - pos));
            pos = close + (doubled ? 2 : 1);
        } else {
            AddLiteral(result, std::string_view(source).substr(pos));
            pos = source.size();
        }
    }
    if (fault != nullptr) *fault = found;
    if (keyword != nullptr) *keyword = badKeyword;
    if (found == TemplateFault::None) return 0;
    if (report == 1) {
        const std::string template_(text);
        std::string message;
        switch (found) {
            case TemplateFault::UnknownKeyword:
                message = FormatLocalized(kUnknownKeywordText, badKeyword.c_str(), template_.c_str());
                break;
            case TemplateFault::UnpairedOpen:
                message = FormatLocalized(kUnpairedOpenText, template_.c_str());
                break;
            case TemplateFault::None:
                break;
        }
        host::ui::messageBox(message, {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
    }
    return -1;
}
