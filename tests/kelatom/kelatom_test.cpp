// The command-line tool run as a user runs it: the built program in a scratch folder, its
// exit code, standard output and standard error.
#include "db/dbtest.hpp"
#include "db/keldb.hpp"

#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

class Kelatom : public testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("kelatom-test-" + std::to_string(::getpid()) + "-" +
                                                        testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // One argument for the shell, as it stands.
    static std::string Quote(std::string const& a)
    {
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    // Runs the tool with the arguments (each quoted) in the scratch folder.
    ToolRun Tool(std::vector<std::string> const& args)
    {
        std::string command = "cd '" + dir.string() + "' && '" KELATOM_PATH "'";
        for (auto const& a : args) command += " " + Quote(a);
        int const status = std::system((command + " >stdout 2>stderr").c_str());
        return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(dir / "stdout"), Slurp(dir / "stderr")};
    }
    // Runs `copies` of the tool with the same arguments at once; each its own result.
    std::vector<ToolRun> ToolAtOnce(int copies, std::vector<std::string> const& args)
    {
        std::string command = "cd '" + dir.string() + "' && for i in $(seq " + std::to_string(copies) + "); do ('" +
                              KELATOM_PATH "'";
        for (auto const& a : args) command += " " + Quote(a);
        command += " >stdout.$i 2>stderr.$i; echo $? >rc.$i) & done; wait";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::vector<ToolRun> runs;
        for (int i = 1; i <= copies; ++i) {
            std::string n = std::to_string(i);
            std::string rc = Slurp(dir / ("rc." + n));
            runs.push_back(ToolRun{rc.empty() ? -1 : std::stoi(rc), Slurp(dir / ("stdout." + n)),
                                   Slurp(dir / ("stderr." + n))});
        }
        return runs;
    }
    static std::string Slurp(std::filesystem::path const& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir;
};

}  // namespace

