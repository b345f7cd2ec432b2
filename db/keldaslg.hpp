// KelDatabase::SystemLog: the accessor of the system log table, one row per message keyed
// by the record's OID. Its cursor reads the messages that one system wrote, by the
// system name stored in the record.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"

struct KEL_SYSTEM_LOG;

class KelDatabase::SystemLog : public KelDBTable<KEL_SYSTEM_LOG, KelOID> {
public:
    explicit SystemLog(KelDrvConnection& conn);

    bool selSystemNameOpenFetch(KelString const& systemName, KEL_SYSTEM_LOG& row) const;
    bool selSystemNameFetch(KEL_SYSTEM_LOG& row) const;
    void selSystemNameClose() const;

private:
    std::size_t _selSystemName;
};

extern template class KelDBTable<KEL_SYSTEM_LOG, KelOID>;

template <>
struct KelTypeName<KelDatabase::SystemLog> {
    static constexpr char const* value = "KelDatabase::SystemLog";
};
