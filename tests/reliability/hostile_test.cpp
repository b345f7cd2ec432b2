// Hostile input comes back unchanged or is refused, never cut; bad stored rows, file modes, the fuzz corpus.
#include "reltest.hpp"

#include "fuzz/rowfuzz.hpp"
#include "kernel/kelkcon.hpp"
#include "objects/kelmtlpc.hpp"

#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace {

using namespace std::string_literals;

KelString B(std::string const& bytes) { return KelString(bytes); }

// Every byte value, many times over.
std::string EveryByte(std::size_t length)
{
    std::string s(length, '\0');
    for (std::size_t i = 0; i < length; ++i) s[i] = static_cast<char>((i * 7 + i / 256) & 0xff);
    return s;
}

class Hostile : public AdminDatabaseTest {};

// Texts a careless layer would mangle come back unchanged and distinct; parameter lists that would not split back
// are found, and one over 1024 bytes, written with the checks going on, comes back whole.
TEST_P(Hostile, NamesTextsAndParameterListsComeBackUnchangedAndDistinct)
{
    // clang-format off
    std::vector<std::string> const names = {"'); DROP TABLE kel_person; --"s, "\"quoted\" and ''doubled''"s, "nu\0l"s,
        "nu"s, "Zo\xc3\xab \xe6\x9d\xb1\xe4\xba\xac"s, "back\\slash\\' $1 ?1 :x"s, "tab\tnew\nline\r"s,
        "\xff\xfe\x80\x00 not utf-8"s, "bob"s, "bob "s, "Bob"s, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"s};
    // clang-format on
    std::string const description = EveryByte(64 * 1024);
    KelString const name = B(std::string("S'1;\0\xc3\xbc", 7)), group = S("G\"2%");
    KelString const user = B(std::string("u'\";\0\xe6\x9d\xb1", 8) + std::string(24, '-'));
    KelString const event = B(std::string(31, '\'') + ";");
    // Parameters without the separator, joined to exactly 1024 bytes.
    std::vector<std::string> parameters = {
        "'",    "\"", "\\", std::string("a\0b", 3), "\xce\xa9\xe6\x9d\xb1", "'), DROP TABLE kel_system_log --",
        "%s%n", ""};
    std::size_t joined = parameters.size() - 1;
    for (std::string const& p : parameters) joined += p.size();
    parameters.push_back(EveryByte(1024 - joined - 1));
    for (char& c : parameters.back())
        if (c == ';') c = ',';
    auto list = [](auto const& texts) {
        KelSystemLogRecord::Parameters out;
        for (auto const& p : texts) out.Append(KelString(p));
        return out;
    };
    std::vector<std::pair<std::vector<KelString>, std::string>> const bad = {
        {{S("a;b"), S("c")}, "parameter 1 contains ';'"},
        {{S("x"), S(";")}, "parameter 2 contains ';'"},
        {{S("")}, "reads back as no parameter"},
        {{S("a"), KelString()}, "parameter 2 is null"}};
    for (auto const& [texts, problem] : bad)
        EXPECT_NE(KelMessageParametersProblem(list(texts)).find(problem), std::string::npos) << problem;
    std::string const overlong(1025, 'x');
    std::vector<std::vector<KelString>> const good = {
        {}, {S(""), S("")}, {S("a"), S("")}, {S(""), S("b")}, {B(std::string("\0,\n", 3))}, {B(overlong)}};
    KelTOMForPersons& persons = tom->ForPersons();
    db->Begin();
    for (std::string const& n : names) {
        KelPersonData& person = persons.Create(KelTOMForPersonParms::CreateInpParm(B(n)));
        person.SetSystemGroup(B(n.substr(0, 8)));
        person.SetFirstName(B(n));
        person.SetDescription(B(description + n));
        persons.Save(person);
    }
    KelSystemData& system = tom->ForSystems().Create(KelTOMForSystemParms::CreateInpParm(KelSystemID(name, group)));
    system.SetQueueManager(user);
    tom->ForSystems().Save(system);
    KelOID const systemOid = system.OID();
    tom->ForSystemStates().Save(tom->ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(systemOid)));
    KelOID const instance = KelOID::Generate(), logOid = KelOID::Generate();
    tom->ForSvrInstances().Save(tom->ForSvrInstances().Create({instance, systemOid, KelSenderType::ExecSvr}));
    KelSystemLogRecord& log = tom->ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(logOid));
    log = AdminLogRecord(logOid, list(parameters), name, KelUserID(user, S("GRP1")), event);
    tom->ForSystemLogs().Flush();
    {
        KelContractRecorder recorder;
        for (auto const& texts : good) {
            EXPECT_EQ(KelMessageParametersProblem(list(texts)), "") << texts.size();
            KelOID const oid = KelOID::Generate();
            tom->ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid)) =
                AdminLogRecord(oid, list(texts));
        }
        tom->ForSystemLogs().Flush();
        EXPECT_TRUE(recorder.Has("_iMessageParameters == null ? true : _messageParameters.Length() <= 1024"));
    }
    Commit();

    db->Begin();
    std::vector<KelPersonData const*> all;
    persons.MaterializeAllForRead({}, all);
    EXPECT_EQ(all.size(), names.size()) << "two names met in one row";
    for (std::string const& n : names) {
        KelPersonData const& person = persons.MaterializeForRead({}, B(n));
        EXPECT_EQ(person.Name().Str(), n);
        EXPECT_EQ(person.FirstName().Str(), n);
        EXPECT_TRUE(person.Description().Str() == description + n) << "the description of " << n << " changed";
    }
    EXPECT_EQ(tom->ForSystems().MaterializeForRead({}, KelSystemID(name, group)).QueueManager(), user);
    EXPECT_EQ(tom->ForSystemStates().MaterializeForReadByName(name).ID(), systemOid);
    std::vector<KelSvrInstance const*> instances;
    tom->ForSvrInstances().MaterializeSvrsForRead(name, instances);
    ASSERT_EQ(instances.size(), 1u);
    EXPECT_EQ(instances[0]->ID(), instance);
    instances.clear();
    tom->ForSvrInstances().MaterializeSvrsForRead(B(std::string("S'1;", 4)), instances);
    EXPECT_TRUE(instances.empty()) << "a name cut at its NUL byte found the system";
    std::vector<KelSystemLogRecord const*> logs;
    tom->ForSystemLogs().MaterializeSystemLogRecordsForRead(name, logs);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(Texts(logs[0]->MessageParameters()) == parameters) << "the parameters changed";
    EXPECT_EQ(logs[0]->UserID().Name(), user);
    EXPECT_EQ(logs[0]->EventIdentifier(), event);
    logs.clear();
    tom->ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), logs);
    std::multiset<std::vector<std::string>> wanted, got;
    for (auto const& texts : good) wanted.insert(Texts(texts));
    for (KelSystemLogRecord const* r : logs) got.insert(Texts(r->MessageParameters()));
    EXPECT_TRUE(got == wanted) << "a list was refused, cut short or changed";
    Commit();
}

