// KelDatabase::ErrorLog: the accessor of the error log table, one row per error keyed by
// the record's OID. Its cursors read the errors of one system (by the system name stored
// in the record) and the errors that belong to one system log record.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"

struct KEL_ERROR_LOG;

class KelDatabase::ErrorLog : public KelDBTable<KEL_ERROR_LOG, KelOID> {
public:
    explicit ErrorLog(KelDrvConnection& conn);

    bool selSystemNameOpenFetch(KelString const& systemName, KEL_ERROR_LOG& row) const;
    bool selSystemNameFetch(KEL_ERROR_LOG& row) const;
    void selSystemNameClose() const;

    // `systemLogOid` holds the 16 bytes of the system log record's OID.
    bool selSystemLogIDOpenFetch(KelBinary const& systemLogOid, KEL_ERROR_LOG& row) const;
    bool selSystemLogIDFetch(KEL_ERROR_LOG& row) const;
    void selSystemLogIDClose() const;

private:
    std::size_t _selSystemName, _selSystemLogId;
};

extern template class KelDBTable<KEL_ERROR_LOG, KelOID>;

template <>
struct KelTypeName<KelDatabase::ErrorLog> {
    static constexpr char const* value = "KelDatabase::ErrorLog";
};
