// DrawText's layout of lines in a rectangle.
#include "host/ui/text_layout.h"

#include <algorithm>

#include "host/sys/encoding.h"

namespace host::ui {

namespace {

constexpr std::string_view kEllipsis = "...";
constexpr int kTabColumns = 8;

int widthOf(std::string_view text, const LogFont& font, TextMeasurer measurer) {
    LogFont horizontal = font;
    horizontal.escapement = 0;
    return measureText(measurer, horizontal, text).width;
}

std::vector<std::string> splitParagraphs(std::string_view text, bool singleLine) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (singleLine) continue;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.emplace_back();
            continue;
        }
        out.back().push_back(c);
    }
    return out;
}

std::string expandTabs(std::string_view line, const LogFont& font, TextMeasurer measurer) {
    if (line.find('\t') == std::string_view::npos) return std::string(line);
    const int space = std::max(1, widthOf(" ", font, measurer));
    const int stop = std::max(1, measureMetrics(measurer, font).averageCharWidth * kTabColumns);
    std::string out;
    int x = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = pos;
        const char32_t c = sys::decodeUtf8At(line, pos);
        if (c == U'\t') {
            const int next = (x / stop + 1) * stop;
            while (x < next) {
                out.push_back(' ');
                x += space;
            }
        } else {
            out.append(line.substr(start, pos - start));
            x += characterAdvance(measurer, font, c);
        }
    }
    return out;
}

// Greedy wrapping at spaces; spaces at a break are dropped. A word wider than the width stays whole unless
// `breakWords`, which breaks it between characters.
std::vector<std::string> wrap(const std::string& paragraph, int width, bool breakWords, const LogFont& font,
                              TextMeasurer measurer) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        // The next piece: a run of spaces or a word.
        const bool spaces = paragraph[pos] == ' ';
        std::size_t end = pos;
        while (end < paragraph.size() && (paragraph[end] == ' ') == spaces) ++end;
        std::string piece = paragraph.substr(pos, end - pos);
        pos = end;
        if (spaces) {
            if (!line.empty()) line += piece;
            continue;
        }
        std::string candidate = line + piece;
        if (line.empty() || widthOf(candidate, font, measurer) <= width) {
            line = candidate;
        } else {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            lines.push_back(line);
            line = piece;
        }
        if (breakWords) {
            while (widthOf(line, font, measurer) > width && sys::utf8CharacterCount(line) > 1) {
                // The longest start that fits, at least one character.
                std::size_t cut = 0, p = 0;
                while (p < line.size()) {
                    std::size_t q = p;
                    sys::decodeUtf8At(line, q);
                    if (cut != 0 && widthOf(std::string_view(line).substr(0, q), font, measurer) > width) break;
                    cut = q;
                    p = q;
                }
                lines.push_back(line.substr(0, cut));
                line.erase(0, cut);
            }
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    return lines;
}

}  // namespace

std::string stripPrefix(std::string_view text, int* underlined) {
    if (underlined) *underlined = -1;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out.push_back('&');
                ++i;
                continue;
            }
            if (i + 1 < text.size() && underlined && *underlined < 0) *underlined = static_cast<int>(out.size());
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string ellipsize(std::string_view text, int width, const LogFont& font, TextMeasurer measurer) {
    if (widthOf(text, font, measurer) <= width) return std::string(text);
    const int room = width - widthOf(kEllipsis, font, measurer);
    std::size_t cut = 0, pos = 0;
    int used = 0;
    while (pos < text.size()) {
        std::size_t next = pos;
        const char32_t c = sys::decodeUtf8At(text, next);
        const int advance = characterAdvance(measurer, font, c);
        if (used + advance > room) break;
        used += advance;
        cut = next;
        pos = next;
    }
    return std::string(text.substr(0, cut)) + std::string(kEllipsis);
}

TextLayout layoutText(std::string_view text, const Rect& r, unsigned format, const LogFont& font,
                      TextMeasurer measurer) {
    TextLayout layout;
    const TextMetrics metrics = measureMetrics(measurer, font);
    const int lineHeight = metrics.height + ((format & DT_EXTERNALLEADING) ? metrics.externalLeading : 0);
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool calcRect = (format & DT_CALCRECT) != 0;

    const std::string shown = (format & DT_NOPREFIX) ? std::string(text) : stripPrefix(text);
    std::vector<std::string> lines;
    for (std::string& paragraph : splitParagraphs(shown, singleLine)) {
        if (format & DT_EXPANDTABS) paragraph = expandTabs(paragraph, font, measurer);
        if ((format & DT_WORDBREAK) && !singleLine) {
            for (auto& l : wrap(paragraph, r.width(), (format & DT_EDITCONTROL) != 0, font, measurer))
                lines.push_back(std::move(l));
        } else {
            lines.push_back(std::move(paragraph));
        }
    }
    if (!calcRect && (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)))
        for (auto& l : lines) l = ellipsize(l, r.width(), font, measurer);

    layout.height = lineHeight * static_cast<int>(lines.size());
    int y = r.top;
    if (singleLine && (format & DT_VCENTER))
        y = r.top + (r.height() - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        y = r.bottom - lineHeight;

    int widest = 0;
    for (auto& l : lines) {
        const int w = widthOf(l, font, measurer);
        widest = std::max(widest, w);
        int x = r.left;
        if (format & DT_CENTER)
            x = r.left + (r.width() - w) / 2;
        else if (format & DT_RIGHT)
            x = r.right - w;
        if (calcRect) x = r.left;
        layout.lines.push_back({std::move(l), {x, y}, w});
        y += lineHeight;
    }
    if (calcRect) {
        layout.extent = {r.left, r.top, r.left + widest, r.top + layout.height};
    } else {
        Rect extent{};
        for (const auto& l : layout.lines)
            extent = unite(extent, Rect{l.origin.x, l.origin.y, l.origin.x + std::max(l.width, 1),
                                        l.origin.y + lineHeight});
        layout.extent = extent;
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)) && !calcRect)
        layout.resultHeight = (layout.lines.empty() ? r.top : layout.lines.back().origin.y + lineHeight) - r.top;
    else
        layout.resultHeight = layout.height;
    return layout;
}

}  // namespace host::ui