// A row stored against its record's rules is a "bad row" error naming the table, the key and the column.
TEST_P(Hostile, StoredRowsThatBreakTheirRulesAreBadRows)
{
    std::unique_ptr<KelDrvConnection> other = KelDrvOpen(url);
    struct Case {
        std::string table, column;
        KelBinary value;  // null: the integer 70000
        std::string key, why;
    };
    KelOID const oid = KelOID::Generate();
    std::string const logKey = "object_id=" + Printed(oid);
    std::vector<Case> const cases = {
        {"kel_system_log", "object_id", KelBinary("\x01\x02\x03\x04\x05", 5), "object_id=0102030405",
         "an OID of 5 bytes, not 16"},
        {"kel_system_log", "creation_time", B("2024-13-01-00.00.00.000000"), logKey,
         "a text of 26 bytes that is not a time"},
        {"kel_system_log", "user_id", B(std::string(33, 'u')), logKey, "a text of 33 bytes, over its limit of 32"},
        {"kel_system_log", "error_flag", KelBinary(), logKey, "a value of 70000, outside -32768 to 32767"},
        {"kel_person", "user_id", B(std::string(40, 'p')), "user_id=" + std::string(40, 'p'),
         "a text of 40 bytes, over its limit of 32"}};
    for (Case const& c : cases) {
        db->Begin();
        tom->ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(oid)) = AdminLogRecord(oid, {});
        tom->ForSystemLogs().Flush();
        tom->ForPersons().Save(tom->ForPersons().Create(KelTOMForPersonParms::CreateInpParm(S("short"))));
        Commit();
        std::unique_ptr<KelDrvStatement> update =
            other->Prepare("UPDATE " + c.table + " SET " + c.column + " = $1", "");
        c.value.IsNull() ? update->BindInt32(1, 70000) : update->BindBlob(1, c.value);
        update->Step();
        update.reset();
        db->Begin();
        auto e = Caught<KelDBException>([&] {
            std::vector<KelSystemLogRecord const*> logs;
            tom->ForSystemLogs().MaterializeSystemLogRecordsForRead(S("SYS1"), logs);
            std::vector<KelPersonData const*> persons;
            tom->ForPersons().MaterializeAllForRead({}, persons);
        });
        ASSERT_TRUE(e) << c.table << " " << c.column;
        EXPECT_STREQ(KelDBErrorCategory::Name(e->Category()), "bad row");
        EXPECT_FALSE(e->IsRetryable());
        EXPECT_EQ(e->Table(), c.table);
        EXPECT_EQ(e->Message(), "table " + c.table + ", key " + c.key + ", column " + c.column + ": " + c.why);
        db->Rollback();
        tom->TxnHasBeenCommitted();
        for (char const* table : {"kel_system_log", "kel_person"})
            other->Prepare(std::string("DELETE FROM ") + table, "")->Step();
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, Hostile, testing::Values("sqlite", "postgresql"), DatabaseName);

