// The two pages of the job dialog: the stock page (the job's material and its stock types) and the part page
// (its part types with their rotation rules).
#pragma once

#include <string>

#include "nesting/dialogs/job_table_page.h"

// Columns the part table has beyond the shared ones.
inline constexpr int kStockPriorityColumn = 8;
inline constexpr int kRotationColumn = 8;
inline constexpr int kDeltaColumn = 9;
inline constexpr int kSectorColumn = 10;
inline constexpr int kPartPriorityColumn = 11;

// The stock page's number edits of the job's material.
inline constexpr int kStockDensityId = 221;
inline constexpr int kStockThicknessId = 201;

class CPageStock : public JobTablePage {
public:
    CPageStock();

    void SetupStockGrid() { SetupTable(); }
    int AddStockRow(int row, int type, const std::string& path, const std::string& title, double width,
                    double height) {
        return AddTableRow(row, type, path, title, width, height);
    }
    void SetStockRowValues(int row, int quantity, double grain, int priorityIndex);
    int ShowStockPreview() { return ShowPreview(); }
    void DeleteAllStockRows() { DeleteAllRows(); }
    void DeleteStockRows() { DeleteSelectedRows(); }

    std::string MaterialText;
    std::string MaterialNumText;
    std::string DensityText = "7.85e-06";
    std::string ThicknessText = "1.0";
    std::string DirMaterial = "c:\\";

protected:
    bool onInitDialog() override;
    void FillNewRowCells(int row) override;
    void ExchangeOwnFields(host::ui::DataExchange& dx) override;
    bool OnOwnCommand(int id, int code) override;
    void SetOwnTexts() override;
    int QuantityLimit() const override;

private:
    void ReadRegistryDefaults();
    void SelectMaterial();
};

class CPagePart : public JobTablePage {
public:
    CPagePart();

    void SetupPartGrid();
    int AddPartRow(int row, int type, const std::string& path, const std::string& title, double width,
                   double height) {
        return AddTableRow(row, type, path, title, width, height);
    }
    void SetPartRowValues(int row, int quantity, double grain, int rotationIndex, int deltaIndex, double sector,
                          int priorityIndex);
    int ShowPartPreview() { return ShowPreview(); }
    void DeletePartRows() { DeleteSelectedRows(); }
    void DeleteAllPartRows() { DeleteAllRows(); }
    // Makes the rotation cells of the row last clicked consistent, as a click elsewhere does.
    void ApplyRotationRules(CellRef clicked);

    CellRef LastClickedCell{0, 0};
    int OptimizeAreaCheck = 0;
    int OptimizeWidthCheck = 0;

protected:
    bool onInitDialog() override;
    void FillNewRowCells(int row) override;
    void ExchangeOwnFields(host::ui::DataExchange& dx) override;
    bool OnOwnCommand(int id, int code) override;
    void SetOwnTexts() override;
    void OnTableClick(const GridNotifyRecord& record) override;
    std::string CellRefusal(int row, int column, const std::string& text) override;
    int QuantityLimit() const override;

private:
    void SaveOptimizationOption();
};
