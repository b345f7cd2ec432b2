// The per-class cache over system states: materialize, save, delete, drop, flush, refresh, clear.
#include "tests/admin/admintest.hpp"
#include "tests/tom/tomfixture.hpp"

#include <algorithm>

TEST_F(TomTest, ReadsGoToTheDatabaseOnAMissOnlyUpgradeInPlaceAndSaveRefusesReadOnlyEntries)
{
    AddState(TomOid(1));
    AddState(TomOid(2));
    auto const& calls = db->systemState().Stats();
    KelSystemState const& a = states->MaterializeForRead(parm, TomOid(1));
    EXPECT_EQ(&states->MaterializeForRead(parm, TomOid(1)), &a);
    KelSystemState& created = states->Create(TomStates::CreateInpParm(TomOid(3)));
    EXPECT_EQ(&states->MaterializeForRead(parm, TomOid(3)), &created);
    EXPECT_EQ(calls.seluni, 1u);
    EXPECT_EQ(states->Statistics().readHits, 2u);
    EXPECT_EQ(states->Statistics().readMisses, 1u);

    auto notFound = Caught<KelTOMNotFoundException>([&] { states->MaterializeForRead(parm, TomOid(9)); });
    ASSERT_TRUE(notFound);
    EXPECT_EQ(notFound->KeyValues().Str(), "SystemState09000000000000000000000000000000");
    auto notUnique = Caught<KelTOMNotUniqueException>([&] { states->Create(TomStates::CreateInpParm(TomOid(1))); });
    ASSERT_TRUE(notUnique);
    EXPECT_EQ(notUnique->KeyValues().Str(), "Key=01000000000000000000000000000000");

    states->Save(created);
    states->Save(created);
    EXPECT_EQ(calls.insert, 3u);  // two of them by AddState
    EXPECT_EQ(calls.updcli, 1u);
    EXPECT_EQ(StateOf(TomOid(3)), KelCachedObjectState::Saved);
    KelContractRecorder rec;
    EXPECT_EQ(TomInvalidCase([&] { states->Save(a); }), 2);
    EXPECT_TRUE(rec.Has("(*iter).second->State() != KelCachedObjectState::MaterializedForRead"));
    EXPECT_EQ(StateOf(TomOid(1)), KelCachedObjectState::MaterializedForRead);

    // A read entry is upgraded in place, once; on Oracle the row is read again.
    KelSystemState& locked = states->MaterializeForUpdate(parm, TomOid(1));
    EXPECT_EQ(&locked, &a);
    EXPECT_EQ(&states->MaterializeForUpdate(parm, TomOid(1)), &locked);
    EXPECT_EQ(calls.selupd, 1u);
    auto const* entry = dynamic_cast<TomStates::DictMember const*>(states->LiveEntries().at(TomOid(1)));
    EXPECT_EQ(entry->State(), KelCachedObjectState::MaterializedForUpdate);
    ASSERT_NE(entry->Row(), nullptr);
    {
        KelRtDbTypeOverride oracle(111);
        KelSystemState const& old = states->MaterializeForRead(parm, TomOid(2));
        db->systemState().updcli(TomOid(2),
                                 KEL_SYSTEM_STATE(TomOid(2).AsBinary(), KelString(""), -1, KelSvrState::Running));
        KelSystemState& fresh = states->MaterializeForUpdate(parm, TomOid(2));
        EXPECT_NE(&fresh, &old);
        EXPECT_EQ(fresh.AdminSvrState(), KelSvrState::Running);
        EXPECT_EQ(old.AdminSvrState(), KelSvrState::Stopped);  // dropped, kept alive, unchanged
        EXPECT_EQ(states->DroppedObjects(), std::vector<KelSystemState*>({const_cast<KelSystemState*>(&old)}));
    }
    EXPECT_EQ(states->Statistics().updateMisses, 2u);  // the upgrade and the Oracle re-read
    EXPECT_EQ(states->Statistics().updateHits, 1u);
}

TEST_F(TomTest, FlushWritesDirtyEntriesInKeyOrderAndSkipsReadOnes)
{
    AddState(TomOid(5));
    auto& readOnly = const_cast<KelSystemState&>(states->MaterializeForRead(parm, TomOid(5)));
    readOnly.SetAdminSvrState(KelSvrState::Running);
    for (unsigned char first : {0x80, 0x01, 0x7F})
        states->Create(TomStates::CreateInpParm(TomOid(first))).SetAdminSvrState(KelSvrState::Running);
    states->Create(TomStates::CreateInpParm(TomOid(0x02)));  // clean: not written
    EXPECT_TRUE(states->ContainsDirtyObjects());

    KelTraceCapture cap(9, 0x10, 0x20);
    states->Flush();
    states->Flush();  // still dirty: written again, now as updates
    std::vector<KelOID> const order = {TomOid(0x01), TomOid(0x7F), TomOid(0x80)};
    EXPECT_EQ(states->written, std::vector<KelOID>({order[0], order[1], order[2], order[0], order[1], order[2]}));
    EXPECT_EQ(db->systemState().Stats().insert, 4u);
    EXPECT_EQ(db->systemState().Stats().updcli, 3u);
    EXPECT_EQ(cap.Text(), "#flushed objects=3\n#flushed objects=3\n");
    EXPECT_EQ(StateOf(TomOid(5)), KelCachedObjectState::MaterializedForRead);
    EXPECT_EQ(StateOf(TomOid(0x02)), KelCachedObjectState::New);

    // Clearing writes nothing, not even a changed new object.
    states->Create(TomStates::CreateInpParm(TomOid(0x03))).SetAdminSvrState(KelSvrState::Running);
    states->ClearCache();
    EXPECT_EQ(db->systemState().Stats().insert, 4u);
}

