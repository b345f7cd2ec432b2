#include "db/keldassy.hpp"

#include "db/keldssys.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SYSTEM, KelSystemID>;
template class KelDBNamedTable<KEL_SYSTEM, KelSystemID>;

KelDatabase::System::System(KelDrvConnection& conn) : KelDBNamedTable(conn, KEL_SYSTEM::Definition()) {}
