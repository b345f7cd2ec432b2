// KelDatabase::Server: the accessor of the server table, one row per server keyed by its
// kind, name, system and system group, with the server's OID unique as well.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelmsvid.hpp"

struct KEL_SERVER;

class KelDatabase::Server : public KelDBNamedTable<KEL_SERVER, KelServerID> {
public:
    explicit Server(KelDrvConnection& conn);
};

extern template class KelDBTable<KEL_SERVER, KelServerID>;
extern template class KelDBNamedTable<KEL_SERVER, KelServerID>;

template <>
struct KelTypeName<KelDatabase::Server> {
    static constexpr char const* value = "KelDatabase::Server";
};
