// README's commands run on a demo-seeded scratch database and exit 0; its demo excerpt is printed.
#include "toolrun.hpp"

#include <unistd.h>
#include <algorithm>
#include <regex>
#include <sstream>

TEST(Readme, EveryCommandShownRunsAndExitsZeroAndTheDemoExcerptIsWhatTheDemoPrints)
{
    std::string const readme = Slurp(KELDATOM_SOURCE_DIR "/README.md");
    std::filesystem::path const dir =
        std::filesystem::temp_directory_path() / ("kelatom-readme-" + std::to_string(::getpid()));
    auto fresh = [&] {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    };
    std::regex const quoted("`kelatom ([^`]*)`");
    std::vector<std::string> commands;
    for (std::sregex_iterator it(readme.begin(), readme.end(), quoted), end; it != end; ++it)
        if (std::find(commands.begin(), commands.end(), (*it)[1].str()) == commands.end())
            commands.push_back((*it)[1].str());
    EXPECT_GE(commands.size(), 8u) << "README shows the tool's commands";
    for (std::string const& args : commands) {
        fresh();
        ToolRun const seed = RunTool(dir, "init --demo");
        ASSERT_EQ(seed.code, 0) << seed.err;
        ToolRun const run = RunTool(dir, args);
        EXPECT_EQ(run.code, 0) << "kelatom " << args << "\n" << run.out << run.err;
    }

    std::size_t const start = readme.find("An excerpt of `kelatom demo`:");
    ASSERT_NE(start, std::string::npos);
    fresh();
    ToolRun const demo = RunTool(dir, "demo");
    std::filesystem::remove_all(dir);
    ASSERT_EQ(demo.code, 0) << demo.err;
    std::istringstream lines(readme.substr(start));
    std::string line;
    std::getline(lines, line);
    int shown = 0;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        if (line.rfind("    ", 0) != 0) break;  // the indented block ends
        ++shown;
        EXPECT_NE(demo.out.find(line.substr(4)), std::string::npos) << "not printed: " << line.substr(4);
    }
    EXPECT_GT(shown, 5);
}
