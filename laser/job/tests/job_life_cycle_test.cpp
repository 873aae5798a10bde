// A new drawing's first command, saving and reopening a job, the texts taken over before contour creation, and the
// settings and summary records as they reach the drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "cadlib/host_variables.h"
#include "laser/job/tests/job_fixture.h"

namespace job_testing {
namespace {

struct LayerExpectation {
    const char* name;
    int color;
    const char* linetype;
    bool off;
};

TEST_F(JobTest, FirstCommandInANewDrawingGivesItsJobLayersAndTexts) {
    const int nextId = settings().NextJobId;
    NewDrawing();
    EXPECT_EQ(Slot().status, kSlotNoJob);
    EXPECT_EQ(Slot().jobId, 0);
    EXPECT_EQ(ProjectName(), "");
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty()) << "loading writes nothing into a drawing without a job";

    ASSERT_EQ(PrepareDrawingJob(settings()), 0);
    EXPECT_EQ(Slot().status, kSlotJob);
    EXPECT_EQ(Slot().jobId, nextId);
    EXPECT_EQ(settings().NextJobId, nextId + 1);
    EXPECT_EQ(ProjectName(), "Kstr_" + std::to_string(nextId) + " 1 0");

    const LayerExpectation layers[] = {
        {"NC_Laser", 1, "Continuous", false},       {"NC_Laser_Off", 1, "Continuous", true},
        {"CutT2Line", 102, "Continuous", false},    {"NoCloseLine", 210, "PHANTOM", false},
        {"EngraveLine", 32, "Continuous", false},   {"EngraveAndMarkLine", 11, "Continuous", false},
        {"MarkLine", 31, "Continuous", false},      {"HeatTreatmentLine", 30, "Continuous", false},
        {"CommonLine", 40, "HIDDEN", false},        {"InsideCutLine", 190, "HIDDEN", false},
        {"JumperLine", 132, "JumperLine", false},   {"NoLeadIn", 92, "Continuous", false},
        {"MarkPoint", 6, "Continuous", false},      {"Clamp", 12, "Continuous", false},
        {"MarkingText", 5, "Continuous", false},    {"TrimLine", 140, "PHANTOM", false},
        {"HoleDrill", 5, "Continuous", false},      {"Punch", 5, "Continuous", false},
    };
    for (const auto& l : layers) {
        ObjectId id = Working().recordId(host::db::TableKind::Layer, l.name);
        ASSERT_FALSE(id.isNull()) << l.name;
        ObjectPtr<host::db::LayerTableRecord> rec(id, OpenMode::Read);
        EXPECT_EQ(rec->color().index, l.color) << l.name;
        EXPECT_EQ(rec->isOff(), l.off) << l.name;
        std::string linetype = Working().recordName(rec->linetypeId());
        for (char& ch : linetype) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        std::string expected = l.linetype;
        for (char& ch : expected) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(linetype, expected) << l.name;
    }
    for (const char* lt : {"HIDDEN", "ZAxisTrackingSensorOFF", "PHANTOM", "JumperLine"})
        EXPECT_FALSE(Working().recordId(host::db::TableKind::Linetype, lt).isNull()) << lt;

    ASSERT_EQ(TextsNamed("Kstr_ST").size(), 1u);
    ASSERT_EQ(TextsNamed("Kstr_0").size(), 1u);
    ASSERT_EQ(TextsNamed("Kstr_TC").size(), 2u) << "the head text and one batch";
    const ResBufList st = XDataOf(Slot().settingsTextHandle);
    ASSERT_EQ(st.size(), 61u);
    EXPECT_DOUBLE_EQ(st[1].real(), 2008.01);
    EXPECT_EQ(st[2].integer(), 1);
    EXPECT_EQ(st[3].str(), host::db::Handle(Slot().settingsTextHandle).text());
    EXPECT_EQ(st[34].integer(), 0);
    EXPECT_DOUBLE_EQ(st[14].real(), settings().FeedCut);
    EXPECT_DOUBLE_EQ(st[60].real(), 1.0);
    const ResBufList summary = XDataOf(Slot().summaryTextHandle);
    ASSERT_EQ(summary.size(), 17u);
    EXPECT_EQ(summary[1].integer(), nextId);
    const ResBufList directory = XDataOf(Slot().directoryTextHandle);
    ASSERT_EQ(directory.size(), 3u);
    const host::db::Handle batch(static_cast<std::uint32_t>(directory[2].integer()),
                                 static_cast<std::uint32_t>(directory[1].integer()));
    // no contours: the batch holds item 0 alone, which the host keeps as no list at all
    EXPECT_FALSE(Working().idFromHandle(batch).isNull());
    EXPECT_TRUE(XDataOf(batch.value).empty());

