// The extras file beside the project file: designer and date kept, other
// modules' sections written back as read, a damaged file told but harmless.

#include "ProjectTestSupport.h"

#include "WordReader.h"

namespace {

class ProjectExtrasTest : public ProjectTest {};

}  // namespace

TEST_F(ProjectExtrasTest, DesignerDateAndOtherSectionsSurviveSaveAndOpen)
{
    Project->Designer = "A. Engineer";
    Project->DesignDate = "8 December 2026";
    Project->Extras.SetSection("loadTests", {{"tests", {1, 2, 3}}});
    const std::string projectText = Save("pile.kv3d");
    const auto extrasFile = Folder / "pile.kv3x";
    const auto json = nlohmann::json::parse(ReadText(extrasFile));
    EXPECT_EQ(json.at("schemaVersion"), TProjectExtras::SchemaVersion);
    EXPECT_EQ(json.at("project").at("designer"), "A. Engineer");

    // A section of a later feature, unknown here, comes back unchanged.
    auto edited = json;
    edited["studies"] = {{"runs", {{"name", "x"}}}};
    WriteText(extrasFile, edited.dump());
    Project = std::make_unique<TProgramData>(Tables);
    ASSERT_EQ(Open(PathOf("pile.kv3d")), "");
    EXPECT_TRUE(Project->ReadNotices.empty());
    EXPECT_EQ(Project->Designer, "A. Engineer");
    EXPECT_EQ(Project->DesignDate, "8 December 2026");
    EXPECT_EQ(Project->Extras.Section("loadTests").at("tests").size(), 3u);
    EXPECT_FALSE(Project->Changed());
    // The project file itself is what it always was.
    EXPECT_EQ(Save("pile.kv3d"), projectText);
    EXPECT_EQ(nlohmann::json::parse(ReadText(extrasFile)).at("studies"), edited.at("studies"));
}

TEST_F(ProjectExtrasTest, MissingMeansDefaultsDamagedIsToldAndTheProjectStillOpens)
{
    Project->Title = "Kept";
    Save("pile.kv3d");
    std::filesystem::remove(Folder / "pile.kv3x");
    ASSERT_EQ(Open(PathOf("pile.kv3d")), "");
    EXPECT_TRUE(Project->ReadNotices.empty());
    EXPECT_EQ(Project->Designer, "");

    for (const std::string damaged : {"{\"schemaVersion\": 1, \"project\": ", "[1, 2]", "{\"project\": {}}",
                                      "{\"schemaVersion\": 99}", "{\"schemaVersion\": 1, \"project\": 5}"}) {
        WriteText(Folder / "pile.kv3x", damaged);
        ASSERT_EQ(Open(PathOf("pile.kv3d")), "") << damaged;
        EXPECT_EQ(Project->Title, "Kept");
        ASSERT_EQ(Project->ReadNotices.size(), 1u) << damaged;
        EXPECT_NE(Project->ReadNotices[0].find(PathOf("pile.kv3x")), std::string::npos);
    }
}

TEST_F(ProjectExtrasTest, AnExtrasFileThatCannotBeWrittenFailsTheSaveAndKeepsTheChange)
{
    Save("pile.kv3d");
    std::filesystem::remove(Folder / "pile.kv3x");
    std::filesystem::create_directory(Folder / "pile.kv3x");  // in the way
    Project->Designer = "Changed";
    Project->SetChanged(true);
    EXPECT_THROW(Project->SaveToFile(), EInOutError);
    EXPECT_TRUE(Project->Changed());
}
