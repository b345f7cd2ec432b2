// KelBenchData: the rows every contender of the benchmark writes and reads, generated
// once per size and shared read-only by all contenders of a run, so that each of them
// does exactly the same work. Plain values only: each contender turns them into its own
// form (bound parameters or server objects) inside its timed code.
//
// Log records: N records of four systems in turn (record i belongs to system i % 4),
// three parameters each. Server instances: N/10 instances, all of the first system.
// Small transactions (W6): a system of their own with its state and three instances, and
// per transaction the change and the log record it writes; their number does not depend on N.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using KelBenchOid = std::array<unsigned char, 16>;

struct KelBenchLogInput {
    KelBenchOid objectId;
    std::int64_t seconds;
    std::int32_t micros;
    int system;  // index into KelBenchData::systemNames
    std::int32_t messageNumber;
    std::int32_t severity;
    std::int32_t messageClass;
    std::int32_t messageType;
    bool errorFlag;
    std::int32_t svrKind;
    std::int32_t svrState;
    std::int32_t exception;
    bool exceptionIsNull;  // every third record has none
    std::string eventIdentifier;
    std::string userId;
    std::array<std::string, 3> parameters;
};

struct KelBenchInstanceInput {
    KelBenchOid svrOid;
    std::int64_t seconds;
    std::int32_t micros;
    std::int32_t svrType;
    std::int32_t svrState;
};

// One small transaction: the system and each of its instances get this state, changed at
// this time, and the transaction writes this log record.
struct KelBenchTxnInput {
    std::int32_t svrState;
    std::int64_t seconds;
    std::int32_t micros;
    KelBenchLogInput log;
};

struct KelBenchData {
    static constexpr int systemCount = 4;
    static char const* const systemNames[systemCount];
    static char const* const systemGroup;
    // The state that the lock-and-update workload gives every instance.
    static constexpr std::int32_t updatedState = 3;
    // When that change happened.
    static constexpr std::int64_t updateSeconds = 1700086400;
    static constexpr std::int32_t updateMicros = 500000;

    // Instances of the small transactions' system.
    static constexpr std::size_t txnInstanceCount = 3;

    // REQUIRES: n is a positive multiple of 40 (so that n/4 and n/10 are whole).
    // `transactions`: the most small transactions that a contender will run.
    explicit KelBenchData(std::size_t n, std::size_t transactions = 0);

    std::size_t N() const { return logs.size(); }
    // The system whose records the read workloads read, and the one that owns the instances.
    static int ReadSystem() { return 0; }
    KelBenchOid const& InstanceSystemOid() const { return instanceSystemOid; }
    // The records of ReadSystem(), in key order (the order in which the database returns them).
    std::vector<KelBenchOid> const& ReadKeys() const { return readKeys; }

    std::vector<KelBenchLogInput> logs;
    std::vector<KelBenchInstanceInput> instances;
    KelBenchOid instanceSystemOid;
    std::vector<KelBenchOid> readKeys;
    // The small transactions' system: its state row (state 1, started at its instances'
    // creation time) and instances as Prepare inserts them, and the transactions in order.
    KelBenchOid txnSystemOid;
    std::vector<KelBenchInstanceInput> txnInstances;
    std::vector<KelBenchTxnInput> txns;
};

// "YYYY-MM-DD-HH.MM.SS.ffffff" (UTC), the database's timestamp text, written into out[0..25]
// and terminated at out[26].
void KelBenchFormatTime(std::int64_t seconds, std::int32_t micros, char (&out)[27]);

// The parameters joined with ";", as the database stores them.
void KelBenchJoinParameters(std::array<std::string, 3> const& parameters, std::string& out);
