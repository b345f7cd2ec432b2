// An administration server in miniature: it opens its database, creates the schema and
// drives three transactions through the object manager, as a server embedding the library
// does. First it creates a system and that system's state, then it locks the state and
// marks its administration server Running, then it reads the state back by the system's
// name. Prints one line per transaction; exits 1 on a library error.
//
// Usage: kelembed [DATABASE-URL]   (default sqlite::memory:)
#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "db/keldbexc.hpp"
#include "kernel/kelkexc.hpp"

#include <functional>
#include <iostream>
#include <string>

namespace {

char const* StateName(KelSvrState::Type state)
{
    switch (state) {
    case KelSvrState::Unknown: return "Unknown";
    case KelSvrState::Stopped: return "Stopped";
    case KelSvrState::StartingUp: return "StartingUp";
    case KelSvrState::Running: return "Running";
    case KelSvrState::ShuttingDown: return "ShuttingDown";
    case KelSvrState::Failed: return "Failed";
    }
    return "invalid";
}

// One transaction: what the work did not save or flush is lost at commit, and every cache
// is emptied afterwards, also when the work fails and the transaction is rolled back.
void InTransaction(KelDatabase& db, KelTOMForAdminServer& tom, std::function<void()> const& work)
{
    db.Begin();
    try {
        work();
        db.Commit();
    } catch (...) {
        db.Rollback();
        tom.TxnHasBeenCommitted();
        throw;
    }
    tom.TxnHasBeenCommitted();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string const url = argc > 1 ? argv[1] : "sqlite::memory:";
    try {
        std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
        db->CreateSchema();
        KelTOMForAdminServer tom(*db);
        KelSystemID const sys1(KelString("SYS1"), KelString("GROUP1"));
        std::string const sys1Text = sys1.Name().Str() + "." + sys1.Group().Str();
        KelOID systemOid;

        InTransaction(*db, tom, [&] {
            KelSystemData& system = tom.ForSystems().Create(KelTOMForSystemParms::CreateInpParm(sys1));
            system.SetDescription(KelString("The embedding example's system"));  // a change: Flush writes it
            systemOid = system.OID();
            tom.ForSystems().Flush();
            // A new object is clean, so Flush would pass it by: Save inserts it.
            KelSystemState& state = tom.ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(systemOid));
            tom.ForSystemStates().Save(state);
            std::cout << "created system " << sys1Text << " with state " << StateName(state.AdminSvrState()) << "\n";
        });

        InTransaction(*db, tom, [&] {
            KelSystemState& state =
                tom.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), systemOid);
            state.SetAdminSvrState(KelSvrState::Running);
            state.SetAdminSvrStartTime(KelTimeStamp::Now());
            tom.ForSystemStates().Flush();
            std::cout << "locked the state and flushed " << tom.ForSystemStates().Statistics().flushed << " change\n";
        });

        InTransaction(*db, tom, [&] {
            KelSystemState const& state = tom.ForSystemStates().MaterializeForReadByName(KelString("SYS1"));
            std::cout << "read back: system " << sys1Text << " state=" << StateName(state.AdminSvrState())
                      << (state.AdminSvrStartTimeIsNull() ? " not started" : " started") << "\n";
        });
    } catch (KelDBException const& e) {
        std::cerr << "database error" << (e.IsRetryable() ? " (retryable)" : "") << ": " << e << "\n";
        return 1;
    } catch (KelException const& e) {
        std::cerr << e << "\n";
        return 1;
    }
    return 0;
}
