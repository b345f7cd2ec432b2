// kelatom: runs the administration server's object manager against a real database.
// Exit codes: 0 success, 1 not found or not locked, 2 usage error or refused input,
// 3 database error. Every command runs in transactions that are rolled back on any error.
#include "db/keldbexc.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkexc.hpp"
#include "kernel/kelktrc.hpp"
#include "tools/kelatom/kelatcmd.hpp"
#include "tools/kelatom/kelatdem.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <sstream>

namespace {

// "level=N,components=MASK,categories=MASK[,xt]": turns the kernel trace on, to stderr.
void SetTrace(std::string const& switches)
{
    KelTrace::_On = true;
    KelTrace::_Level = 9;
    KelTrace::_Components = ~0ul;
    KelTrace::_Categories = ~0ul;
    std::stringstream items(switches);
    std::string item;
    while (std::getline(items, item, ',')) {
        auto eq = item.find('=');
        std::string key = item.substr(0, eq);
        std::string value = eq == std::string::npos ? "" : item.substr(eq + 1);
        if (key == "xt") {
            KelTrace::_Xt = true;
        } else if (key == "level") {
            KelTrace::_Level = std::stol(value, nullptr, 0);
        } else if (key == "components") {
            KelTrace::_Components = std::stoul(value, nullptr, 0);
        } else if (key == "categories") {
            KelTrace::_Categories = std::stoul(value, nullptr, 0);
        } else {
            throw CLI::ValidationError("--trace", "unknown switch '" + key + "'");
        }
    }
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
    app.add_option("--trace", trace, "kernel trace to stderr: level=N,components=MASK,categories=MASK[,xt]");
    app.add_flag("--json", json, "print results as JSON");

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
    std::vector<std::string> params;
    std::string user;
    logAdd->add_option("SYSTEM", system, "system name")->required();
    logAdd->add_option("--message", message, "message number")->required();
    logAdd->add_option("--param", params, "a message parameter (repeatable)");
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

    try {
        app.parse(argc, argv);
        if (!trace.empty()) SetTrace(trace);
    } catch (CLI::ParseError const& e) {
        int rc = app.exit(e);
        return rc == 0 ? 0 : 2;
    } catch (std::exception const& e) {
        std::cerr << "kelatom: " << e.what() << "\n";
        return 2;
    }

    try {
        kelatom::Session session(url);
        kelatom::Json result;
        std::string command;
        if (*init) {
            session.Database().CreateSchema();
            bool seeded = demoData && kelatom::SeedDemo(session);
            result = kelatom::Json{{"schema", "created"}, {"seeded", seeded}};
            command = "init";
        } else if (*demo) {
            kelatom::RunDemo(session, std::cout, json);
            return 0;
        } else if (*stateShow) {
            result = kelatom::StateShow(session, system);
            command = "state show";
        } else if (*instancesList) {
            result = kelatom::InstancesList(session, system, forUpdate);
            command = "instances list";
        } else if (*logList) {
            result = kelatom::LogList(session, system, errors);
            command = errors ? "log list --errors" : "log list";
        } else if (*logAdd) {
            result = kelatom::LogAdd(session, system, message, params, user);
            command = "log add";
        } else if (*locksList) {
            result = kelatom::LocksList(session, user);
            command = "locks list";
        } else if (*locksRelease) {
            result = kelatom::LocksRelease(session, user, kind, name);
            command = "locks release";
        }
        if (json)
            std::cout << result.dump(2) << "\n";
        else
            kelatom::PrintResult(std::cout, command, result);
        return 0;
    } catch (KelDBException const& e) {
        std::cerr << e << "\n";
        return 3;
    } catch (KelTOMNotFoundException const& e) {
        std::cerr << e << "\n";
        return 1;
    } catch (KelTOMNotLockedException const& e) {
        std::cerr << e << "\n";
        return 1;
    } catch (KelTOMNotLockedByThisException const& e) {
        std::cerr << e << "\n";
        return 1;
    } catch (KelTOMLockholderNotFoundException const& e) {
        std::cerr << e << "\n";
        return 1;
    } catch (KelException const& e) {
        std::cerr << e << "\n";
        return 3;
    } catch (KelContractViolation const& e) {
        std::cerr << "kelatom: refused: " << e.what() << "\n";
        return 2;
    } catch (std::invalid_argument const& e) {
        std::cerr << "kelatom: " << e.what() << "\n";
        return 2;
    } catch (std::exception const& e) {
        std::cerr << "kelatom: " << e.what() << "\n";
        return 3;
    }
} catch (...) {
    // A failure while the options are set up (memory), or an exception of no standard type.
    return 3;
}
