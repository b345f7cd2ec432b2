// The database type of the running process, as the database kernel reports it to the
// object caches. The caches distinguish Oracle (111) only; SQLite and PostgreSQL have
// codes of their own. KelDatabase::Open records the type of the database it opened;
// a KelRtDbTypeOverride replaces the reported type while it lives (tests use it to take
// the Oracle path on SQLite). Process-wide and not synchronized: set it up before
// transactions run on other threads.
#pragma once

#include "kernel/kelknam.hpp"  // KelDBType

// The type code of the current database: the innermost live override, else the type of
// the database opened last, else KelDBType::None.
long KelGetRtDbType();

// Records the type of a database that has just been opened.
void KelSetRtDbType(KelDBType::Type type);

// Reports `type` from KelGetRtDbType while it lives; overrides nest and must end in
// reverse order of their creation.
class KelRtDbTypeOverride {
public:
    explicit KelRtDbTypeOverride(long type);
    ~KelRtDbTypeOverride();
    KelRtDbTypeOverride(KelRtDbTypeOverride const&) = delete;
    long Type() const { return _type; }
    KelRtDbTypeOverride& operator=(KelRtDbTypeOverride const&) = delete;

private:
    KelRtDbTypeOverride* _previous;
    long _type;
};
