// The drawing slots: one per open drawing, found again through the drawing's tag or its own database, freed with
// the drawing, and a clear refusal when the table is full.
#include <gtest/gtest.h>

#include <numbers>

#include "cadlib/host_variables.h"
#include "laser/job/tests/job_fixture.h"

namespace job_testing {
namespace {

TEST(DrawingTag, Format) {
    EXPECT_EQ(FormatDrawingTag(110, 1, 0), "Kstr_110 1 0");
    EXPECT_EQ(FormatDrawingTag(7, -1, 42), "Kstr_7 -1 42");
}

TEST(SlotText, CutToItsCharactersNeverInsideOne) {
    struct Case {
        const char* text;
        std::size_t max;
        const char* expected;
    };
    const Case cases[] = {
        {"STEEL.MAT", 22, "STEEL.MAT"},
        {"ABCDEF", 3, "ABC"},
        {"Сталь", 3, "Ста"},      // two bytes a character
        {"", 5, ""},
    };
    for (const Case& c : cases) {
        std::string field = "old";
        SetSlotText(field, c.text, c.max);
        EXPECT_EQ(field, c.expected) << c.text;
    }
    std::string longName;
    SetSlotText(longName, std::string(200, 'x'), kSlotMaterialNameChars);
    EXPECT_EQ(longName.size(), 124u);
}

TEST_F(JobTest, EachDrawingHasItsOwnSlotFoundAgainThroughItsTag) {
    const int firstId = settings().NextJobId;
    host::ed::Document* a = NewDrawing();
    host::ed::Document* b = NewDrawing();
    ASSERT_EQ(settings().DrawingSlotCount, 2);

    // both are untagged and have no job id yet: each still finds its own slot
    host::ed::documents().setCurrent(*a);
    bool changed = true;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
    EXPECT_FALSE(changed);
    host::ed::documents().setCurrent(*b);
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 1);

    host::ed::documents().setCurrent(*a);
    PrepareDrawingJob(settings());
    EXPECT_EQ(ProjectName(), FormatDrawingTag(firstId, 1, 0));
    host::ed::documents().setCurrent(*b);
    PrepareDrawingJob(settings());
    EXPECT_EQ(ProjectName(), FormatDrawingTag(firstId + 1, 1, 0));
    EXPECT_EQ(settings().CurrentDrawingSlot, 1);

    host::ed::documents().setCurrent(*a);
    PrepareDrawingJob(settings());
    EXPECT_EQ(settings().CurrentDrawingSlot, 0);
    EXPECT_EQ(Slot().jobId, firstId);
}

TEST_F(JobTest, ATagCopiedIntoAnotherDrawingDoesNotTakeItsSlot) {
    host::ed::Document* a = NewDrawing();
    PrepareDrawingJob(settings());
    const std::string tagOfA = ProjectName();
    NewDrawing();
    SetSysVarString("PROJECTNAME", tagOfA);
    bool changed = false;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 1);
    host::ed::documents().setCurrent(*a);
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
}

TEST_F(JobTest, AnotherCounterInTheTagReadsTheStoredJobAgain) {
    OpenFixture("job_200801.dxf");
    const int jobId = Slot().jobId;
    // the job in memory has moved on (counter 6, contours dropped); the drawing was set back to counter 7
    Slot().changeCounter = 6;
    Job().contourCount = 0;
    Job().contours.clear();
    SetSysVarString("PROJECTNAME", FormatDrawingTag(jobId, 1, 7));
    bool changed = false;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Job().contourCount, StoredJobValues::kContourCount);
    EXPECT_EQ(Job().contours.size(), 4u);
    EXPECT_EQ(Slot().changeCounter, 0) << "the counter of the stored summary";
    EXPECT_EQ(Slot().jobId, jobId);

    // the same counter: nothing is read
    Job().contourCount = 0;
    SetSysVarString("PROJECTNAME", FormatDrawingTag(jobId, 1, 0));
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Job().contourCount, 0);
}

