// kelatom: runs the administration server's object manager against a real database.
// Exit codes: 0 success, 1 not found or not locked, 2 usage error or refused input,
// 3 database error. Every command runs in transactions that are rolled back on any error.
#include "db/keldbexc.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkexc.hpp"
#include "kernel/kelktrc.hpp"
#include "tools/kelatom/kelatcmd.hpp"
#include "tools/kelatom/kelatdem.hpp"
#include "tools/kelatom/kelatopt.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <limits>

namespace {
// Writes a failure's text to stderr, control characters of the user's text escaped, and
// gives the exit code.
int Fail(std::string const& text, int code)
{
    std::cerr << kelatom::Printable(text, true) << "\n";
    return code;
}
}  // namespace

int main(int argc, char** argv)
try {
    CLI::App app{"kelatom: the administration server's object manager on a real database"};
    app.require_subcommand(1);
    std::string url = "sqlite:kelatom.db";
    std::string trace;
    bool json = false;
    app.add_option("--db", url, "database: sqlite:PATH, sqlite::memory: or a PostgreSQL URL")->capture_default_str();
    std::string readUrl;
    app.add_option("--read-db", readUrl,
                   "a second database for the read-only commands, e.g. a PostgreSQL standby "
                   "(target_session_attrs=prefer-standby); writes never go there");
    app.add_option("--trace", trace,
                   "kernel trace to stderr: level=N,components=MASK,categories=MASK[,xt] (N decimal or a name: "
                   "always, database, lookup, flow, detail; MASK decimal, hexadecimal with 0x or names joined by +: "
                   "components kernel, database, rows, cache; categories flow, raise, count, ident, dump)");
    app.add_flag("--json", json, "print results as JSON");
    std::string retriesText = "4", lockTimeoutText;
    app.add_option("--retries", retriesText,
                   "runs of a transaction again after a deadlock, lock timeout or busy database (decimal, 0 to 100)")
        ->capture_default_str();
    app.add_option("--lock-timeout", lockTimeoutText,
                   "milliseconds a statement waits for another transaction's lock (decimal; default 30000)");

    auto* init = app.add_subcommand("init", "create the schema");
    bool demoData = false;
    init->add_flag("--demo", demoData, "seed a small demonstration topology");

    auto* demo = app.add_subcommand("demo", "run an administration server's life in transactions");

    auto* state = app.add_subcommand("state", "system states")->require_subcommand(1);
    auto* stateShow = state->add_subcommand("show", "show the state of a system");
    std::string system;
    stateShow->add_option("SYSTEM", system, "system name")->required();

    auto* instances = app.add_subcommand("instances", "server instances")->require_subcommand(1);
    auto* instancesList = instances->add_subcommand("list", "list the server instances of a system");
    bool forUpdate = false;
    instancesList->add_option("SYSTEM", system, "system name")->required();
    instancesList->add_flag("--for-update", forUpdate, "select them for update (row locks)");

    auto* log = app.add_subcommand("log", "system and error log")->require_subcommand(1);
    auto* logList = log->add_subcommand("list", "list the log records of a system");
    bool errors = false;
    logList->add_option("SYSTEM", system, "system name")->required();
    logList->add_flag("--errors", errors, "the error log instead of the system log");
    auto* logAdd = log->add_subcommand("add", "add a system log record");
    std::int32_t message = 0;
    std::string messageText;
    std::vector<std::string> params;
    std::string user;
    logAdd->add_option("SYSTEM", system, "system name")->required();
    logAdd->add_option("--message", messageText, "message number, decimal digits only (08 is 8, 0x10 is refused)")
        ->required();
    logAdd->add_option("--param", params,
                       "a message parameter (repeatable); none may contain ';', and a lone empty "
                       "one is refused: the list must read back as given");
    logAdd->add_option("--user", user, "the user concerned");

    auto* locks = app.add_subcommand("locks", "lock holders")->require_subcommand(1);
    auto* locksList = locks->add_subcommand("list", "list the objects a user holds locked");
    std::string kind, name;
    locksList->add_option("USER", user, "user name")->required();
    auto* locksRelease = locks->add_subcommand("release", "release a user's lock on one object");
    locksRelease->add_option("USER", user, "user name")->required();
    locksRelease->add_option("KIND", kind, "person, role, system or server")
        ->required()
        ->check(CLI::IsMember({"person", "role", "system", "server"}));
    locksRelease->add_option("NAME", name, "name; a system as NAME or NAME.GROUP, a server as SERVER@SYSTEM")
        ->required();

    int retries = 4;
    int lockTimeout = -1;
    try {
        app.parse(argc, argv);
        if (!trace.empty()) kelatom::SetTrace(kelatom::ParseTraceSwitches(trace));
        retries = static_cast<int>(kelatom::ParseDecimal("--retries", retriesText, 0, 100));
        if (!lockTimeoutText.empty())
            lockTimeout = static_cast<int>(kelatom::ParseDecimal("--lock-timeout", lockTimeoutText, 0, 2147483647));
        if (*logAdd) {
            message = static_cast<std::int32_t>(kelatom::ParseDecimal("--message", messageText,
                                                                      std::numeric_limits<std::int32_t>::min(),
                                                                      std::numeric_limits<std::int32_t>::max()));
            kelatom::CheckMessageParameters(params);
        }
    } catch (CLI::ParseError const& e) {
        int rc = app.exit(e);
        return rc == 0 ? 0 : 2;
    } catch (std::exception const& e) {
        return Fail(std::string("kelatom: ") + e.what(), 2);
    }

    std::unique_ptr<kelatom::Session> session;
    try {
        KelTxnOptions options;
        options.attempts = retries + 1;
        session = std::make_unique<kelatom::Session>(url, options, readUrl);
        if (lockTimeout >= 0) session->Database().SetLockTimeout(std::chrono::milliseconds(lockTimeout));
        kelatom::Json result;
        std::string command;
        if (*init) {
            session->Run([](KelTOMForAdminServer& tom) { tom.Database().CreateSchema(); });
            bool seeded = demoData && kelatom::SeedDemo(*session);
            result = kelatom::Json{{"schema", "created"}, {"seeded", seeded}};
            command = "init";
        } else if (*demo) {
            kelatom::RunDemo(*session, std::cout, json);
            return 0;
        } else if (*stateShow) {
            result = kelatom::StateShow(*session, system);
            command = "state show";
        } else if (*instancesList) {
            result = kelatom::InstancesList(*session, system, forUpdate);
            command = "instances list";
        } else if (*logList) {
            result = kelatom::LogList(*session, system, errors);
            command = errors ? "log list --errors" : "log list";
        } else if (*logAdd) {
            result = kelatom::LogAdd(*session, system, message, params, user);
            command = "log add";
        } else if (*locksList) {
            result = kelatom::LocksList(*session, user);
            command = "locks list";
        } else if (*locksRelease) {
            result = kelatom::LocksRelease(*session, user, kind, name);
            command = "locks release";
        }
        // Committed: from here on nothing may turn the command into a failure.
        try {
            if (json)
                std::cout << kelatom::Dump(result) << "\n";
            else
                kelatom::PrintResult(std::cout, command, result);
        } catch (std::exception const& e) {
            std::cerr << "kelatom: the transaction was committed, but printing its result failed: " << e.what() << "\n";
        }
        return 0;
    } catch (KelDBException const& e) {
        Fail(e.What(), 3);
        int const attempts = session ? session->Runner().LastAttempts() : 0;
        if (e.Category() == KelDBErrorCategory::OutcomeUnknown)
            std::cerr << "kelatom: the connection was lost while COMMIT was in flight: the transaction may have "
                         "been committed; look before running the command again\n";
        else if (attempts > 0)
            std::cerr << "kelatom: the transaction failed after " << attempts
                      << (attempts == 1 ? " attempt" : " attempts") << "; nothing of it was committed\n";
        return 3;
    } catch (KelTOMNotFoundException const& e) {
        return Fail(e.What(), 1);
    } catch (KelTOMNotLockedException const& e) {
        return Fail(e.What(), 1);
    } catch (KelTOMNotLockedByThisException const& e) {
        return Fail(e.What(), 1);
    } catch (KelTOMLockholderNotFoundException const& e) {
        return Fail(e.What(), 1);
    } catch (KelException const& e) {
        return Fail(e.What(), 3);
    } catch (KelContractViolation const& e) {
        return Fail(std::string("kelatom: refused: ") + e.what(), 2);
    } catch (std::invalid_argument const& e) {
        return Fail(std::string("kelatom: ") + e.what(), 2);
    } catch (std::exception const& e) {
        return Fail(std::string("kelatom: ") + e.what(), 3);
    }
} catch (...) {
    // A failure while the options are set up (memory), or an exception of no standard type.
    return 3;
}
