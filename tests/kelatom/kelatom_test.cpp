// The command-line tool run as a user runs it, in a scratch folder: exit codes, output, errors.
#include "db/dbtest.hpp"
#include "db/keldb.hpp"
#include "toolrun.hpp"

#include <nlohmann/json.hpp>

#include <thread>

namespace {

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

    ToolRun Tool(std::vector<std::string> const& args) { return RunTool(dir, args); }
    // Runs `copies` of the tool with the same arguments at once, each in a folder of its own.
    std::vector<ToolRun> ToolAtOnce(int copies, std::vector<std::string> const& args)
    {
        std::vector<ToolRun> runs(copies);
        std::vector<std::thread> threads;
        for (int i = 0; i < copies; ++i)
            threads.emplace_back([&, i] {
                std::filesystem::create_directories(dir / std::to_string(i));
                runs[i] = RunTool(dir / std::to_string(i), args);
            });
        for (std::thread& t : threads) t.join();
        return runs;
    }

    std::filesystem::path dir;
};

}  // namespace

// Refused log adds write nothing, JSON parses back; tables escape control and non-UTF-8 bytes, JSON keeps text exact.
TEST_F(Kelatom, FailedLogAddLeavesNoRowJsonParsesBackAndTablesEscapeWhatATerminalWouldObey)
{
    ASSERT_EQ(Tool({"init", "--demo"}).code, 0);
    ToolRun added = Tool({"--json", "log", "add", "SYS1", "--message", "08", "--param", "a,b", "--param", "O'Brien"});
    ASSERT_EQ(added.code, 0) << added.err;
    EXPECT_EQ(nlohmann::json::parse(added.out)["message"], 8);

    // A list that would not read back as given is refused before anything is written.
    ToolRun refusedList = Tool({"log", "add", "SYS1", "--message", "9", "--param", "a;b", "--param", "c"});
    EXPECT_EQ(refusedList.code, 2) << refusedList.out;
    EXPECT_EQ(refusedList.err.rfind("--param: message parameter 1 contains ';'", 0), 0u) << refusedList.err;

    ToolRun refused = Tool({"log", "add", "SYS1", "--message", "8", "--param", std::string(1100, 'x')});
    EXPECT_EQ(refused.code, 2) << refused.err;
    EXPECT_NE(refused.err.find("_messageParameters.Length() <= 1024"), std::string::npos) << refused.err;

    ToolRun listed = Tool({"--json", "log", "list", "SYS1"});
    ASSERT_EQ(listed.code, 0) << listed.err;
    auto records = nlohmann::json::parse(listed.out);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["parameters"], (nlohmann::json{"a,b", "O'Brien"}));

    ToolRun locks = Tool({"--json", "locks", "list", "OPERATOR"});
    ASSERT_EQ(locks.code, 0) << locks.err;
    EXPECT_EQ(nlohmann::json::parse(locks.out).size(), 3u);
    ToolRun instances = Tool({"--json", "instances", "list", "SYS1", "--for-update"});
    ASSERT_EQ(instances.code, 0) << instances.err;
    EXPECT_TRUE(nlohmann::json::parse(instances.out).is_array());

    std::string const title = "\x1b]0,pwned\x07", kept = "Zo\xc3\xab";
    ASSERT_EQ(Tool({"log", "add", "SYS1", "--message", "1", "--param", title}).code, 0);
    ToolRun json = Tool({"--json", "log", "list", "SYS1"});
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_NE(json.out.find("\\u001b]0,pwned\\u0007"), std::string::npos) << json.out;
    EXPECT_EQ(nlohmann::json::parse(json.out)[1]["parameters"][0], title);

    // Bytes that are not UTF-8 are stored once as given; JSON shows them replaced.
    added = Tool(
        {"--json", "log", "add", "SYS1", "--message", "2", "--param", "\xff\xc2\x9b" + kept, "--param", "caf\xe9"});
    EXPECT_EQ(added.code, 0) << added.err;
    records = nlohmann::json::parse(Tool({"--json", "log", "list", "SYS1"}).out);
    ASSERT_EQ(records.size(), 3u) << "each record stored once";
    EXPECT_EQ(records[2]["parameters"][1], "caf\xef\xbf\xbd");
    ToolRun table = Tool({"log", "list", "SYS1"});
    ASSERT_EQ(table.code, 0) << table.err;
    EXPECT_NE(table.out.find("\\x1b]0,pwned\\x07"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("\\xff\\xc2\\x9b" + kept), std::string::npos) << table.out;
    for (char c : table.out) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);

    // Messages on stderr quote the user's text escaped too.
    ToolRun missing = Tool({"state", "show", title});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("\\x1b]0,pwned\\x07"), std::string::npos) << missing.err;
    for (char c : missing.err) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}