TEST_F(JobTest, ALockedSlotIsNotReadAgainAndATagOfStatusTwoMarksIt) {
    NewDrawing();
    PrepareDrawingJob(settings());
    Slot().locked = 1;
    SetSysVarString("PROJECTNAME", FormatDrawingTag(Slot().jobId, 2, 9));
    bool changed = true;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Slot().status, kSlotNesting);
}

TEST_F(JobTest, SlotWhoseSettingsTextWasErasedIsReset) {
    NewDrawing();
    PrepareDrawingJob(settings());
    const int jobId = Slot().jobId;
    {
        ObjectPtr<host::db::Text> t(Working().idFromHandle(host::db::Handle(Slot().settingsTextHandle)),
                                    OpenMode::Write);
        t->erase();
    }
    SetSysVarString("PROJECTNAME", "");
    bool changed = false;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), 0);
    EXPECT_EQ(Slot().status, kSlotNoJob);
    EXPECT_EQ(Slot().settingsTextHandle, 0u);
    EXPECT_EQ(Slot().summaryTextHandle, 0u);
    EXPECT_TRUE(Slot().settingsTextName.isNil());
    EXPECT_EQ(Slot().jobId, jobId) << "the id, job and material stay";
    EXPECT_NE(CurrentJob(settings()), nullptr);
}

TEST_F(JobTest, FreeingMovesTheLastSlotIntoTheHole) {
    NewDrawing();
    DrawingSlot* second = nullptr;
    DrawingSlot* third = nullptr;
    for (int i = 0; i < 2; ++i) CreateDrawingSlot(settings());
    second = settings().DrawingSlots[1].get();
    third = settings().DrawingSlots[2].get();
    ASSERT_EQ(settings().DrawingSlotCount, 3);

    EXPECT_EQ(FreeDrawingSlot(settings(), 0), 0);
    EXPECT_EQ(settings().DrawingSlotCount, 2);
    EXPECT_EQ(settings().CurrentDrawingSlot, 1);
    EXPECT_EQ(settings().DrawingSlots[0].get(), third);
    EXPECT_EQ(settings().DrawingSlots[1].get(), second);
    EXPECT_EQ(settings().DrawingSlots[2], nullptr);

    EXPECT_EQ(FreeDrawingSlot(settings(), 5), -1) << "not a slot in use";
    EXPECT_EQ(FreeDrawingSlot(settings(), -1), -1);
    EXPECT_EQ(settings().DrawingSlotCount, 2);

    FreeDrawingSlot(settings(), 1);
    FreeDrawingSlot(settings(), 0);
    EXPECT_EQ(settings().DrawingSlotCount, 0);
    EXPECT_EQ(settings().CurrentDrawingSlot, 0);
    EXPECT_EQ(CurrentSlot(settings()), nullptr);
}

TEST_F(JobTest, ClosingADrawingFreesItsOwnSlot) {
    host::ed::Document* a = NewDrawing();
    host::ed::Document* b = NewDrawing();
    const DrawingSlot* slotOfB = settings().DrawingSlots[1].get();
    host::ed::documents().close(*a);
    ASSERT_EQ(settings().DrawingSlotCount, 1);
    EXPECT_EQ(settings().DrawingSlots[0].get(), slotOfB);
    host::ed::documents().close(*b);
    EXPECT_EQ(settings().DrawingSlotCount, 0);
}

