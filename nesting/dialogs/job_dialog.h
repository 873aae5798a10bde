// The nesting job dialog: the job file's path with Load and Save As, the stock-edge offset and the part gap, a
// tab control with the stock page and the part page, and Clear, OK and Cancel. It edits, loads and saves job
// files; the job commands read the file that its OK has written.
//
// OK saves the job file and closes the dialog only when the file was written: after a failed save the dialog
// stays open with its message shown, so no stale file is ever read as the job. OK and Save As ask before they
// replace a file that is not a job file, or the job file last loaded when it was not read whole (a line at fault,
// drawings left out): the tables then show what was read before the fault, and No keeps the file and the dialog.
// A text too long for its line of the file is refused before anything is written, with a message naming the
// field; so is a number field whose whole text is not one number in its range ("2..", ".", an empty field),
// which gets back the value it kept.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/dialog.h"
#include "host/ui/tab_control.h"
#include "nesting/dialogs/job_pages.h"
#include "nesting/job/job_file_reader.h"

class COpenDialogNesting : public host::ui::Dialog {
public:
    explicit COpenDialogNesting(host::ui::Window* owner = nullptr);
    ~COpenDialogNesting() override;

    // Given by the caller before the dialog shows.
    std::string JobFilePath;
    std::string InstallFolder;
    std::string EdgeOffsetText;
    std::string PartGapText;
    // The module's list of drawings without contours, and how the report's Yes opens them.
    std::vector<std::string>* FilesWithoutContours = nullptr;
    std::function<void()> OpenFilesWithoutContours;

    // Set by SaveJobFile: the folder of the first part drawing.
    std::string FirstPartFolder;
    // The stock page's material texts, kept after the pages are gone.
    std::string MaterialText;
    std::string MaterialNumText;
    std::string DensityText;
    std::string ThicknessText;

    // 1 when the file was written, 0 when not (its message was shown). Over an existing file that is not a job
    // file it asks first, unless the user has just been asked by the save dialog (`asked`).
    int SaveJobFile(bool asked = false);
    // 1 when the file was read to its end, 0 when it could not be read (its message was shown; the tables are
    // empty).
    int LoadJobFile();
    // Writes LastFileNesting and LastDirNestDWG when a job file is named.
    void SaveLastJobPaths() const;

    // The pages while the dialog shows (nullptr otherwise).
    CPageStock* StockPage() const { return stock_.get(); }
    CPagePart* PartPage() const { return part_.get(); }

    void OnLoadJob();
    void OnSaveJobAs();
    void OnClearJob();
    void OnOkJob();

protected:
    bool onInitDialog() override;
    void doDataExchange(host::ui::DataExchange& dx) override;
    void onOK() override;
    bool onCommand(int id, int code, host::ui::Window* control) override;
    bool onNotify(const host::ui::NotifyHeader& header, std::intptr_t& result) override;
    std::intptr_t windowProc(host::ui::Message& m) override;

private:
    void ReadAllControls();
    void KeepMaterialTexts();
    void ResetSmallOffset(int id);
    bool ConfirmReplace(const std::string& path);
    void FillTables(const JobFileContents& job, RefusedDrawings& refused);
    std::string TooLongField() const;
    // The number fields of the job (offsets, density, thickness) read whole: a text changed since the job was
    // loaded or last saved that is not one number in the range a job file holds is refused with a message naming
    // the field, and the field gets back the value it kept. True when every field holds a number.
    bool CheckNumberFields();
    // Remembers the number fields' texts as the ones they keep.
    void KeepNumberFields();
    void RefreshPreviews();

    // The job file last loaded, and why it was not read whole (empty when it was): OK and Save As ask before
    // they replace such a file, offering No.
    std::string loadedPath_;
    std::string notReadWhole_;
    // The job file last written here: OK saves over it without asking, as over the file loaded.
    std::string savedPath_;
    // What the number fields keep: their texts when the job was loaded or last saved.
    std::string keptEdgeOffset_, keptPartGap_, keptDensity_, keptThickness_;
    host::ui::TabControl tabs_;
    std::unique_ptr<CPageStock> stock_;
    std::unique_ptr<CPagePart> part_;
};
