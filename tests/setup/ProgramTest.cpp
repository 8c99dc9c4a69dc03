#include "SheetFixture.h"
#include "setup/CTaviSetupApp.h"

#include <QDir>

namespace tavi::test {
namespace {

using setup::CTaviSetupApp;

TEST(Program, TheSettingsFileIsInThePanelFolderBelowTheProgramUnlessGiven) {
    EXPECT_EQ(CTaviSetupApp::settingsPath({"TaviSetup"}, "/sim"), "/sim/panel/tavi.ini");
    EXPECT_EQ(CTaviSetupApp::settingsPath({"TaviSetup", "--ini", "/fs/x/tavi.ini"}, "/sim"),
              "/fs/x/tavi.ini");
    EXPECT_EQ(CTaviSetupApp::settingsPath({"TaviSetup", "--ini=rel/tavi.ini"}, "/sim"),
              "rel/tavi.ini");
}

// Pictures of every page for people to look at, in the build folder.
TEST_F(SheetTest, EveryPageRendersToAPicture) {
    const std::filesystem::path folder = TAVI_SETUP_SCREENSHOTS;
    std::filesystem::create_directories(folder);
    openSheet();
    for (std::size_t index = 0; index < sheet->pages().size(); ++index) {
        setup::SettingsPage& page = openPage(sheet->pages()[index]->caption());
        const std::filesystem::path file =
            folder / (std::to_string(index + 1) + "-" +
                      page.caption().toLower().replace(' ', '-').toStdString() + ".png");
        std::filesystem::remove(file);
        const QPixmap picture = sheet->grab();
        ASSERT_FALSE(picture.isNull());
        ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "PNG"));
        EXPECT_GT(std::filesystem::file_size(file), 0u) << file;
    }
}

} // namespace
} // namespace tavi::test
