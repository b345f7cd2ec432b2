// An administration server in miniature: it opens its database, creates the schema and
// drives three transactions through the object manager's transaction runner, as a server
// embedding the library does. First it creates a system and that system's state, then it
// locks the state, marks its administration server Running and logs that, then it reads
// the state back by the system's name in a read-only transaction. Prints one line per transaction,
// after its commit (the runner may run the work more than once); exits 1 on a library
// error.
//
// Usage: kelembed [DATABASE-URL]   (default sqlite::memory:)
#include "admin/keldatom.hpp"
#include "admin/keldatxn.hpp"
#include "db/keldb.hpp"
#include "db/keldbexc.hpp"
#include "kernel/kelkexc.hpp"
#include "objects/kelmtbld.hpp"

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

}  // namespace

int main(int argc, char** argv)
{
    std::string const url = argc > 1 ? argv[1] : "sqlite::memory:";
    try {
        std::unique_ptr<KelDatabase> db = KelDatabase::Open(url);
        db->CreateSchema();
        KelTOMForAdminServer tom(*db);
        // Begins, runs the work, commits and empties every cache; on an error rolls back,
        // empties every cache and rethrows; runs the work again after a deadlock, a lock
        // timeout or a busy database. What the work did not save or flush is not written.
        KelTxnRunner runner(tom);
        KelSystemID const sys1(KelString("SYS1"), KelString("GROUP1"));
        std::string const sys1Text = sys1.Name().Str() + "." + sys1.Group().Str();
        KelOID systemOid;
        KelSvrState::Type created = KelSvrState::Unknown;

        runner.Run([&](KelTOMForAdminServer& t) {
            KelSystemData& system = t.ForSystems().Create(KelTOMForSystemParms::CreateInpParm(sys1));
            system.SetDescription(KelString("The embedding example's system"));  // a change: Flush writes it
            systemOid = system.OID();
            t.ForSystems().Flush();
            // A new object is clean, so Flush would pass it by: Save inserts it.
            KelSystemState& state = t.ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(systemOid));
            t.ForSystemStates().Save(state);
            created = state.AdminSvrState();
        });
        std::cout << "created system " << sys1Text << " with state " << StateName(created) << "\n";

        std::uint64_t flushed = 0;
        runner.Run([&](KelTOMForAdminServer& t) {
            KelSystemState& state =
                t.ForSystemStates().MaterializeForUpdate(KelTOMForSystemStateParms::MaterializeInpParm(), systemOid);
            state.SetAdminSvrState(KelSvrState::Running);
            state.SetAdminSvrStartTime(KelTimeStamp::Now());
            t.ForSystemStates().Flush();
            flushed = t.ForSystemStates().Statistics().flushed;
            // A log record is built by field name; what it is not told stays null.
            KelOID const logOid = KelOID::Generate();
            t.ForSystemLogs().Create(KelTOMForSystemLogRecordParms::CreateInpParm(logOid)) =
                KelSystemLogRecordBuilder(logOid)
                    .CreationTime(KelTimeStamp::Now())
                    .System(sys1)
                    .MessageNumber(1001)
                    .Severity(KelSeverity::Information)
                    .MessageClass(KelMessageClass::System)
                    .SvrKind(KelSvrKind::AdminSvr)
                    .SvrState(KelSvrState::Running)
                    .Build();
            t.ForSystemLogs().Flush();
        });
        std::cout << "locked the state, flushed " << flushed << " change and logged it\n";

        KelTxnOptions readOnly;
        readOnly.readOnly = true;  // waits for no writer; a write inside it is refused
        KelSvrState::Type state = KelSvrState::Unknown;
        bool started = false;
        runner.Run(readOnly, [&](KelTOMForAdminServer& t) {
            KelSystemState const& read = t.ForSystemStates().MaterializeForReadByName(KelString("SYS1"));
            state = read.AdminSvrState();
            started = !read.AdminSvrStartTimeIsNull();
        });
        std::cout << "read back: system " << sys1Text << " state=" << StateName(state)
                  << (started ? " started" : " not started") << "\n";
    } catch (KelDBException const& e) {
        std::cerr << "database error" << (e.IsRetryable() ? " (retryable)" : "") << ": " << e << "\n";
        return 1;
    } catch (KelException const& e) {
        std::cerr << e << "\n";
        return 1;
    }
    return 0;
}
