#include "db/keldassv.hpp"

#include "db/keldssvr.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_SERVER, KelServerID>;
template class KelDBNamedTable<KEL_SERVER, KelServerID>;

KelDatabase::Server::Server(KelDrvConnection& conn) : KelDBNamedTable(conn, KEL_SERVER::Definition()) {}