    // the invisible head texts sit on NC_Laser at the origin
    ObjectPtr<host::db::Text> t(Working().idFromHandle(host::db::Handle(Slot().settingsTextHandle)), OpenMode::Read);
    EXPECT_FALSE(t->isVisible());
    EXPECT_EQ(t->layer(), "NC_Laser");
    EXPECT_EQ(t->position(), (Point3d{0, 0, 0}));
}

TEST_F(JobTest, SecondCommandKeepsTheJobAndItsTexts) {
    NewDrawing();
    PrepareDrawingJob(settings());
    const int jobId = Slot().jobId;
    const std::uint64_t st = Slot().settingsTextHandle;
    PrepareDrawingJob(settings());
    std::string current;
    GetSysVarString("CLAYER", current);
    EXPECT_EQ(current, "0") << "nothing was made on NC_Laser this time";
    EXPECT_EQ(Slot().jobId, jobId);
    EXPECT_EQ(Slot().settingsTextHandle, st);
    EXPECT_EQ(TextsNamed("Kstr_ST").size(), 1u);
    EXPECT_EQ(TextsNamed("Kstr_TC").size(), 2u);
}

TEST_F(JobTest, MissingLineTypeIsReportedAndTheLayerStillMade) {
    std::ofstream(TempDir() / "Kestrion_iso.lin") << "*HIDDEN,Hidden\nA,6.35,-3.175\n"
                                                  << "*PHANTOM,Phantom\nA,12.7,-2.54,2.54,-2.54\n";
    settings().DirInstall = TempDir().string();
    NewDrawing();
    PrepareDrawingJob(settings());
    EXPECT_NE(Transcript().find("ERROR. I can't load line type ZAxisTrackingSensorOFF "), std::string::npos)
        << Transcript();
    EXPECT_NE(Transcript().find("ERROR. I can't load line type JumperLine "), std::string::npos);
    EXPECT_FALSE(Working().recordId(host::db::TableKind::Layer, "JumperLine").isNull());
    EXPECT_FALSE(Working().recordId(host::db::TableKind::Linetype, "HIDDEN").isNull());
}

TEST_F(JobTest, ExistingLayerKeepsItsColour) {
    NewDrawing();
    ASSERT_FALSE(EnsureLayer(Working(), "MarkLine").isNull());
    PrepareDrawingJob(settings());
    ObjectPtr<host::db::LayerTableRecord> rec(Working().recordId(host::db::TableKind::Layer, "MarkLine"),
                                              OpenMode::Read);
    EXPECT_EQ(rec->color().index, 7);
}

TEST_F(JobTest, SaveKeepsTheJobAndReopeningRestoresIt) {
    NewDrawing();
    PrepareDrawingJob(settings());
    CuttingJob& job = Job();
    job.contourCount = 2;
    job.contours.assign(3, ContourRecord{});
    job.contours[0].kind = ContourKind::KindBase;
    job.contours[0].shape = kShapeCircle;
    job.contours[0].handle = 0x1234;
    job.contours[0].area = 78.5;
    job.contours[1].kind = ContourKind::EngraveLine;
    job.contours[1].shape = kShapePolyline;
    job.contours[2] = EmptyStockRecord();
    job.baseOuter = 1;
    job.engraveCount = 1;
    job.programName = "P100";
    job.pathGroupCount = 2;
    job.totalCutLength = 31.4;
    Slot().changeCounter = 5;

    const auto path = TempDir() / "saved.dxf";
    host::ed::Document* doc = host::ed::documents().current();
    std::string error;
    ASSERT_TRUE(host::ed::documents().save(*doc, path, &error)) << error;

    // the open job is untouched by the save
    EXPECT_EQ(Slot().status, kSlotJob);
    EXPECT_EQ(Job().contourCount, 2);
    EXPECT_EQ(Job().baseOuter, 1u);
    EXPECT_EQ(TextsNamed("Kstr_ST").size(), 1u);
    EXPECT_EQ(ProjectName(), FormatDrawingTag(Slot().jobId, 1, 5));

    host::ed::documents().close(*doc);
    EXPECT_EQ(settings().DrawingSlotCount, 0);
    const int nextId = settings().NextJobId;
    Open(path);
    EXPECT_EQ(Slot().status, kSlotJob);
    EXPECT_EQ(Slot().jobId, nextId);
    EXPECT_EQ(Slot().changeCounter, 0);
    EXPECT_EQ(ProjectName(), FormatDrawingTag(nextId, 1, 0));
    ASSERT_EQ(Job().contourCount, 2);
    ASSERT_EQ(Job().contours.size(), 3u);
    EXPECT_EQ(Job().contours[0].handle, 0x1234u);
    EXPECT_DOUBLE_EQ(Job().contours[0].area, 78.5);
    EXPECT_EQ(Job().contours[1].kind, ContourKind::EngraveLine);
    EXPECT_EQ(Job().contours[1].closure, kClosureNoLeads) << "engraving takes no leads";
    EXPECT_EQ(Job().contours[2].role, kRoleStock);
    EXPECT_EQ(Job().baseOuter, 1u);
    EXPECT_EQ(Job().engraveCount, 1u);
    EXPECT_EQ(Job().programName, "P100");
    EXPECT_EQ(Job().pathGroupCount, 2);
    EXPECT_DOUBLE_EQ(Job().totalCutLength, 31.4);
    EXPECT_TRUE(MessageBoxTexts().empty());
}

// What an independent DXF reader finds of the job in a saved file: per "Kstr_ST"/"Kstr_0" text on NC_Laser, the
// number of "Kstr" items (the 1001 item included) and item 1.
std::string ReadJobTextsWithEzdxf(const std::filesystem::path& file) {
    const std::string script =
        "import ezdxf,sys\n"
        "doc=ezdxf.readfile(sys.argv[1])\n"
        "for e in doc.modelspace().query('TEXT[layer==\"NC_Laser\"]'):\n"
        "  t=e.dxf.text\n"
        "  if t in ('Kstr_ST','Kstr_0') and e.has_xdata('Kstr'):\n"
        "    x=e.get_xdata('Kstr')\n"
        "    print(t,len(x)+1,x[0].value)\n";
    const auto scriptFile = file.parent_path() / "read_job.py";
    std::ofstream(scriptFile) << script;
    const std::string command = "/usr/bin/python3 " + scriptFile.string() + " " + file.string() + " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

TEST_F(JobTest, ASavedJobIsReadableByAnotherDxfReader) {
    NewDrawing();
    PrepareDrawingJob(settings());
    const auto path = TempDir() / "for_ezdxf.dxf";
    std::string error;
    ASSERT_TRUE(host::ed::documents().save(*host::ed::documents().current(), path, &error)) << error;
    const std::string found = ReadJobTextsWithEzdxf(path);
    EXPECT_NE(found.find("Kstr_ST 61 2008.01"), std::string::npos) << found;
    EXPECT_NE(found.find("Kstr_0 17 " + std::to_string(Slot().jobId)), std::string::npos) << found;
}

// Saving brings the job up to date through the same preparation as a command, which makes "0" current: the file
// said $CLAYER "0" whatever layer the user was drawing on, and so did the session after the save.
TEST_F(JobTest, SavingADrawingWithAJobKeepsTheUsersCurrentLayer) {
    NewDrawing();
    PrepareDrawingJob(settings());
    ASSERT_FALSE(EnsureLayer(Working(), "Parts").isNull());
    ASSERT_EQ(SetSysVarString("CLAYER", "Parts"), host::db::RTNORM);
    const auto path = TempDir() / "current_layer.dxf";
    std::string error;
    ASSERT_TRUE(host::ed::documents().save(*host::ed::documents().current(), path, &error)) << error;
    std::string current;
    GetSysVarString("CLAYER", current);
    EXPECT_EQ(current, "Parts");

    const auto script = TempDir() / "read_clayer.py";
    std::ofstream(script) << "import ezdxf,sys\nprint(ezdxf.readfile(sys.argv[1]).header['$CLAYER'])\n";
    std::string out;
    if (FILE* pipe = popen(("/usr/bin/python3 " + script.string() + " " + path.string() + " 2>&1").c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    EXPECT_EQ(out, "Parts\n");
}

TEST_F(JobTest, SavingADrawingWithoutAJobChangesNothing) {
    NewDrawing();
    const auto path = TempDir() / "plain.dxf";
    std::string error;
    ASSERT_TRUE(host::ed::documents().save(*host::ed::documents().current(), path, &error)) << error;
    EXPECT_TRUE(Working().recordId(host::db::TableKind::Layer, "NC_Laser").isNull());
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
    EXPECT_EQ(Slot().status, kSlotNoJob);
}

TEST_F(JobTest, KindsWithoutLeadsAreStoredWithClosureTwo) {
    NewDrawing();
    PrepareDrawingJob(settings());
    const ContourKind kinds[] = {ContourKind::EngraveLine,       ContourKind::NoLeadIn,
                                 ContourKind::HeatTreatmentLine, ContourKind::EngraveAndMarkLine,
                                 ContourKind::MarkLine,          ContourKind::KindBase};
    CuttingJob& job = Job();
    job.contourCount = 6;
    job.contours.assign(7, ContourRecord{});
    for (int i = 0; i < 6; ++i) {
        job.contours[static_cast<std::size_t>(i)].kind = kinds[i];
        job.contours[static_cast<std::size_t>(i)].closure = kClosureOpen;
    }
    WriteJobData(settings());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(job.contours[static_cast<std::size_t>(i)].closure, kClosureNoLeads) << i;
    EXPECT_EQ(job.contours[5].closure, kClosureOpen);
    const ResBufList directory = XDataOf(Slot().directoryTextHandle);
    const host::db::Handle batch(static_cast<std::uint32_t>(directory[2].integer()),
                                 static_cast<std::uint32_t>(directory[1].integer()));
    const ResBufList stored = XDataOf(batch.value);
    ASSERT_EQ(stored.size(), 1u + 7u * 10u);
    EXPECT_EQ((stored[1].integer() >> 6) & 7, kClosureNoLeads);
}

TEST_F(JobTest, SplineSegmentsRaisedAtLoad) {
    for (auto [before, after] : {std::pair{4, 8}, std::pair{12, 12}}) {
        host::ed::documents().closeAll();
        NewDrawing();
        SetSysVarInt("SPLINESEGS", static_cast<short>(before));
        LoadJobTexts(settings());
        int value = 0;
        GetSysVarInt("SPLINESEGS", value);
        EXPECT_EQ(value, after) << before;
    }
}

TEST_F(JobTest, OnlyAKstrTextOnTheJobLayerAtTheOriginIsFound) {
    // two candidates that do not count, then a text without data, then the one, then a second one that stays
    auto read = host::dxf::readDxfFile(FixtureDir() / "nest_2008.dxf");
    ASSERT_TRUE(read);
    NewDrawing();
    Database& db = Working();
    AddKstrText(db, "Kstr_ST", {R(2008.0), L(2), L(0), S("x"), S("WRONG_LAYER.MAT")}, "0");
    AddKstrText(db, "Kstr_ST", {R(2008.0), L(2), L(0), S("x"), S("OFF_ORIGIN.MAT")}, "NC_Laser", {1, 0, 0});
    {
        auto plain = std::make_unique<host::db::Text>(Point3d{0, 0, 0}, "Kstr_ST", 0.0, 0.0);
        plain->setLayer(EnsureLayer(db, "NC_Laser"));
        ObjectPtr<host::db::BlockTableRecord> ms(db.modelSpaceId(), OpenMode::Write);
        ms->appendEntity(std::move(plain));
    }
    AddKstrText(db, "Kstr_ST", {R(2008.0), L(2), L(0), S("x"), S("FIRST.MAT")});
    AddKstrText(db, "Kstr_ST", {R(2008.0), L(2), L(0), S("x"), S("SECOND.MAT")});
    EXPECT_EQ(CollectJobTexts(settings()), kSlotNesting);
    EXPECT_EQ(Slot().materialName, "FIRST.MAT");
    EXPECT_EQ(TextsNamed("Kstr_ST").size(), 4u) << "the marker taken over is erased, the others stay";
}

TEST_F(JobTest, CollectTakesOverAMarkerAndErasesIt) {
    NewDrawing();
    WriteNestMarker(Working(), 2008.0, {S("SHEET.MAT"), S("77"), R(8.0e-06), R(3.0)});
    EXPECT_EQ(CollectJobTexts(settings()), kSlotNesting);
    EXPECT_EQ(Slot().status, kSlotNesting);
    EXPECT_EQ(Slot().materialName, "SHEET.MAT");
    EXPECT_EQ(Slot().materialNumber, "77");
    EXPECT_DOUBLE_EQ(Slot().density, 8.0e-06);
    EXPECT_DOUBLE_EQ(Slot().thickness, 3.0);
    EXPECT_TRUE(TextsNamed("Kstr_ST").empty());
}

// A sheet the nesting module has just drawn, cut at once: contour creation meets the marker (and erases it), then
// prepares the drawing's job. Before, the slot took the sheet's material but forgot it was a nesting result (its
// settings text, the marker, was gone), and the job was started with the settings' material and thickness until
// the drawing was opened again. A job started before the marker was met takes the sheet's material as well.
TEST_F(JobTest, AMarkerMetByContourCreationGivesTheSheetsMaterialToTheJob) {
    NewDrawing();
    WriteNestMarker(Working(), 2008.0, {S("SHEET.MAT"), S("77"), R(8.0e-06), R(3.0)});
    EXPECT_EQ(CollectJobTexts(settings()), kSlotNesting);
    ASSERT_EQ(PrepareDrawingJob(settings()), 0);
    const auto expectSheetMaterial = [&](const char* when) {
        ASSERT_NE(CurrentJob(settings()), nullptr) << when;
        const CuttingJob& job = *CurrentJob(settings());
        EXPECT_EQ(job.material, "SHEET.MAT") << when;
        EXPECT_EQ(job.materialNumber, "77") << when;
        EXPECT_DOUBLE_EQ(job.density, 8.0e-06) << when;
        EXPECT_DOUBLE_EQ(job.thickness, 3.0) << when;
    };
    expectSheetMaterial("collected, then prepared");

    NewDrawing();
    ASSERT_EQ(PrepareDrawingJob(settings()), 0);
    ASSERT_NE(CurrentJob(settings())->material, "SHEET.MAT");
    WriteNestMarker(Working(), 2008.0, {S("SHEET.MAT"), S("77"), R(8.0e-06), R(3.0)});
    EXPECT_EQ(CollectJobTexts(settings()), kSlotNesting);
    expectSheetMaterial("prepared, then collected");
    ASSERT_EQ(PrepareDrawingJob(settings()), 0);
    expectSheetMaterial("prepared again");
}

TEST_F(JobTest, CollectFindsNothingInADrawingWithoutJobTexts) {
    NewDrawing();
    EXPECT_EQ(CollectJobTexts(settings()), 0);
    EXPECT_EQ(Slot().status, kSlotNoJob);
}

TEST_F(JobTest, CollectOnANestingStartTakesTheLastNestingMaterial) {
    NewDrawing();
    auto key = host::reg::productKey();
    ASSERT_EQ(key.setString("LastNestingMaterial", "NEST.MAT"), host::reg::Status::Ok);
    ASSERT_EQ(key.setString("LastNestingMaterial_Num", "9"), host::reg::Status::Ok);
    ASSERT_EQ(key.setString("LastNestingMaterial_Thin", "6.000000"), host::reg::Status::Ok);
    ASSERT_EQ(key.setString("LastNestingMaterial_Density", "2.700000e-06"), host::reg::Status::Ok);
    Slot().locked = 1;
    EXPECT_EQ(CollectJobTexts(settings()), 0);
    EXPECT_EQ(Slot().materialName, "NEST.MAT");
    EXPECT_EQ(Slot().materialNumber, "9");
    EXPECT_DOUBLE_EQ(Slot().thickness, 6.0);
    EXPECT_DOUBLE_EQ(Slot().density, 2.7e-06);
}

TEST_F(JobTest, SettingsRecordCutsLongTextsAndStoresAnEmptyDrawingsFillRatioAsZero) {
    NewDrawing();
    PrepareDrawingJob(settings());
    Job().programName = std::string(30, 'P');
    Job().material = std::string(70, 'M') + ".MAT";
    Job().partFillRatio = std::nan("");   // 0/0 of a drawing without parts
    WriteJobData(settings());
    const ResBufList st = XDataOf(Slot().settingsTextHandle);
    ASSERT_EQ(st.size(), 61u);
    EXPECT_EQ(st[10].str(), std::string(19, 'P'));
    EXPECT_EQ(st[7].str().size(), 59u);
    EXPECT_DOUBLE_EQ(st[60].real(), 0.0);
    // and the drawing can still be saved
    std::string error;
    EXPECT_TRUE(host::ed::documents().save(*host::ed::documents().current(), TempDir() / "f.dxf", &error)) << error;
}

TEST_F(JobTest, ReadingAgainTakesTheMaterialOnlyFromAMaterialFileName) {
    struct Case {
        const char* stored;
        const char* expected;
    };
    const Case cases[] = {{"ALU.MAT", "ALU.MAT"}, {"alu.mat", "alu.mat"}, {"ALU", "KEEP.MAT"}, {".MAT", "KEEP.MAT"}};
    for (const Case& c : cases) {
        host::ed::documents().closeAll();
        NewDrawing();
        PrepareDrawingJob(settings());
        {
            const ObjectId st = Working().idFromHandle(host::db::Handle(Slot().settingsTextHandle));
            ObjectPtr<host::db::Text> t(st, OpenMode::Write);
            ResBufList list = t->xData("Kstr");
            list[7] = S(c.stored);
            ASSERT_EQ(t->setXData(list), host::db::Status::Ok);
        }
        Job().material = "KEEP.MAT";
        EXPECT_EQ(ReadJobSettings200801(settings()), 0);
        EXPECT_EQ(Job().material, c.expected) << c.stored;
    }
}

TEST_F(JobTest, StoredThicknessIsTakenOnlyWithinAFactorOfAThousand) {
    struct Case {
        double stored;
        double expected;
    };
    const Case cases[] = {{0.0, 1.0}, {5000.0, 1.0}, {3.0, 3.0}, {-2.0, 1.0}, {0.0005, 1.0}, {0.002, 0.002}};
    NewDrawing();
    PrepareDrawingJob(settings());
    const ObjectId st = Working().idFromHandle(host::db::Handle(Slot().settingsTextHandle));
    for (const Case& c : cases) {
        {
            ObjectPtr<host::db::Text> t(st, OpenMode::Write);
            ResBufList list = t->xData("Kstr");
            list[25] = R(c.stored);
            ASSERT_EQ(t->setXData(list), host::db::Status::Ok);
        }
        Job().thickness = 1.0;
        EXPECT_EQ(ReadJobSettings200801(settings()), 0);
        EXPECT_DOUBLE_EQ(Job().thickness, c.expected) << c.stored;
    }
}

}  // namespace
}  // namespace job_testing
