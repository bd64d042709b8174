// SPDX-License-Identifier: GPL-3.0-or-later
// The rooms of src/ and the arrows between them: an include may point down, never up. A room
// uses the platform interfaces and only the rooms it builds on; the Linux realisations are built
// by the programs' main() alone; the fakes are for the tests; the main window is included by its
// own units and main.cpp only.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Each room and the rooms its files may include, itself and the platform interfaces included.
const std::map<std::string, std::set<std::string>> kArrows = {
    {"platform", {"platform"}},
    {"platform/linux", {"platform", "platform/linux"}},
    {"platform/fake", {"platform", "platform/fake"}},
    {"recovery", {"platform", "recovery"}},
    {"sysinfo", {"platform", "sysinfo"}},
    {"monitor", {"platform", "monitor"}},
    {"hotkey", {"platform", "hotkey"}},
    {"widgets", {"platform", "hotkey", "widgets"}},
    {"settings", {"platform", "settings"}},
    {"news", {"platform", "news"}},
    {"cli", {"platform", "platform/linux", "recovery", "cli"}},
    {"app", {"platform", "platform/linux", "recovery", "sysinfo", "monitor", "hotkey", "widgets", "settings", "news",
             "app"}},
};

// The room a path under src/ belongs to ("platform/linux/X.cpp" -> "platform/linux"); the
// form's generated layout class belongs to the app.
std::string RoomOf(const std::string& path)
{
    if (path.rfind("ui_", 0) == 0)
        return "app";
    const std::string first = path.substr(0, path.find('/'));
    if (first == "platform") {
        for (const char* inner : {"platform/linux/", "platform/fake/"})
            if (path.rfind(inner, 0) == 0)
                return std::string(inner, std::string(inner).size() - 1);
    }
    return first;
}

// Why including `included` from `file` (both relative to src/) points the wrong way; empty when
// it does not.
std::string WrongWay(const std::string& file, const std::string& included)
{
    const std::string from = RoomOf(file);
    const std::string to = RoomOf(included);
    const auto arrows = kArrows.find(from);
    if (arrows == kArrows.end())
        return "a file in no room of the layout";
    if (!kArrows.count(to))
        return "an include of no room of the layout";
    if (!arrows->second.count(to))
        return from + " does not build on " + to;
    const std::string name = fs::path(file).filename().string();
    if (to == "platform/linux" && from != "platform/linux" && name != "main.cpp")
        return "only a program's main() builds the Linux realisations";
    if (included == "app/UMain.h" && name != "main.cpp" && name.rfind("UMain", 0) != 0)
        return "nothing but main.cpp includes the main window";
    return {};
}

TEST(Layering, TheRulesThemselvesSeeWhatPointsUp)
{
    EXPECT_EQ(WrongWay("app/UMain.cpp", "monitor/TrayIcon.h"), "");
    EXPECT_EQ(WrongWay("platform/linux/SqliteHive.cpp", "platform/Registry.h"), "");
    EXPECT_EQ(WrongWay("cli/main.cpp", "platform/linux/LinuxMemory.h"), "");
    EXPECT_EQ(WrongWay("widgets/HotKeyEdit.h", "hotkey/ShortCut.h"), "");
    EXPECT_EQ(WrongWay("app/UMainInfoPages.cpp", "app/UMain.h"), "");
    EXPECT_EQ(WrongWay("monitor/TrayIcon.cpp", "settings/AppRegistry.h"), "monitor does not build on settings");
    EXPECT_EQ(WrongWay("recovery/RamRecovery.cpp", "app/UMain.h"), "recovery does not build on app");
    EXPECT_EQ(WrongWay("platform/linux/LinuxMemory.cpp", "recovery/RamRecovery.h"), "platform/linux does not build on recovery");
    EXPECT_EQ(WrongWay("platform/Platform.h", "platform/linux/LinuxMemory.h"), "platform does not build on platform/linux");
    EXPECT_EQ(WrongWay("widgets/Gauge.cpp", "ui_UMain.h"), "widgets does not build on app");
    EXPECT_EQ(WrongWay("cli/RecoverRun.cpp", "widgets/Timer.h"), "cli does not build on widgets");
    EXPECT_EQ(WrongWay("app/UMain.cpp", "platform/fake/FakeMemory.h"), "app does not build on platform/fake");
    EXPECT_EQ(WrongWay("app/Application.cpp", "platform/linux/QtTrayHost.h"), "only a program's main() builds the Linux realisations");
    EXPECT_EQ(WrongWay("app/FormMenus.cpp", "app/UMain.h"), "nothing but main.cpp includes the main window");
    EXPECT_EQ(WrongWay("gui/Thing.cpp", "platform/Platform.h"), "a file in no room of the layout");
}

TEST(Layering, NoIncludeInTheSourcesPointsUp)
{
    const fs::path sources = MNEMORA_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(sources)) << sources;
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> wrong;
    int files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(sources)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp" && extension != ".in"))
            continue;
        ++files;
        const std::string file = fs::relative(entry.path(), sources).generic_string();
        std::ifstream text(entry.path());
        std::string line;
        for (int number = 1; std::getline(text, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, include))
                continue;
            const std::string why = WrongWay(file, match[1]);
            if (!why.empty())
                wrong.push_back(file + ":" + std::to_string(number) + ": " + match[1].str() + " (" + why + ")");
        }
    }
    EXPECT_GT(files, 100) << "the whole of src/ was read";
    EXPECT_THAT(wrong, ::testing::IsEmpty());
}

}  // namespace
