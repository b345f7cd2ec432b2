#include "db/keldarol.hpp"

#include "db/keldsrol.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_ROLE, KelString>;
template class KelDBNamedTable<KEL_ROLE, KelString>;

KelDatabase::Role::Role(KelDrvConnection& conn) : KelDBNamedTable(conn, KEL_ROLE::Definition()) {}
