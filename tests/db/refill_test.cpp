// Rows read into the same buffer again and again reuse its room, and nothing that shares
// a column's text with an earlier read ever sees it change.
#include "db/keldb.hpp"
#include "db/keldsdf.hpp"

#include "dbtest.hpp"

namespace {

TEST(Refill, WritesInPlaceOnlyWhenTheRepresentationIsItsOwnAndLargeEnough)
{
    KelString room(KelString::createEmpty, 8);
    unsigned char const* before = room.Data();
    room.Fill("abc", 3);
    EXPECT_EQ(room.Data(), before);
    EXPECT_EQ(room, KelString("abc"));
    EXPECT_EQ(room.C_str()[3], '\0');

    KelString const sharer = room;  // shared: the next fill must leave the sharer alone
    room.Fill("xy", 2);
    EXPECT_NE(room.Data(), before);
    EXPECT_EQ(sharer, KelString("abc"));
    EXPECT_EQ(room, KelString("xy"));

    KelString small(KelString::createEmpty, 2);
    small.Fill("longer", 6);  // no room: a new representation
    EXPECT_EQ(small, KelString("longer"));
    KelString null;
    null.Fill("", 0);  // filling a null handle gives an empty, non-null string
    EXPECT_FALSE(null.IsNull());
    EXPECT_EQ(null.Length(), 0);
}

class Refill : public testing::TestWithParam<std::string> {};

TEST_P(Refill, CursorRowsReadIntoOneBufferLeaveEarlierCopiesUnchanged)
{
    std::string const url = ResolveUrl(GetParam());
    if (url.empty()) GTEST_SKIP() << "KELDATOM_PG_URL is not set";
    auto db = KelDatabase::Open(url);
    if (db->Type() == KelDBType::PostgreSQL) db->DropSchema();
    db->CreateSchema();
    KelDatabase::SystemLog& logs = db->systemLog();
    char const* const params[] = {"a;b;c", "", "a much longer parameter text than the first"};
    for (unsigned char i = 0; i < 3; ++i) {
        unsigned char oid[16] = {0xB0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, i};
        std::int16_t const present = i == 1 ? -1 : 0;
        logs.insert(KEL_SYSTEM_LOG(
            KelBinary(oid, 16), KelString("2024-01-02-03.04.05.00000") |= std::to_string(i).c_str(), KelString("SYS"),
            KelString("GRP"), i, 1, 1, 0, -1, 0, 0, -1, 0, -1, 0, -1, KelString("E") |= std::to_string(i).c_str(), 0,
            KelString("u"), 0, KelString(params[i]), present));
    }

    KEL_SYSTEM_LOG row;
    std::vector<KelString> kept;  // copies share the row's texts, as objects made from rows do
    std::vector<std::int16_t> indicators;
    for (bool more = logs.selSystemNameOpenFetch(KelString("SYS"), row); more; more = logs.selSystemNameFetch(row)) {
        kept.push_back(row._messageParameters);
        kept.push_back(row._creationTime);
        kept.push_back(row._eventIdentifier);
        indicators.push_back(row._iMessageParameters);
    }
    logs.selSystemNameClose();
    ASSERT_EQ(kept.size(), 9u);
    EXPECT_EQ(kept[0], KelString("a;b;c"));
    EXPECT_EQ(kept[1], KelString("2024-01-02-03.04.05.000000"));
    EXPECT_EQ(kept[2], KelString("E0"));
    EXPECT_EQ(indicators[1], -1);
    EXPECT_EQ(kept[4], KelString("2024-01-02-03.04.05.000001"));
    EXPECT_EQ(kept[6], KelString(params[2]));
    EXPECT_EQ(kept[8], KelString("E2"));
}

INSTANTIATE_TEST_SUITE_P(Databases, Refill, testing::Values("sqlite::memory:", "postgresql"), DatabaseName);

}  // namespace
