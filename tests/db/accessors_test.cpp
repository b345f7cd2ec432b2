// Table accessors on every database: rows round-trip with their nulls, cursors filter, failures name table and key.
#include "db/keldb.hpp"
#include "db/keldbexc.hpp"
#include "db/keldsdf.hpp"
#include "db/keldsdom.hpp"
#include "db/keldsper.hpp"
#include "db/keldsrol.hpp"
#include "db/keldssvr.hpp"
#include "db/keldssys.hpp"

#include "tests/admin/admintest.hpp"

#include <sstream>
#include <vector>

namespace {

KelBinary Oid(int n) { return TestOid(0xA0, static_cast<unsigned char>(n)).AsBinary(); }

// The printed members without the first line, which holds the row's address.
template <class R>
std::string Members(R const& row)
{
    std::ostringstream os;
    row.PrintMembers(os);
    std::string text = os.str();
    return text.substr(text.find('\n', 1));
}

// Inserts the row and reads it back by its key: the printed columns are the same.
template <class R, class A, class K>
R RoundTrip(A& accessor, R const& row, K const& key)
{
    accessor.insert(row);
    R back;
    EXPECT_TRUE(accessor.seluni(key, back)) << Members(row);
    EXPECT_EQ(Members(row), Members(back));
    return back;
}

// A short label of a row's key: the last byte of an OID, or the name.
std::string Label(KelOID const& key) { return std::to_string(key.Bytes()[15]); }
std::string Label(KelString const& key) { return key.Str(); }

// The labels of a cursor's rows; copies of the one buffer read into must not change as it is reused.
template <class R, class A, class Open, class Fetch, class Close, class... Args>
std::string Walk(A& a, Open open, Fetch fetch, Close close, Args const&... args)
{
    std::vector<std::pair<R, std::string>> kept;
    R row;
    for (bool more = (a.*open)(args..., row); more; more = (a.*fetch)(row)) kept.emplace_back(row, Members(row));
    EXPECT_FALSE((a.*fetch)(row)) << "a finished cursor started again";
    (a.*close)();
    EXPECT_FALSE((a.*fetch)(row)) << "a closed cursor returned a row";
    std::string labels;
    for (auto const& [copy, printed] : kept) {
        EXPECT_EQ(printed, Members(copy)) << "a later read changed an earlier row";
        labels += Label(copy.Key()) + " ";
    }
    return labels;
}

KEL_SVR_INSTANCE_STATE Instance(int oid, int system, bool nulls)
{
    return KEL_SVR_INSTANCE_STATE(Oid(oid), KelString("2024-05-06-07.08.09.101112"), Oid(system), 3, 2,
                                  KelString("2024-05-06-07.08.10.000000"), nulls ? -1 : 0, 5, nulls ? -1 : 0);
}

KEL_SYSTEM_LOG SystemLog(int oid, char const* system, bool nulls)
{
    short const i = nulls ? -1 : 0;
    // The creation time and parameters differ from row to row: a read in place shows.
    KelString const created = KelString("2024-05-06-07.08.09.00000") |= std::to_string(oid % 10).c_str();
    return KEL_SYSTEM_LOG(Oid(oid), created, KelString(system), KelString("GRP"), 4711, 2, 1, 9, i, 1, 3, i, 4, i, 17,
                          i, KelString("EVT-1"), i, KelString("ADMIN"), i, KelString(std::string(oid % 3 + 1, 'p')), i);
}

KEL_ERROR_LOG ErrorLog(int oid, char const* system, int systemLog, bool nulls)
{
    short const i = nulls ? -1 : 0;
    return KEL_ERROR_LOG(Oid(oid), KelString("2024-05-06-07.08.09.000002"), KelString(system), KelString("GRP"),
                         Oid(systemLog), 3, 1, 2, 6, i, 7, 1, 8, i, 9, i, KelString("2024-05-06-07.08.09.000003"),
                         KelString("kelfile.cpp"), i, 123, i, KelString("component"), KelString("it broke"));
}

KEL_SYSTEM System(int oid, char const* name, char const* group)
{
    KEL_SYSTEM row;
    row._oid = Oid(oid);
    row._systemName = KelString(name);
    row._systemGroupName = KelString(group);
    return row;
}

class Accessors : public AdminDatabaseTest {};

TEST_P(Accessors, StateAndLogRowsRoundTripWithTheirNullIndicators)
{
    KelDatabase::SystemState& states = db->systemState();
    // -1 stores NULL; any other indicator (-2 here) stores the value.
    KEL_SYSTEM_STATE const rows[] = {{Oid(1), "2024-01-02-03.04.05.000006", 0, 3},
                                     {Oid(2), "", -1, 4},
                                     {Oid(3), "2024-01-02-03.04.05.000007", -2, 5}};
    for (auto const& row : rows)
        EXPECT_EQ(row._iAdminSvrStart == -1 ? -1 : 0, RoundTrip(states, row, row.Key())._iAdminSvrStart);

    KEL_SYSTEM_STATE changed(Oid(2), "2024-12-31-23.59.59.999999", 0, 6);
    EXPECT_TRUE(states.updcli(changed.Key(), changed));
    EXPECT_FALSE(states.updcli(KelOID(Oid(9)), changed));
    KEL_SYSTEM_STATE read;
    ASSERT_TRUE(states.selupd(changed.Key(), read));
    EXPECT_EQ(Members(changed), Members(read));
    EXPECT_TRUE(states.dbadel(changed.Key()));
    EXPECT_FALSE(states.dbadel(changed.Key()));
    EXPECT_FALSE(states.selupd(changed.Key(), read));

    KelDatabase::SvrInstanceState& instances = db->svrInstanceState();
    for (bool nulls : {true, false}) {
        KEL_SVR_INSTANCE_STATE row = Instance(nulls ? 11 : 12, 1, nulls);
        EXPECT_EQ(nulls ? -1 : 0, RoundTrip(instances, row, row.Key())._iLastStateChange);
        KEL_SYSTEM_LOG log = SystemLog(nulls ? 1 : 2, "SYSA", nulls);
        EXPECT_EQ(nulls ? -1 : 0, RoundTrip(db->systemLog(), log, log.Key())._iMessageParameters);
        KEL_ERROR_LOG error = ErrorLog(nulls ? 1 : 2, "SYSA", 1, nulls);
        EXPECT_EQ(nulls ? -1 : 0, RoundTrip(db->errorLog(), error, error.Key())._iErrorFile);
    }
}

TEST_P(Accessors, CursorsSelectWhatTheirFilterNamesInKeyOrderAndFailuresNameTableAndKey)
{
    db->system().insert(System(101, "SYSA", "G1"));
    db->system().insert(System(102, "SYSB", "G1"));
    KelDatabase::SvrInstanceState& instances = db->svrInstanceState();
    instances.insert(Instance(3, 101, false));
    instances.insert(Instance(2, 102, true));
    instances.insert(Instance(1, 101, true));
    using I = KelDatabase::SvrInstanceState;
    using IR = KEL_SVR_INSTANCE_STATE;
    EXPECT_EQ("1 3 ", Walk<IR>(instances, &I::selSystemNameOpenFetch, &I::selSystemNameFetch, &I::selSystemNameClose,
                               KelString("SYSA")));
    EXPECT_EQ("2 ",
              Walk<IR>(instances, &I::selSystemOIDOpenFetch, &I::selSystemOIDFetch, &I::selSystemOIDClose, Oid(102)));
    EXPECT_EQ("1 3 ", Walk<IR>(instances, &I::selupdSystemOIDOpenFetch, &I::selupdSystemOIDFetch,
                               &I::selupdSystemOIDClose, Oid(101)));
    EXPECT_EQ("1 2 3 ", Walk<IR>(instances, &I::selallOpenFetch, &I::selallFetch, &I::selallClose));
    EXPECT_EQ("1 2 3 ", Walk<IR>(instances, &I::selualOpenFetch, &I::selualFetch, &I::selualClose));

    // The state of a system is found by the system's name, through the system table.
    db->systemState().insert(KEL_SYSTEM_STATE(Oid(102), "", -1, 4));
    KEL_SYSTEM_STATE state;
    EXPECT_TRUE(db->systemState().seluniByName(KelString("SYSB"), state));
    EXPECT_EQ(KelOID(Oid(102)), state.Key());
    EXPECT_FALSE(db->systemState().seluniByName(KelString("SYSA"), state));

    KelDatabase::SystemLog& logs = db->systemLog();
    logs.insert(SystemLog(7, "SYSA", true));
    logs.insert(SystemLog(5, "SYSB", false));
    logs.insert(SystemLog(6, "SYSA", false));
    using L = KelDatabase::SystemLog;
    EXPECT_EQ("6 7 ", Walk<KEL_SYSTEM_LOG>(logs, &L::selSystemNameOpenFetch, &L::selSystemNameFetch,
                                           &L::selSystemNameClose, KelString("SYSA")));

    KelDatabase::ErrorLog& errors = db->errorLog();
    errors.insert(ErrorLog(8, "SYSA", 6, false));
    errors.insert(ErrorLog(9, "SYSB", 5, true));
    errors.insert(ErrorLog(10, "SYSA", 7, true));
    using E = KelDatabase::ErrorLog;
    EXPECT_EQ("8 10 ", Walk<KEL_ERROR_LOG>(errors, &E::selSystemNameOpenFetch, &E::selSystemNameFetch,
                                           &E::selSystemNameClose, KelString("SYSA")));
    EXPECT_EQ("9 ", Walk<KEL_ERROR_LOG>(errors, &E::selSystemLogIDOpenFetch, &E::selSystemLogIDFetch,
                                        &E::selSystemLogIDClose, Oid(5)));

    KelDatabase::Person& persons = db->person();
    for (char const* name : {"carol", "alice", "bob"}) {
        KEL_PERSON p;
        p._oid = Oid(name[0]);
        p._userId = KelString(name);
        if (name[0] != 'b') p._lockholderName = KelString("boss"), p._iLockholderName = 0;
        persons.insert(p);
    }
    using P = KelDatabase::Person;
    EXPECT_EQ("alice carol ", Walk<KEL_PERSON>(persons, &P::selectLckhldrOpenFetch, &P::selectLckhldrFetch,
                                               &P::selectLckhldrClose, KelString("boss")));

    // Failures name the table and the key.
    auto e = Caught<KelDBException>([&] { db->systemState().insert(KEL_SYSTEM_STATE(Oid(102), "", -1, 1)); });
    ASSERT_TRUE(e) << "a duplicate row was inserted";
    EXPECT_NE(std::string::npos, e->What().find("Table=kel_system_state, Key=" + Printed(KelOID(Oid(102)))));
    // The same OID is unique among systems even under another name.
    e = Caught<KelDBException>([&] { db->system().insert(System(101, "SYSC", "G1")); });
    ASSERT_TRUE(e) << "a duplicate OID was inserted";
    EXPECT_EQ(KelDBErrorCategory::ConstraintViolation, e->Category());
    EXPECT_EQ("kel_system", e->Table());
    EXPECT_NE(std::string::npos, e->Key().find("SYSC"));
}

// A second reader for update of a locked row times out, retryably, and gets it once the holder commits.
TEST_P(Accessors, RowLockHolderMakesSecondReaderTimeOut)
{
    if (!IsPostgres()) GTEST_SKIP() << "SQLite locks the whole database";
    KEL_SYSTEM_STATE const row(Oid(1), "", -1, 1);
    db->systemState().insert(row);
    std::unique_ptr<KelDatabase> other = KelDatabase::Open(url);
    other->SetLockTimeout(std::chrono::milliseconds(50));

    KEL_SYSTEM_STATE read;
    db->Begin();
    ASSERT_TRUE(db->systemState().selupd(row.Key(), read));
    other->Begin();
    auto e = Caught<KelDBException>([&] { other->systemState().selupd(row.Key(), read); });
    ASSERT_TRUE(e) << "two connections hold one row lock";
    EXPECT_EQ(KelDBErrorCategory::DeadlockOrLockTimeout, e->Category());
    EXPECT_TRUE(e->IsRetryable());
    EXPECT_EQ("55P03", e->SqlState());
    EXPECT_EQ("kel_system_state", e->Table());
    other->Rollback();
    db->Commit();

    other->Begin();
    EXPECT_TRUE(other->systemState().selupd(row.Key(), read));
    other->Commit();
}

INSTANTIATE_TEST_SUITE_P(Databases, Accessors, testing::Values("sqlite::memory:", "postgresql"), DatabaseName);

}  // namespace
