// Identifiers and keys: order, equality, null rules, limits and printed forms.
#include "kernel/kelienti.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkoid.hpp"
#include "kernel/kelmsvid.hpp"
#include "kernel/kelmsyst.hpp"
#include "kernel/kelmusid.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// OIDs order as unsigned bytes; generated ones sort in creation order, read back from hex; streamed ones hold 16 bytes.
TEST(KelOIDTest, GeneratedOnesSortInCreationOrderAndReadBackFromHex)
{
    // The first differing byte decides, in either half, whatever the bytes after it.
    unsigned char const c[16] = {0, 0, 0, 0, 0, 0, 0, 0x80}, d[16] = {0, 0, 0, 0, 0, 0, 0, 0x7F, 0xFF},
                        e[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0xFF}, f[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0x02};
    EXPECT_TRUE(KelOID(d) < KelOID(c) && !(KelOID(c) < KelOID(d)));
    EXPECT_TRUE(KelOID(e) < KelOID(f) && !(KelOID(f) < KelOID(e)));

    std::vector<KelOID> made;
    for (int i = 0; i < 4096; ++i) made.push_back(KelOID::Generate());
    for (std::size_t i = 1; i < made.size(); ++i) ASSERT_TRUE(made[i - 1] < made[i]) << i;
    EXPECT_EQ(KelOID::FromHex(Printed(made.back()).c_str()), made.back());
    EXPECT_EQ(Printed(KelOID::FromHex("0123456789abcdefFEDCBA9876543210")), "0123456789ABCDEFFEDCBA9876543210");

    KelContractRecorder rec;
    unsigned char seventeen[17] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    EXPECT_EQ(KelOID(KelBinary(seventeen, 17)).Bytes()[15], 16);
    EXPECT_EQ(KelOID(KelBinary(seventeen, 15)).Bytes()[15], 0);
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"streamed.Length()==sizeof(_data)", "streamed.Length()==sizeof(_data)"}));
    // A null binary fails the length check and then cannot go on.
    EXPECT_THROW(KelOID{KelBinary()}, KelContractViolation);
    EXPECT_TRUE(rec.Has("!IsNull()"));
}

// User ids: equality ignores the group, names hold 1 to 32 characters.
TEST(KelUserAndSystemIDTest, EqualityNullRuleOrderLimitsAndPrintedForms)
{
    EXPECT_TRUE(KelUserID("ADMIN", "GRP1") == KelUserID("ADMIN", "GRP2"));
    EXPECT_FALSE(KelUserID("ADMIN", "GRP1") == KelUserID("admin", "GRP1"));
    EXPECT_EQ(Printed(KelUserID("ADMIN", KelString())), "with name: ADMIN, system group: <null>");

    KelContractRecorder rec;
    KelUserID ok(std::string(32, 'u'), KelString());
    EXPECT_TRUE(rec.Empty());
    struct {
        KelString name;
        char const* condition;
    } const cases[] = {{KelString(std::string(33, 'u')), "name.Length() <= KEL_USER_NAME_LENGTH"},
                       {"", "name.Length() > 0"},
                       {KelString(), "!name.IsNull()"}};
    for (auto const& c : cases) {
        rec.Clear();
        KelUserID id(c.name, "G");
        EXPECT_TRUE(rec.Has(c.condition)) << c.condition;
    }
    // System ids: null when the group is; ordered by name, then group.
    EXPECT_FALSE(KelSystemID(KelString(), "GRP").IsNull());
    EXPECT_TRUE(KelSystemID("SYS", KelString()).IsNull());
    EXPECT_TRUE(KelSystemID("A", "Z") < KelSystemID("B", "A"));
    EXPECT_TRUE(KelSystemID("A", "A") < KelSystemID("A", "B"));
    EXPECT_EQ(Printed(KelSystemID("SYS1", "GRP1")), "with name: SYS1, group: GRP1");
    rec.Clear();
    KelSystemID eight(std::string(8, 's'), std::string(8, 'g'));
    EXPECT_TRUE(rec.Empty());
    KelSystemID nineName(std::string(9, 's'), "G"), nineGroup("S", std::string(9, 'g'));
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"name.IsNull() || name.Length() < KEL_SYSTEM_NAME_LENGTH",
                                        "group.IsNull() || group.Length() < KEL_SYSTEM_GROUP_NAME_LENGTH"}));
}

TEST(KelServerIDTest, ChecksInOrderOrderingPrintedFormAndEntitiesKeepingTargetIds)
{
    KelContractRecorder rec;
    KelServerID pe(12, "S", "SYS", "GRP"), upe(13, "S", "SYS", "GRP");
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"kind != long(KelSvrKind::PESvr)", "kind != long(KelSvrKind::UPESvr)"}));
    rec.Clear();
    KelServerID eight(1, std::string(8, 'n'), std::string(8, 's'), std::string(8, 'g'));
    EXPECT_TRUE(rec.Empty());
    KelServerID nine(1, std::string(9, 'n'), std::string(9, 's'), std::string(9, 'g'));
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"name.Length() < KEL_SERVER_NAME_LENGTH",
                                                          "system.Length() < KEL_SYSTEM_NAME_LENGTH",
                                                          "systemGroup.Length() < KEL_SYSTEM_GROUP_NAME_LENGTH"}));
    rec.Clear();
    // Null strings fail their checks and the construction still goes on.
    EXPECT_TRUE(KelServerID(1, KelString(), KelString(), KelString()).IsNull());
    EXPECT_TRUE(rec.Has("!name.IsNull()"));
    EXPECT_TRUE(rec.Has("!systemGroup.IsNull()"));

    // Kind first, signed; then name, system, group: servers differing only in group are two keys.
    EXPECT_TRUE(KelServerID(-1, "Z", "Z", "Z") < KelServerID(1, "A", "A", "A"));
    EXPECT_TRUE(KelServerID(1, "A", "B", "A") < KelServerID(1, "B", "A", "A"));
    EXPECT_TRUE(KelServerID(1, "A", "A", "B") < KelServerID(1, "A", "B", "A"));
    EXPECT_TRUE(KelServerID(1, "A", "A", "A") < KelServerID(1, "A", "A", "B"));

    EXPECT_TRUE(KelServerID(0, "S", "SYS", "GRP").IsNull());
    EXPECT_EQ(Printed(KelServerID(-1, "SRV1", "SYS1", "GRP1")),
              "with kind: -1, name: SRV1, system: SYS1, system group: GRP1");

    // An entity assigned from one of another type keeps the ids the source leaves null.
    KelSystemID sys("SYS1", "GRP1");
    KelServerID srv(2, "SRV1", "SYS1", "GRP1");
    KelEntity bySystem(sys, KelEntityType::System);
    KelEntity target(srv, KelEntityType::Server);
    EXPECT_EQ(bySystem.Name(), KelString(""));  // empty, not null
    target = bySystem;
    EXPECT_EQ(target.ServerID(), srv);
    EXPECT_EQ(target.Type(), KelEntityType::System);
    target = KelEntity(KelString("Alice"), KelEntityType::Person);
    EXPECT_EQ(target.Name(), KelString("Alice"));
    EXPECT_EQ(target.SystemID(), sys);
    EXPECT_EQ(target.ServerID(), srv);

    rec.Clear();
    KelEntity nullName(KelString(), KelEntityType::Person);
    KelEntity nullSystem(KelSystemID(), KelEntityType::System);
    KelEntity nullServer(KelServerID(), KelEntityType::Server);
    EXPECT_EQ(rec.Conditions(),
              (std::vector<std::string>{"!name.IsNull()", "!systemID.IsNull()", "!serverID.IsNull()"}));
}