// A new database file and its -wal and -shm are private whatever the umask; an existing file keeps its mode.
TEST(HostileFile, NewDatabaseFilesArePrivate)
{
    auto mode = [](std::string const& file) {
        struct stat st {};
        return ::stat(file.c_str(), &st) == 0 ? st.st_mode & 0777 : 0u;
    };
    mode_t const before = ::umask(0);
    for (mode_t mask : {mode_t(0), mode_t(022)}) {
        AdminSqliteFile file;
        std::string const path = file.Url().substr(7);
        ::umask(mask);
        {
            std::unique_ptr<KelDatabase> db = KelDatabase::Open(file.Url());
            db->CreateSchema();
            EXPECT_EQ(mode(path), 0600u) << "umask " << mask;
            EXPECT_EQ(mode(path + "-wal"), 0600u) << "umask " << mask;
            EXPECT_EQ(mode(path + "-shm"), 0600u) << "umask " << mask;
        }
        ::chmod(path.c_str(), 0644);
        KelDatabase::Open(file.Url())->CreateSchema();
        EXPECT_EQ(mode(path), 0644u) << "an existing file changed its mode";
    }
    ::umask(before);
}

// The fuzz corpus and seeded random inputs convert without a difference, with round trips of every kind.
TEST(FuzzCorpus, ReplaysWithoutADifference)
{
    std::filesystem::path const corpus =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "fuzz" / "corpus";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    KelFuzzRowTarget target;
    std::size_t inputs = 0, differences = 0;
    std::string first;
    auto run = [&](std::string const& bytes, std::string const& name) {
        std::string const difference = target.Run(reinterpret_cast<std::uint8_t const*>(bytes.data()), bytes.size());
        if (!difference.empty() && differences++ == 0) first = name + ": " + difference;
    };
    for (auto const& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        run(std::string(std::istreambuf_iterator<char>(file), {}), entry.path().filename().string());
        ++inputs;
    }
    EXPECT_GT(inputs, 100u);
    std::mt19937 random(20240601);
    for (int i = 0; i < RelScaled(20000); ++i) {
        std::string bytes(random() % 3000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        run(bytes, "random input " + std::to_string(i));
    }
    EXPECT_EQ(differences, 0u) << "first: " << first;
    for (int kind = 0; kind < 5; ++kind) EXPECT_GT(target.RoundTrips(kind), 0u) << "kind " << kind;
    EXPECT_EQ(KelContract::Policy(), KelContractPolicy::Throw) << "the replay left the checks going on";
}

}  // namespace
