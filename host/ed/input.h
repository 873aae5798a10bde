// Where the user's answers come from: one source per run, a script or the terminal.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::ed {

// A line that holds only this (either spelling, any case) is Esc.
inline constexpr std::string_view kCancelToken = "^C";
inline constexpr std::string_view kCancelTokenAlt = "<Esc>";

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next line the user gives, after showing `prompt`; nullopt when the input has ended (the end of a script,
    // end of file on the terminal). An empty line is Enter.
    virtual std::optional<std::string> readLine(std::string_view prompt) = 0;
    // True for a person at a terminal (prompts may be repeated, history kept).
    virtual bool isInteractive() const { return false; }
    // Where the last line came from, for messages: "run.scr, line 12".
    virtual std::string position() const { return {}; }
};

// Lines of a script file or of a text in memory. Lines starting with ";;" are comments and skipped.
class ScriptInput : public InputSource {
public:
    static std::unique_ptr<ScriptInput> fromFile(const std::string& path, std::string* error);
    static std::unique_ptr<ScriptInput> fromLines(std::vector<std::string> lines, std::string name = "<script>");
    std::optional<std::string> readLine(std::string_view prompt) override;
    std::string position() const override;

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    std::string name_;
};

// The run's input source; a ScriptInput with no lines until one is set.
InputSource& input();
void setInput(std::unique_ptr<InputSource> source);

bool isCancelToken(std::string_view line);

}  // namespace host::ed