TEST_F(TomTest, DeleteAndDropMoveEntriesAsideAndKeepTheirObjects)
{
    AddState(TomOid(1));
    AddState(TomOid(3));
    KelSystemState const& first = states->MaterializeForRead(parm, TomOid(1));
    states->Delete(TomOid(1));
    EXPECT_THROW(states->MaterializeForRead(parm, TomOid(1)), KelTOMNotFoundException);
    EXPECT_EQ(first.ID(), TomOid(1));

    KelSystemState& second = states->Create(TomStates::CreateInpParm(TomOid(1)));
    EXPECT_THROW(states->Delete(TomOid(1)), KelTOMNotFoundException);  // no row yet
    EXPECT_EQ(StateOf(TomOid(1)), KelCachedObjectState::New);
    states->Save(second);
    states->Delete(TomOid(1));
    ASSERT_EQ(states->DeletedEntries().size(), 1u);
    EXPECT_EQ(states->DeletedEntries().at(TomOid(1))->ServerObject(), &second);
    EXPECT_EQ(states->DroppedObjects(), std::vector<KelSystemState*>({const_cast<KelSystemState*>(&first)}));

    states->Delete(TomOid(3));  // never cached: only the row goes
    EXPECT_TRUE(states->LiveEntries().empty());
    EXPECT_EQ(db->systemState().Stats().dbadel, 4u);

    // A dropped object stays valid and is never written; a read enters the row again.
    AddState(TomOid(5));
    KelSystemState& locked = states->MaterializeForUpdate(parm, TomOid(5));
    locked.SetAdminSvrState(KelSvrState::Failed);
    states->Drop(locked);
    states->Flush();
    EXPECT_EQ(db->systemState().Stats().updcli, 0u);
    EXPECT_EQ(states->MaterializeForRead(parm, TomOid(5)).AdminSvrState(), KelSvrState::Stopped);
    EXPECT_EQ(locked.AdminSvrState(), KelSvrState::Failed);
}

TEST_F(TomTest, RefreshMovesRowsDeletedByAnotherConnectionAside)
{
    AdminSqliteFile file;
    auto mine = KelDatabase::Open(file.Url());
    mine->CreateSchema();
    auto other = KelDatabase::Open(file.Url());
    KelTinyObjectManager om(*mine);
    TomStates cache(om, *mine);
    auto insert = [&](KelOID const& oid) {
        other->systemState().insert(KEL_SYSTEM_STATE(oid.AsBinary(), KelString(""), -1, 1));
    };
    insert(TomOid(1));
    insert(TomOid(2));
    KelSystemState const& gone = cache.MaterializeForRead(parm, TomOid(1));
    KelSystemState& kept = cache.MaterializeForUpdate(parm, TomOid(2));
    cache.Create(TomStates::CreateInpParm(TomOid(3)));
    other->systemState().dbadel(TomOid(1));
    other->systemState().updcli(TomOid(2),
                                KEL_SYSTEM_STATE(TomOid(2).AsBinary(), KelString(""), -1, KelSvrState::Running));

    KelTraceCapture cap(9, 0x10, 0x20);
    cache.Refresh();
    EXPECT_EQ(cap.Text(), "#refreshed objects=1\n");
    EXPECT_EQ(mine->systemState().Stats().seluni, 3u);  // the New entry is skipped
    EXPECT_EQ(kept.AdminSvrState(), KelSvrState::Running);
    EXPECT_EQ(cache.LiveEntries().count(TomOid(1)), 0u);
    EXPECT_EQ(cache.DeletedEntries().at(TomOid(1))->ServerObject(), &gone);

    insert(TomOid(1));  // cached again, vanishing again: the newer entry replaces the older
    KelSystemState const& back = cache.MaterializeForRead(parm, TomOid(1));
    other->systemState().dbadel(TomOid(1));
    cache.Refresh();
    EXPECT_EQ(cache.DeletedEntries().at(TomOid(1))->ServerObject(), &back);
    EXPECT_EQ(cache.DroppedObjects(), std::vector<KelSystemState*>({const_cast<KelSystemState*>(&gone)}));
}

TEST_F(TomTest, BulkReadsMergeRowsWithTheCache)
{
    for (unsigned char i = 1; i <= 3; ++i) AddState(TomOid(i));
    KelSystemState& locked = states->MaterializeForUpdate(parm, TomOid(2));
    locked.SetAdminSvrState(KelSvrState::Running);
    std::vector<KelSystemState const*> read;
    states->MaterializeAllForRead(parm, read);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_NE(std::find(read.begin(), read.end(), &locked), read.end());  // the cache's values, not the row's
    EXPECT_EQ(locked.AdminSvrState(), KelSvrState::Running);
    EXPECT_EQ(StateOf(TomOid(1)), KelCachedObjectState::MaterializedForRead);

    std::vector<KelSystemState*> update;
    states->MaterializeAllForUpdate(parm, update);
    EXPECT_TRUE(std::is_permutation(update.begin(), update.end(), read.begin(), read.end()));
    for (unsigned char i = 1; i <= 3; ++i) EXPECT_EQ(StateOf(TomOid(i)), KelCachedObjectState::MaterializedForUpdate);
    EXPECT_EQ(db->systemState().Stats().open, 2u);
}