// Eight at once on one database (and PostgreSQL): all succeed, one seeds, one releases, each transaction counts once.
TEST_F(Kelatom, EightProcessesAtOnceAllSucceedAndTheTablesAddUp)
{
    std::vector<std::string> urls = {"sqlite:" + (dir / "kelatom.db").string()};
    std::unique_ptr<PgTestSchema> empty;
    if (PgUrl()) {
        empty = std::make_unique<PgTestSchema>(PgUrl(), "_tool");
        urls.push_back(empty->Url());
    }
    int const rounds = 3, copies = 8;
    for (std::string const& url : urls) {
        for (ToolRun const& run : ToolAtOnce(copies, {"--db", url, "init"})) EXPECT_EQ(run.code, 0) << run.err;
        int seeded = 0, released = 0;
        for (int round = 0; round < rounds; ++round)
            for (ToolRun const& run : ToolAtOnce(copies, {"--db", url, "demo"})) {
                EXPECT_EQ(run.code, 0) << run.err;
                seeded += run.out.find("seeded the demonstration topology") != std::string::npos;
                released += run.out.find("OPERATOR held 3 locks; released them") != std::string::npos;
            }
        EXPECT_EQ(seeded, 1) << url;
        EXPECT_EQ(released, 1) << url;
        auto count = [&](std::vector<std::string> args) {
            args.insert(args.begin(), {"--db", url, "--json"});
            ToolRun run = Tool(args);
            EXPECT_EQ(run.code, 0) << run.err;
            return run.code == 0 ? nlohmann::json::parse(run.out).size() : 0;
        };
        EXPECT_EQ(count({"log", "list", "SYS1"}), std::size_t(3 * rounds * copies)) << url;
        EXPECT_EQ(count({"log", "list", "SYS1", "--errors"}), std::size_t(rounds * copies)) << url;
        EXPECT_EQ(count({"instances", "list", "SYS1"}), 3u) << url;
        EXPECT_EQ(count({"locks", "list", "OPERATOR"}), 0u) << url;
        ToolRun state = Tool({"--db", url, "--json", "state", "show", "SYS1"});
        EXPECT_EQ(nlohmann::json::parse(state.out)["state"], "Stopped") << state.err;
    }
}

// Another connection holding the write lock: reads answer at once, writes report busy after their attempts.
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
    writer.reset();
    EXPECT_EQ(Tool({"--lock-timeout", "0", "log", "add", "SYS1", "--message", "5"}).code, 0);

    // With a read database the reads go there and the writes stay with --db.
    std::filesystem::copy_file(dir / "kelatom.db", dir / "standby.db");
    std::string const standby = "sqlite:" + (dir / "standby.db").string();
    EXPECT_EQ(Tool({"--read-db", standby, "log", "add", "SYS1", "--message", "6"}).code, 0);
    ToolRun reads = Tool({"--json", "--read-db", standby, "log", "list", "SYS1"});
    ToolRun writes = Tool({"--json", "log", "list", "SYS1"});
    EXPECT_EQ(nlohmann::json::parse(writes.out).size(), nlohmann::json::parse(reads.out).size() + 1) << reads.out;
}

// Not found and not locked exit 1, usage errors 2; option values are parsed whole, else refused naming the value.
TEST_F(Kelatom, NotFoundAndUsageExitCodesAndOptionValuesParsedWhole)
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
    for (std::string trace : {"level=abc", "components=0xZZ", "categories=1e5", "level=3;components=1", "xt=1", "x",
                              "level=flows", "components=cache+", "categories=raise+0x1"}) {
        ToolRun run = Tool({"--trace", trace, "state", "show", "SYS1"});
        EXPECT_EQ(run.code, 2) << trace;
        EXPECT_EQ(run.err.rfind("--trace: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(trace.substr(0, trace.find('='))), std::string::npos) << run.err;
    }
    for (std::string message : {"", "0x10", "1e5", " 1", "2147483648", "7x"}) {
        ToolRun run = Tool({"log", "add", "SYS1", "--message", message});
        EXPECT_EQ(run.code, 2) << message;
        EXPECT_EQ(run.err.rfind("--message: '" + message + "' is not a decimal number", 0), 0u) << run.err;
    }
    ToolRun traced = Tool({"--trace", "level=0,components=0x4,categories=2,xt", "state", "show", "SYS1"});
    EXPECT_EQ(traced.code, 0) << traced.err;
    // Names stand for exactly the numbers.
    ToolRun numbered = Tool({"--trace", "level=3,components=0x18,categories=0x3", "state", "show", "SYS1"});
    ToolRun named =
        Tool({"--trace", "level=flow,components=cache+rows,categories=flow+raise", "state", "show", "SYS1"});
    EXPECT_EQ(named.code, 0) << named.err;
    EXPECT_NE(numbered.err, "");
    EXPECT_EQ(named.err, numbered.err);
    EXPECT_TRUE(nlohmann::json::parse(Tool({"--json", "log", "list", "SYS1"}).out).empty());
}