TEST_F(Kelatom, DemoTwiceOnOneDatabaseFile)
{
    ToolRun first = Tool({"demo"});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_NE(first.out.find("seeded the demonstration topology"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("OPERATOR held 3 locks; released them"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("database calls made:"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "kelatom.db"));

    ToolRun second = Tool({"demo"});
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_NE(second.out.find("the demonstration topology is there already"), std::string::npos);
    EXPECT_NE(second.out.find("3 log records from earlier runs"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("SYS1 has 6 system log records (3 from earlier runs) and 2 error log records"),
              std::string::npos)
        << second.out;
}

TEST_F(Kelatom, NotFoundAndUsageExitCodes)
{
    ASSERT_EQ(Tool({"init", "--demo"}).code, 0);
    ToolRun unknown = Tool({"state", "show", "NOSUCH"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("KelTOMNotFoundException"), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find(" SysName=NOSUCH"), std::string::npos) << unknown.err;

    EXPECT_EQ(Tool({"state"}).code, 2);
    EXPECT_EQ(Tool({"locks", "release", "OPERATOR", "planet", "X"}).code, 2);
    EXPECT_EQ(Tool({"--help"}).code, 0);

    ToolRun notLocked = Tool({"locks", "release", "ADMIN", "role", "OPERATORS"});
    EXPECT_EQ(notLocked.code, 1);
    EXPECT_NE(notLocked.err.find("RoleName OPERATORS not locked by with name: ADMIN"), std::string::npos)
        << notLocked.err;
    EXPECT_EQ(Tool({"locks", "release", "OPERATOR", "role", "OPERATORS"}).code, 0);
    EXPECT_EQ(Tool({"locks", "release", "OPERATOR", "role", "OPERATORS"}).code, 1);
}

TEST_F(Kelatom, FailedLogAddLeavesNoRowAndJsonParsesBack)
{
    ASSERT_EQ(Tool({"init", "--demo"}).code, 0);
    ToolRun added = Tool({"--json", "log", "add", "SYS1", "--message", "7", "--param", "a;b", "--param", "O'Brien"});
    ASSERT_EQ(added.code, 0) << added.err;
    auto json = nlohmann::json::parse(added.out);
    EXPECT_EQ(json["message"], 7);

    ToolRun refused = Tool({"log", "add", "SYS1", "--message", "8", "--param", std::string(1100, 'x')});
    EXPECT_EQ(refused.code, 2) << refused.err;
    EXPECT_NE(refused.err.find("_messageParameters.Length() <= 1024"), std::string::npos) << refused.err;

    ToolRun listed = Tool({"--json", "log", "list", "SYS1"});
    ASSERT_EQ(listed.code, 0) << listed.err;
    auto records = nlohmann::json::parse(listed.out);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["parameters"], (nlohmann::json{"a", "b", "O'Brien"}));

    ToolRun locks = Tool({"--json", "locks", "list", "OPERATOR"});
    ASSERT_EQ(locks.code, 0) << locks.err;
    EXPECT_EQ(nlohmann::json::parse(locks.out).size(), 3u);
    ToolRun instances = Tool({"--json", "instances", "list", "SYS1", "--for-update"});
    ASSERT_EQ(instances.code, 0) << instances.err;
    EXPECT_TRUE(nlohmann::json::parse(instances.out).is_array());
}

TEST_F(Kelatom, RunsOnPostgreSQL)
{
    if (!PgUrl()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    std::string url = PgUrl();
    ToolRun demo = Tool({"--db", url, "demo"});
    ASSERT_EQ(demo.code, 0) << demo.err;
    ToolRun state = Tool({"--db", url, "--json", "state", "show", "SYS1"});
    ASSERT_EQ(state.code, 0) << state.err;
    EXPECT_EQ(nlohmann::json::parse(state.out)["state"], "Stopped");
    EXPECT_EQ(Tool({"--db", url, "state", "show", "NOSUCH"}).code, 1);
}

// Many administration servers start at once on one database and run their transactions
// at the same time: every process succeeds (deadlocks and busy waits are retried) and
// every transaction is counted once.
TEST_F(Kelatom, EightProcessesAtOnceAllSucceedAndTheTablesAddUp)
{
    std::vector<std::string> urls = {"sqlite:kelatom.db"};
    std::unique_ptr<PgTestSchema> empty;
    if (PgUrl()) {
        empty = std::make_unique<PgTestSchema>(PgUrl(), "_tool");
        urls.push_back(empty->Url());
    }
    int const rounds = 3, copies = 8;
    for (std::string const& url : urls) {
        for (ToolRun const& run : ToolAtOnce(copies, {"--db", url, "init"})) EXPECT_EQ(run.code, 0) << run.err;
        for (int round = 0; round < rounds; ++round)
            for (ToolRun const& run : ToolAtOnce(copies, {"--db", url, "demo"})) EXPECT_EQ(run.code, 0) << run.err;
        auto count = [&](std::vector<std::string> args) {
            args.insert(args.begin(), {"--db", url, "--json"});
            ToolRun run = Tool(args);
            EXPECT_EQ(run.code, 0) << run.err;
            return run.code == 0 ? nlohmann::json::parse(run.out).size() : 0;
        };
        // Each demo adds three system log records and one error log record; the
        // instances are made once.
        EXPECT_EQ(count({"log", "list", "SYS1"}), std::size_t(3 * rounds * copies)) << url;
        EXPECT_EQ(count({"log", "list", "SYS1", "--errors"}), std::size_t(rounds * copies)) << url;
        EXPECT_EQ(count({"instances", "list", "SYS1"}), 3u) << url;
        EXPECT_EQ(count({"locks", "list", "OPERATOR"}), 0u) << url;
    }
}

// With another connection holding SQLite's write lock, a reading command answers at once
// and a writing one reports busy once its attempts are spent.
TEST_F(Kelatom, ReadersDoNotWaitForAWriterAndWritersGiveUpAfterTheirRetries)
{
    ASSERT_EQ(Tool({"init", "--demo"}).code, 0);
    std::unique_ptr<KelDatabase> writer = KelDatabase::Open("sqlite:" + (dir / "kelatom.db").string());
    writer->Begin();
    for (auto const& args : std::vector<std::vector<std::string>>{{"state", "show", "SYS1"},
                                                                  {"instances", "list", "SYS1"},
                                                                  {"log", "list", "SYS1"},
                                                                  {"locks", "list", "OPERATOR"}}) {
        std::vector<std::string> all = {"--lock-timeout", "0"};
        all.insert(all.end(), args.begin(), args.end());
        ToolRun run = Tool(all);
        EXPECT_EQ(run.code, 0) << args[0] << ": " << run.err;
    }
    ToolRun add = Tool({"--lock-timeout", "0", "--retries", "1", "log", "add", "SYS1", "--message", "5"});
    EXPECT_EQ(add.code, 3);
    EXPECT_NE(add.err.find("Category=busy, Retryable=yes"), std::string::npos) << add.err;
    EXPECT_NE(add.err.find("after 2 attempts"), std::string::npos) << add.err;
    writer->Rollback();
    EXPECT_EQ(Tool({"--lock-timeout", "0", "log", "add", "SYS1", "--message", "5"}).code, 0);
}

// Bytes that are not UTF-8 are stored as given; printing them can fail neither the
// committed write nor the listing.
TEST_F(Kelatom, ParameterThatIsNotUtf8IsStoredOnceAndListed)
{
    ASSERT_EQ(Tool({"init", "--demo"}).code, 0);
    ToolRun added = Tool({"log", "add", "SYS1", "--message", "80", "--param", "caf\xe9"});
    EXPECT_EQ(added.code, 0) << added.err;
    ToolRun json = Tool({"--json", "log", "add", "SYS1", "--message", "81", "--param", "caf\xe9"});
    EXPECT_EQ(json.code, 0) << json.err;
    ToolRun listed = Tool({"--json", "log", "list", "SYS1"});
    ASSERT_EQ(listed.code, 0) << listed.err;
    auto records = nlohmann::json::parse(listed.out);
    ASSERT_EQ(records.size(), 2u) << "each record stored once";
    EXPECT_EQ(records[0]["parameters"], nlohmann::json::array({"caf\xef\xbf\xbd"}));
    EXPECT_EQ(Tool({"log", "list", "SYS1"}).code, 0);
}
