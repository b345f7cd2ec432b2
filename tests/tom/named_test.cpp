// The named-object cache over persons: bulk reads, deleted objects, OID, Search, Release.
#include "tests/tom/tomfixture.hpp"

// The key parameter of the person of that user name.
TomPersons::CreateInpParm Named(char const* name) { return TomPersons::CreateInpParm(KelString(name)); }

class TomPersonTest : public TomTest {
protected:
    void SetUp() override
    {
        TomTest::SetUp();
        ann = AddPerson("ann");
        AddPerson("bob", nullptr, &ann, "ann");
        KelOID const ghost = KelOID::Generate();
        AddPerson("cy", nullptr, &ghost, "ghost");
        AddPerson("dora", "(deleted)");
    }
    template <class E>
    std::string Raised(std::function<void()> const& call)
    {
        std::optional<E> e = Caught<E>(call);
        return e ? e->What().substr(0, e->What().find(", Origin=")) : "nothing raised";
    }
    KelOID ann;
    TomPersons::MaterializeInpParm const pparm{};
};

TEST_F(TomPersonTest, DeletedObjectsAreNotFoundForReadButEnteredForUpdate)
{
    EXPECT_EQ(Raised<KelTOMNotFoundException>([&] { persons->MaterializeForRead(pparm, KelString("dora")); }),
              "KelTOMNotFoundException, KeyValues=UserIDdora");
    EXPECT_TRUE(persons->LiveEntries().empty());

    persons->MaterializeForUpdate(pparm, KelString("dora"));
    auto const& dict = persons->LiveEntries();
    EXPECT_NE(dict.find(KelString("dora")), dict.end());
    EXPECT_EQ(dict.findNotDeleted(KelString("dora")), dict.end());
    EXPECT_TRUE(persons->IsCacheEmpty());  // only a clean deleted object
    EXPECT_THROW(persons->MaterializeForUpdate(pparm, KelString("dora")), KelContractViolation);
    // Nor does a bulk read hand the deleted object back: its row meets the taken key.
    KelContractRecorder rec;
    std::vector<KelPersonData const*> all;
    EXPECT_THROW(persons->MaterializeAllForRead(pparm, all), KelContractViolation);
    EXPECT_TRUE(rec.Has("iter == dict.end()"));
}

TEST_F(TomPersonTest, OidComesFromTheCacheOrTheRow)
{
    auto const& calls = db->person().Stats();
    EXPECT_EQ(persons->OID(Named("ann")), ann);
    persons->MaterializeForRead(pparm, KelString("ann"));
    std::uint64_t const before = calls.Total();
    EXPECT_EQ(persons->OID(Named("ann")), ann);
    EXPECT_EQ(calls.Total(), before);
    persons->ClearCache();
    KelTraceCapture cap(2, 0x8, 0x2);  // OID raises at level 2, the others at level 3
    EXPECT_EQ(Raised<KelTOMNotFoundException>([&] { persons->OID(Named("nobody")); }),
              "KelTOMNotFoundException, KeyValues=UserID nobody not found");
    EXPECT_THROW(persons->Release(Named("nobody"), KelUserID(KelString("ann"), KelString())), KelTOMNotFoundException);
    ASSERT_EQ(cap.Records().size(), 1u);
    EXPECT_EQ(cap.Records()[0].text.rfind("THROW_INT, KelTOMNotFoundException, KeyValues=UserID nobody not found", 0),
              0u);

    persons->MaterializeForRead(pparm, KelString("ann"));
    KelContractRecorder rec;
    std::vector<KelPersonData const*> all;
    persons->MaterializeAllForRead(pparm, all);
    EXPECT_EQ(all.size(), 4u);
    EXPECT_TRUE(rec.Has("(this->_dict).size() == count - 1"));
}

TEST_F(TomPersonTest, ReleaseChecksTheLockHolder)
{
    KelUserID const annUser(KelString("ann"), KelString("grp"));
    KelUserID const eve(KelString("eve"), KelString("grp"));
    auto release = [&](char const* name, KelUserID const& user) {
        return [=] { persons->Release(Named(name), user); };
    };
    EXPECT_EQ(Raised<KelTOMNotLockedByThisException>(release("bob", eve)),
              "UserID bob not locked by with name: eve, system group: grp but by with name: ann, system group: grp\n");
    EXPECT_EQ(Raised<KelTOMNotLockedException>(release("ann", annUser)),
              "UserID ann not locked by with name: ann, system group: grp\n");
    EXPECT_EQ(Raised<KelTOMLockholderNotFoundException>(release("cy", annUser)), "Lockholder ghost not found\n");

    std::vector<KelEntity> held;
    persons->Search(held, annUser, KelEntityType::Person);
    ASSERT_EQ(held.size(), 1u);  // the refused releases left the lock alone
    EXPECT_EQ(held[0].Name(), KelString("bob"));

    persons->MaterializeForRead(pparm, KelString("ann"));
    KelContractRecorder rec;
    persons->Release(Named("bob"), annUser);  // goes on although a person is cached
    EXPECT_EQ(rec.Conditions(), std::vector<std::string>({"this->IsCacheEmpty()"}));
    KEL_PERSON row;
    ASSERT_TRUE(db->person().seluni(KelString("bob"), row));
    EXPECT_EQ(row._iLockholderOid, -1);
}
