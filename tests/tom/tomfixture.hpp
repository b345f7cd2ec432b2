// System states (bulk-query cache) and persons (named-object cache) over in-memory SQLite.
#pragma once

#include "admin/keldtad2.hpp"
#include "db/keldb.hpp"
#include "db/keldkrnl.hpp"
#include "db/keldsdf.hpp"
#include "db/keldsper.hpp"
#include "objects/kelasyss.hpp"
#include "objects/kelmtper.hpp"
#include "staff/keldstpr.hpp"
#include "tom/keldtqry.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The system state manager, recording the key of every row it builds for writing.
class TomStates : public KelTOMForSystemStates {
public:
    using KelTOMForSystemStates::KelTOMForSystemStates;
    std::vector<KelOID> written;

    KEL_SYSTEM_STATE* CreateTupleObject(KelSystemState const& state) override
    {
        written.push_back(state.ID());
        return KelTOMForSystemStates::CreateTupleObject(state);
    }
};

// The person manager, but a person whose first name is "(deleted)" counts as deleted.
class TomPersons : public KelTOMForPersons {
public:
    using KelTOMForPersons::KelTOMForPersons;

    KelPersonData* CreateServerObjectFromTuple(KEL_PERSON const& row) override
    {
        KelPersonData* person = KelTOMForPersons::CreateServerObjectFromTuple(row);
        person->MarkDeleted(!person->FirstNameIsNull() && person->FirstName() == KelString("(deleted)"));
        return person;
    }
};

inline KelOID TomOid(unsigned char first, unsigned char last = 0) { return TestOid(first, last); }

// The value of the KelIntExcInvalidCase the call throws, or -1.
inline int TomInvalidCase(std::function<void()> const& call)
{
    std::optional<KelIntExcInvalidCase> e = Caught<KelIntExcInvalidCase>(call);
    return e ? e->Value() : -1;
}

class TomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = KelDatabase::Open("sqlite::memory:");
        db->CreateSchema();
        db->Begin();
        tom = std::make_unique<KelTinyObjectManager>(*db);
        states = std::make_unique<TomStates>(*tom, *db);
        persons = std::make_unique<TomPersons>(*tom, *db);
    }
    void TearDown() override { db->Rollback(); }

    void AddState(KelOID const& oid, KelSvrState::Type state = KelSvrState::Stopped)
    {
        db->systemState().insert(KEL_SYSTEM_STATE(oid.AsBinary(), KelString(""), -1, state));
    }
    // A person row of group "grp"; lockedBy and lockholderName name its lock holder.
    KelOID AddPerson(char const* name, char const* firstName = nullptr, KelOID const* lockedBy = nullptr,
                     char const* lockholderName = nullptr)
    {
        KEL_PERSON row;
        KelOID const oid = KelOID::Generate();
        row._oid = oid.AsBinary();
        row._userId = KelString(name);
        row._systemGroup = KelString("grp");
        row._iSystemGroup = 0;
        if (firstName) row._firstName = KelString(firstName), row._iFirstName = 0;
        if (lockedBy) row._lockholderOid = lockedBy->AsBinary(), row._iLockholderOid = 0;
        if (lockholderName) row._lockholderName = KelString(lockholderName), row._iLockholderName = 0;
        db->person().insert(row);
        return oid;
    }
    KelCachedObjectState::Type StateOf(KelOID const& key) const
    {
        auto it = states->LiveEntries().find(key);
        return it == states->LiveEntries().end() ? KelCachedObjectState::Type(0) : it->second->State();
    }

    std::unique_ptr<KelDatabase> db;
    std::unique_ptr<KelTinyObjectManager> tom;
    std::unique_ptr<TomStates> states;
    std::unique_ptr<TomPersons> persons;
    TomStates::MaterializeInpParm const parm{};
};
