// The postprocessor editor: a property sheet of nine pages, each holding one group of a PostprocessorSettings.
// Every template edit is compiled when it loses the focus, the Move, Cut command, Start-End and Profile pages
// compile theirs again when they are left, and OK compiles every template the postprocessor holds, so a
// postprocessor with an unknown keyword is never saved.
//
//   what the user does                 what the editor does
//   leaves a template edit             compiles its text; on a fault the message box names the keyword, the
//                                      focus goes back to the edit with its whole text selected (on a page that
//                                      may be left with a fault, only while the focus stays on the page: a
//                                      click on a tab or a button of the sheet is no change of edit)
//   leaves one of the four pages       compiles the page's template edits in order; the first fault keeps the
//                                      page shown, as above
//   presses OK                         the page shown is left as above; then every template of every page is
//                                      compiled, a fault showing its page and edit; then the values are checked
//                                      for the file (a line break in a one-line value, a value longer than the
//                                      file keeps, a number that is no number, an X or Y format that writes
//                                      whole millimetres), a refusal naming the field
//   presses "Save As..." (General)     chooses where the file will be written (asking before an existing file is
//                                      replaced); nothing is written then
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/property_sheet.h"
#include "laser/post/postprocessor_settings.h"

// How a page shows one value.
enum class PostControl {
    Edit,           // one line
    TemplateEdit,   // one line, compiled as a template when it loses the focus
    TemplateBlock,  // several lines, compiled as a template when it loses the focus
    Check,          // a check box: 0 or 1
    Combo,          // an editable combo box with a list
    Button,         // a push button (Save As...)
};

// One control of a page: its id, kind, label (or a check box's or button's text), the value it shows (a text or
// an integer of the settings) and, for combo boxes, the list.
struct PostPageRow {
    int id;
    PostControl control;
    const char* label;
    std::string PostprocessorSettings::*text = nullptr;
    int PostprocessorSettings::*integer = nullptr;
    std::vector<std::string> choices = {};
    bool sorted = false;
};

class CDialogPostProcessor;

// One page: its title, dialog id, rows, and whether leaving it compiles its templates.
class CPagePost : public host::ui::PropertyPage {
public:
    CPagePost(CDialogPostProcessor& editor, int dialogId, std::string title, std::vector<PostPageRow> rows,
              bool checkOnLeave);

    int dialogId() const { return dialogId_; }
    const std::vector<PostPageRow>& rows() const { return rows_; }
    // The first template of this page's values that does not compile (silently), or nullptr.
    const PostPageRow* FirstFaultyTemplate() const;
    // Compiles the template shown in the edit `row` with the message on a fault, and on a fault gives the edit
    // the focus with its whole text selected: true when it compiles.
    bool CheckTemplateEdit(const PostPageRow& row);

protected:
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
    bool onCommand(int id, int code, host::ui::Window* control) override;
    bool onKillActive() override;

private:
    CDialogPostProcessor& editor_;
    int dialogId_;
    std::vector<PostPageRow> rows_;
    bool checkOnLeave_;
};

class CDialogPostProcessor : public host::ui::PropertySheet {
public:
    // Builds the nine pages with the values of `settings` (a new record: the defaults), in this order: General,
    // Code, Format, Move, Circular Codes, Cut command, Cange power, Start-End, Profile.
    explicit CDialogPostProcessor(std::string caption, host::ui::Window* parent = nullptr, int firstPage = 0);
    ~CDialogPostProcessor() override;

    PostprocessorSettings settings;

    CPagePost& page(std::size_t index) { return *pages_[index]; }
    static constexpr std::size_t kPageCount = 9;

    // "Save As...": the path in the General page's edit chosen again through the save dialog.
    void SavePostprocessorAs();
    // The page index and row of the first template of the record that does not compile, or -1.
    int FirstFaultyPage(const PostPageRow** row) const;
    // The page index and row that show the value of `key`, or -1.
    int FindKey(const PostKey& key, const PostPageRow** row) const;
    // Opens the sheet on the page of `key`, with the focus in its control (a value the file refused).
    void ShowKeyAtStart(const PostKey& key);

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    std::array<std::unique_ptr<CPagePost>, kPageCount> pages_;
    int focusPage_ = -1;
    int focusId_ = 0;
    // The file OK may write without asking: the one opened, or the one chosen through Save As.
    std::string confirmedPath_;
};

// The file-name and folder fields of `settings` from its PostprocessorPath.
void SplitPostprocessorPath(PostprocessorSettings& settings);

// Opens the editor on the postprocessor file at `path` and, after OK, writes it to the path the General page
// then names (the same file unless Save As chose another): true when it was saved. A file that cannot be read
// as it is (missing, damaged, a value refused) is told; the editor then opens with what could be read, so the
// user can mend it. A failed write is told and changes nothing. `savedPath`, when given, receives where it was
// written.
bool EditPostprocessor(const std::filesystem::path& path, std::filesystem::path* savedPath = nullptr);

// The developers' command that opens the editor on the postprocessor the settings select.
void CommandEditPostprocessor();