TEST_F(JobTest, TheDrawingBeyondTheTableIsRefusedWithAMessage) {
    host::ed::Document* first = NewDrawing();
    while (settings().DrawingSlotCount < kMaxDrawingSlots) ASSERT_EQ(CreateDrawingSlot(settings()), 0);
    EXPECT_EQ(CreateDrawingSlot(settings()), -1);
    EXPECT_EQ(settings().DrawingSlotCount, kMaxDrawingSlots);
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_NE(MessageBoxTexts()[0].find("120 drawings are open already"), std::string::npos);

    // a drawing opened now has no slot: a command in it does nothing, and closing it frees no other slot
    host::ui::clearMessageBoxLog();
    host::ed::Document* extra = NewDrawing();
    EXPECT_EQ(MessageBoxTexts().size(), 1u);
    bool changed = false;
    EXPECT_EQ(IdentifyDrawing(settings(), changed), kNoDrawingSlot);
    EXPECT_EQ(PrepareDrawingJob(settings()), -1);
    EXPECT_NE(Transcript().find("This drawing has no cutting job"), std::string::npos);
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
    host::ed::documents().close(*extra);
    EXPECT_EQ(settings().DrawingSlotCount, kMaxDrawingSlots);
    host::ed::documents().close(*first);
    EXPECT_EQ(settings().DrawingSlotCount, kMaxDrawingSlots - 1) << "one slot of the first drawing freed";
}

TEST_F(JobTest, TableFullMessageInRussian) {
    SetLanguageFlag(1);
    NewDrawing();
    while (settings().DrawingSlotCount < kMaxDrawingSlots) CreateDrawingSlot(settings());
    host::ui::clearMessageBoxLog();
    CreateDrawingSlot(settings());
    ASSERT_EQ(MessageBoxTexts().size(), 1u);
    EXPECT_NE(MessageBoxTexts()[0].find("Уже открыто чертежей: 120."), std::string::npos);
}

TEST_F(JobTest, InitialisingAJobReleasesItsContoursAndStartsFromTheSettings) {
    settings().PointHome = {10.0, 20.0, 0.0};
    settings().ModeStartPoint = 0;
    settings().Angle = 90.0;
    NewDrawing();
    SetSysVarInt("THUMBSIZE", 1);
    PrepareDrawingJob(settings());
    Job().contourCount = 5;
    Job().contours.assign(6, ContourRecord{});
    Job().baseOuter = 3;
    Job().clampCount = 2;
    Job().programName = "P1";
    Slot().changeCounter = 4;
    Slot().status = kSlotNesting;

    EXPECT_EQ(InitCuttingJob(settings()), 0);
    EXPECT_EQ(Slot().status, kSlotJob);
    EXPECT_EQ(Slot().changeCounter, 0);
    EXPECT_EQ(Job().contourCount, 0);
    EXPECT_TRUE(Job().contours.empty());
    EXPECT_EQ(Job().baseOuter, 0u);
    EXPECT_EQ(Job().clampCount, 2u) << "clamps keep their values";
    EXPECT_EQ(Job().programName, "");
    EXPECT_DOUBLE_EQ(Job().partFillRatio, 1.0);
    EXPECT_DOUBLE_EQ(Job().leadAngleRad, std::numbers::pi / 2);
    EXPECT_EQ(Job().penState, 3);
    EXPECT_EQ(Job().startAtHome, 0);
    EXPECT_EQ(Job().pathStartPoint, (Point3d{10, 20, 0}));
    EXPECT_EQ(Job().currentPoint, (Point3d{10, 20, 0}));
    int thumb = 0;
    GetSysVarInt("THUMBSIZE", thumb);
    EXPECT_EQ(thumb, 2);
}

TEST_F(JobTest, NoCurrentSlotIsHandled) {
    EXPECT_EQ(CurrentSlot(settings()), nullptr);
    EXPECT_EQ(InitCuttingJob(settings()), -1);
    EXPECT_EQ(WriteDrawingTag(settings()), -1);
    EXPECT_EQ(WriteJobData(settings()), -1);
    EXPECT_EQ(ReadJobData(settings()), -1);
    EXPECT_EQ(CollectJobTexts(settings()), 0);
    EXPECT_EQ(EraseJobTexts(settings()), 0);
}

}  // namespace
}  // namespace job_testing
