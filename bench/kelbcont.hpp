// KelBenchContender: one way of doing the benchmark's workloads against one database.
// The harness calls the operations in this order for each size, on fresh tables:
// Prepare, Write (W1), ReadSystem, Hits (W3), RefreshAll (W5), EndRead (ReadSystem and
// EndRead together are W2), LockAndUpdate (W4), SmallTransactions (W6), Finish. Each timed operation returns
// the number of objects it handled, which the harness checks against the data set so
// that every contender is seen to do the same work.
//
// A contender owns its connection from Prepare to Finish and is used by one thread.
#pragma once

#include "bench/kelbdata.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

class KelBenchContender {
public:
    virtual ~KelBenchContender() = default;

    // "om" (the object manager) or "raw" (SQL through the database's C API).
    virtual std::string Kind() const = 0;
    // "sqlite" or "postgresql".
    virtual std::string Database() const = 0;

    // Empty tables of this database, with the server instances of the lock-and-update
    // workload and the small transactions' system state and instances already inserted
    // and committed. Not timed.
    virtual void Prepare(KelBenchData const& data) = 0;
    // W1: one transaction creates every log record, writes them and commits.
    virtual std::size_t Write(KelBenchData const& data) = 0;
    // W2, first half: a new transaction reads every log record of the read system and
    // keeps it (the cache, or plain rows).
    virtual std::size_t ReadSystem(KelBenchData const& data) = 0;
    // W3: each kept key looked up `rounds` times (the look-up alone: what the caller then
    // reads from the object is its own cost).
    virtual std::size_t Hits(KelBenchData const& data, int rounds) = 0;
    // The sum of the message numbers of what ReadSystem kept (not timed): the same for
    // every contender that read the same rows.
    virtual std::uint64_t KeptSum() const = 0;
    // W5: every kept record read again from the database.
    virtual std::size_t RefreshAll(KelBenchData const& data) = 0;
    // W2, second half: commit and let go of everything kept.
    virtual void EndRead() = 0;
    // W4: a new transaction locks the instances of the instance system, changes their
    // state, writes them and commits.
    virtual std::size_t LockAndUpdate(KelBenchData const& data) = 0;
    // W6: the first `count` of data.txns, each its own transaction: lock the system's state
    // and its instances, change them, write one log record, commit. Returns the
    // transactions that did all of it.
    virtual std::size_t SmallTransactions(KelBenchData const& data, std::size_t count) = 0;
    // Closes the connection and removes what Prepare made (files, tables).
    virtual void Finish() = 0;
};
