// The report of a nesting result: its head, the parts that were not nested, the shown sheet and every sheet, in
// both languages; a part that cannot be drawn is never counted; and the summary dialog that shows it.
#include <gtest/gtest.h>

#include "host/ui/constants.h"
#include "nesting/result/nest_report.h"
#include "nesting/result/tests/result_fixture.h"

namespace {

using nesting_result_testing::ResultTest;

class NestReport : public ResultTest {
protected:
    // Two sheets: three parts 100 x 50 (two on the first sheet, one on the second), two of 200 x 100 (one on the
    // second, one left over) and a type excluded by its load (quantity 0). The second sheet is shown.
    void TwoSheetsWithLeftovers() {
        Stock(1000, 500, 2);
        Part(100, 50, 3);
        Part(200, 100, 2);
        Part(10, 10, 0);
        MakeInstances();
        Place(0, 0, 100, 100);
        Place(1, 0, 250, 100);
        Place(2, 1, 100, 100);
        Place(3, 1, 300, 100);
        state->ShownSheet = 1;
    }
};

TEST_F(NestReport, OneFullSheet) {
    Stock(1000, 500, 1);
    Part(100, 50, 10);
    MakeInstances();
    for (int i = 0; i < 10; ++i) Place(i, 0, 60 + 110 * i, 40);
    EXPECT_EQ(BuildNestReport(*state),
              "Stock        = 1\r\nNesting Parts = 10/10\r\n\r\n"
              "Current Stock 1 : Stosk_1000x500\r\nPart = 10/10\r\nMetal recovery=10.00% "
              "\r\n 1) Part_100x50  10/10");
}

TEST_F(NestReport, PartsLeftOverAndExcludedTypesAreListedAndEverySheetReported) {
    TwoSheetsWithLeftovers();
    EXPECT_EQ(BuildNestReport(*state),
              "Stock        = 2\r\nNesting Parts = 4/5\r\n\r\n"
              "============= List of parts that are not nested =============\r\n"
              "Part_200x100   \t1/2\t  Size=200.00x100.00\r\n"
              "Part_10x10   \t0/0\t  Size=10.00x10.00\r\n"
              "==============================================\r\n\r\n"
              "Current Stock 2 : Stosk_1000x500\r\nPart = 2/5\r\nMetal recovery=5.00% "
              "\r\n 1) Part_100x50  1/3\r\n 2) Part_200x100  1/2"
              "\r\n===============================\r\n"
              "Stock 1 : Stosk_1000x500\r\nPart = 2/5\r\nMetal recovery=2.00% "
              "\r\n 1) Part_100x50  2/3"
              "\r\n===============================\r\n"
              "Stock 2 : Stosk_1000x500\r\nPart = 2/5\r\nMetal recovery=5.00% "
              "\r\n 1) Part_100x50  1/3\r\n 2) Part_200x100  1/2");
}

TEST_F(NestReport, InRussian) {
    TwoSheetsWithLeftovers();
    SetLibraryLanguage(Language::Russian);
    const std::string text = BuildNestReport(*state);
    EXPECT_EQ(text.rfind("Заготовка   = 2\r\nРазмещено деталей = 4/5\r\n\r\n"
                         "========== Список деталей которые не размещены ==========\r\n"
                         "Part_200x100   \t1/2\t  Размер=200.00x100.00\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("Текущая заготовка 2 : Stosk_1000x500"), std::string::npos) << text;
    EXPECT_NE(text.find("Заготовка 1 : Stosk_1000x500"), std::string::npos) << text;
}

TEST_F(NestReport, WithoutASheetTheReportSaysThereIsNone) {
    Stock(1000, 500, 1);
    Part(100, 50, 2);
    MakeInstances();  // a job loaded and never run
    EXPECT_EQ(BuildNestReport(*state), "There are no placed details.\r\nCheck initial data.");
    SetLibraryLanguage(Language::Russian);
    EXPECT_EQ(BuildNestReport(*state), "Нет размещенных деталей.\r\nПроверьте исходные данные.");
}

TEST_F(NestReport, APartThatCannotBeDrawnIsNotCountedAsPlaced) {
    // Its block is missing: the sheet cannot show it, so the report lists it with the parts not nested.
    Stock(1000, 500, 1);
    Part(100, 50, 1);
    Part(30, 30, 1, /*defineBlock=*/false);
    MakeInstances();
    Place(0, 0, 100, 100);
    Place(1, 0, 300, 100);
    EXPECT_EQ(BuildNestReport(*state),
              "Stock        = 1\r\nNesting Parts = 1/2\r\n\r\n"
              "============= List of parts that are not nested =============\r\n"
              "Part_30x30   \t0/1\t  Size=30.00x30.00\r\n"
              "==============================================\r\n\r\n"
              "Current Stock 1 : Stosk_1000x500\r\nPart = 1/2\r\nMetal recovery=1.00% "
              "\r\n 1) Part_100x50  1/1");
}

TEST_F(NestReport, ClampsAreNeitherPartsNorLeftOvers) {
    Stock(1000, 500, 1);
    Part(100, 50, 1);
    Clamps(2);
    MakeInstances();
    Place(0, 0, 100, 100);
    Place(1, 0, 300, 10);
    Place(2, 0, 600, 10);  // the clamps lie on the sheet too
    const std::string text = BuildNestReport(*state);
    EXPECT_EQ(text, "Stock        = 1\r\nNesting Parts = 1/1\r\n\r\n"
                    "Current Stock 1 : Stosk_1000x500\r\nPart = 1/1\r\nMetal recovery=1.00% "
                    "\r\n 1) Part_100x50  1/1");
}

// Reads the report the dialog shows and presses OK.
class ReportReader : public host::ui::DialogUser {
public:
    bool act(host::ui::Dialog& dialog) override {
        caption = dialog.text();
        text = dialog.itemText(kInfoNestingTextEdit);
        dialog.endDialog(host::ui::IDOK);
        return true;
    }
    std::string caption;
    std::string text;
};

TEST_F(NestReport, TheSummaryDialogShowsTheReport) {
    TwoSheetsWithLeftovers();
    ReportReader reader;
    host::ui::UseDialogUser answering{&reader};
    ShowNestInfo(*state);
    EXPECT_EQ(reader.caption, "Info Nesting");
    EXPECT_EQ(reader.text, BuildNestReport(*state));
}

}  // namespace
