// A loopback PostgreSQL primary and synchronous standby in a temporary folder, run as postgres (by root only).
#pragma once

#include "db/keldrv.hpp"

#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>

class PgCluster {
public:
    // Empty when the tests can run, else why not.
    static std::string Unavailable()
    {
        if (!std::getenv("KELDATOM_CLUSTER_TEST")) return "KELDATOM_CLUSTER_TEST is not set";
        if (geteuid() != 0) return "the servers run as the postgres user, which only root may become";
        if (Bin().empty()) return "no PostgreSQL server programs under /usr/lib/postgresql";
        return std::string();
    }

    PgCluster()
    {
        try {
            Build();
        } catch (...) {
            Stop();
            throw;
        }
    }
    ~PgCluster() { Stop(); }
    PgCluster(PgCluster const&) = delete;
    PgCluster& operator=(PgCluster const&) = delete;

private:
    void Build()
    {
        char folder[] = "/tmp/keldatom-cluster.XXXXXX";
        if (!mkdtemp(folder)) throw std::runtime_error("mkdtemp");
        _dir = folder;
        _primaryPort = 20000 + static_cast<int>(getpid() % 10000) * 2;
        _standbyPort = _primaryPort + 1;
        Shell("chown postgres:postgres " + _dir);
        AsPostgres(Bin() + "/initdb -D " + _dir + "/primary -A trust -U postgres");
        Configure("primary", _primaryPort);
        AsPostgres(Ctl("primary") + " start");
        AsPostgres(Bin() + "/createdb -h 127.0.0.1 -p " + std::to_string(_primaryPort) + " keldatom");
        AsPostgres(Bin() + "/pg_basebackup -h 127.0.0.1 -p " + std::to_string(_primaryPort) +
                   " -U postgres -c fast -D " + _dir + "/standby -R -X stream");
        Configure("standby", _standbyPort);
        AsPostgres(Ctl("standby") + " start");
        // From here a commit returns once the standby has applied it.
        std::unique_ptr<KelDrvConnection> primary = KelDrvOpen(Url(_primaryPort));
        primary->Execute("ALTER SYSTEM SET synchronous_standby_names = '*'");
        primary->Execute("ALTER SYSTEM SET synchronous_commit = 'remote_apply'");
        primary->Execute("SELECT pg_reload_conf()");
        for (int i = 0;; ++i) {
            auto stmt = primary->Prepare("SELECT count(*) FROM pg_stat_replication WHERE sync_state = 'sync'", "");
            bool const sync = stmt->Step() && stmt->ColumnInt32(0) > 0;
            stmt->Reset();
            if (sync) break;
            if (i > 300) throw std::runtime_error("the standby never became synchronous");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // Both servers stopped and their folder removed (its log kept when a test failed).
    void Stop()
    {
        if (_dir.empty()) return;
        for (char const* server : {"primary", "standby"})
            if (std::filesystem::exists(_dir + "/" + server + "/postmaster.pid"))
                std::system(
                    ("su postgres -s /bin/sh -c '" + Ctl(server) + " -m immediate stop' >/dev/null 2>&1").c_str());
        if (testing::Test::HasFailure()) {
            std::cerr << "cluster logs kept in " << _dir << "\n";
            return;
        }
        std::error_code ec;
        std::filesystem::remove_all(_dir, ec);
    }

public:
    std::string StandbyUrl() const { return Url(_standbyPort); }
    // Both hosts: whichever takes writes, or whichever is a standby.
    std::string WriteUrl() const { return Hosts() + "?target_session_attrs=read-write"; }
    std::string ReadUrl(std::string const& extra) const { return Hosts() + "?target_session_attrs=standby" + extra; }

    // The primary dies as in a crash; then the standby becomes the primary.
    void StopPrimaryHard() { AsPostgres(Ctl("primary") + " -m immediate stop"); }
    void PromoteStandby() { AsPostgres(Ctl("standby") + " promote"); }

private:
    static std::string Bin()
    {
        std::string best;
        std::error_code ec;
        for (auto const& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
            std::string const bin = entry.path().string() + "/bin";
            if (std::filesystem::exists(bin + "/pg_ctl") && bin > best) best = bin;
        }
        return best;
    }
    std::string Url(int port) const { return "postgresql://postgres@127.0.0.1:" + std::to_string(port) + "/keldatom"; }
    std::string Hosts() const
    {
        return "postgresql://postgres@127.0.0.1:" + std::to_string(_primaryPort) +
               ",127.0.0.1:" + std::to_string(_standbyPort) + "/keldatom";
    }
    std::string Ctl(std::string const& server) const
    {
        return Bin() + "/pg_ctl -D " + _dir + "/" + server + " -l " + _dir + "/" + server + ".log -w";
    }
    void Configure(std::string const& server, int port) const
    {
        std::ofstream conf(_dir + "/" + server + "/postgresql.conf", std::ios::app);
        conf << "listen_addresses = '127.0.0.1'\nport = " << port << "\nunix_socket_directories = '" << _dir
             << "'\nfsync = off\n";
        if (!conf) throw std::runtime_error("cannot configure the " + server);
    }
    void AsPostgres(std::string const& command) const { Shell("su postgres -s /bin/sh -c '" + command + "'"); }
    void Shell(std::string const& command) const
    {
        if (std::system((command + " >>" + _dir + "/commands.log 2>&1").c_str()) != 0)
            throw std::runtime_error("failed: " + command + " (see " + _dir + "/commands.log)");
    }

    std::string _dir;
    int _primaryPort = 0;
    int _standbyPort = 0;
};
