// Cache entries: the transition table, ownership of rows and functors, invalid cases.
#include "tests/tom/tomfixture.hpp"

using Entry = KelTomDictMember<KelSystemState, KEL_SYSTEM_STATE, KelDatabase::SystemState>;
using Functor = Entry::KelDBAccessFunctor;

TEST_F(TomTest, TransitionTableOverValidAndInvalidStates)
{
    for (int s : {1, 2, 4, 8, 0, 3, 5, 6, 7, 9}) {
        SCOPED_TRACE(s);
        bool const valid = s == 1 || s == 2 || s == 4 || s == 8;
        auto make = [s] {
            return std::make_unique<Entry>(new KelSystemState(TomOid(1)), KelCachedObjectState::Type(s), nullptr,
                                           nullptr);
        };

        auto e = make();
        EXPECT_EQ(TomInvalidCase([&] { e->MaterializedForRead(); }), valid ? -1 : s);
        EXPECT_EQ(e->State(), s);

        // Only a read entry takes the row and functor; the others leave them with the caller.
        auto row = std::make_unique<KEL_SYSTEM_STATE>();
        auto functor = Functor::ForUpdate(db->systemState());
        EXPECT_EQ(TomInvalidCase([&] { e->MaterializedForUpdate(row.get(), functor.get()); }), valid ? -1 : s);
        EXPECT_EQ(e->State(), s == 2 ? 4 : s);
        EXPECT_EQ(e->Row(), s == 2 ? row.get() : nullptr);
        if (s == 2) row.release(), functor.release();

        e = make();
        row = std::make_unique<KEL_SYSTEM_STATE>();
        functor = Functor::ForUpdate(db->systemState());
        bool const saves = s == 1 || s == 4 || s == 8;
        EXPECT_EQ(TomInvalidCase([&] { e->Saved(row.get(), functor.get()); }), saves ? -1 : s);
        EXPECT_EQ(e->State(), saves ? 8 : s);
        EXPECT_EQ(e->Functor(), saves ? functor.get() : nullptr);
        if (saves) row.release(), functor.release();

        // Deleted and Dropped are not supported: "false", then the state test.
        KelContractRecorder rec;
        e = make();
        EXPECT_EQ(TomInvalidCase([&] { e->Deleted(); }), valid ? -1 : s);
        EXPECT_EQ(TomInvalidCase([&] { e->Dropped(); }), valid && s != 8 ? -1 : s);
        EXPECT_EQ(rec.Conditions(), std::vector<std::string>({"false", "false"}));
        EXPECT_EQ(e->State(), s);
    }
}

// Invalid cases name the entry's function; Insert and Update in wrong states fail and go on; entries own their rows.
TEST_F(TomTest, EntriesOutsideTheirStatesRaiseOrFailAndGoOnAndOwnWhatTheyHold)
{
    Entry e(new KelSystemState(TomOid(1)), KelCachedObjectState::MaterializedForRead, nullptr, nullptr);
    auto x = Caught<KelIntExcInvalidCase>([&] { e.Saved(nullptr, nullptr); });
    ASSERT_TRUE(x);
    std::string const text = x->What();
    EXPECT_EQ(text.rfind("KelIntExcInvalidCase, Value=2, Origin=File=", 0), 0u) << text;
    EXPECT_NE(text.find(", Function=KelTomDictMember<class KelSystemState,class KEL_SYSTEM_STATE,"
                        "class KelDatabase::SystemState>::Saved"),
              std::string::npos);

    // An entry owns what it holds until handed over.
    auto* object = new KelSystemState(TomOid(1));
    {
        Entry owner(object, KelCachedObjectState::MaterializedForUpdate,
                    Functor::ForUpdate(db->systemState()).release(), new KEL_SYSTEM_STATE());
        owner.Saved(new KEL_SYSTEM_STATE(), Functor::ForUpdate(db->systemState()).release());
        auto* second = new KEL_SYSTEM_STATE();
        owner.Saved(second, Functor::ForUpdate(db->systemState()).release());
        EXPECT_EQ(owner.Row(), second);  // the earlier pairs are freed (the sanitizer build checks)
        owner.ResetServerObject();
    }
    EXPECT_EQ(object->ID(), TomOid(1));  // survives its entry
    delete object;

    KelContractRecorder rec;
    Entry read(new KelSystemState(TomOid(1)), KelCachedObjectState::MaterializedForRead,
               Functor::ForInsert(db->systemState()).release(), nullptr);
    read.Insert(KEL_SYSTEM_STATE(TomOid(1).AsBinary(), KelString(""), -1, 1));
    EXPECT_TRUE(rec.Has("super::_state == KelCachedObjectState::New"));
    EXPECT_EQ(db->systemState().Stats().insert, 1u);  // the call was made

    Entry fresh(new KelSystemState(TomOid(2)), KelCachedObjectState::New,
                Functor::ForUpdate(db->systemState()).release(), nullptr);
    EXPECT_FALSE(fresh.Update(TomOid(2), KEL_SYSTEM_STATE(TomOid(2).AsBinary(), KelString(""), -1, 1)));
    EXPECT_TRUE(
        rec.Has("super::_state == KelCachedObjectState::MaterializedForUpdate || "
                "super::_state == KelCachedObjectState::Saved"));
    // With nothing to call, a wrong state cannot go on.
    EXPECT_THROW(fresh.Insert(KEL_SYSTEM_STATE()), KelContractViolation);
}
