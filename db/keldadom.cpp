#include "db/keldadom.hpp"

#include "db/keldsdom.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_DOMAIN, KelString>;

KelDatabase::Domain::Domain(KelDrvConnection& conn) : KelDBTable(conn, KEL_DOMAIN::Definition()) {}
