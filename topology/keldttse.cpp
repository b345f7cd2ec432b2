#include "topology/keldttse.hpp"

#include "db/keldaper.hpp"
#include "db/keldarol.hpp"
#include "db/keldassv.hpp"
#include "db/keldassy.hpp"
#include "db/keldsper.hpp"
#include "db/keldsrol.hpp"
#include "db/keldssvr.hpp"
#include "db/keldssys.hpp"
#include "tom/keldtqry.hpp"

namespace {
// Appends an entity of the given type for every row that the accessor's lock-holder
// cursor returns for the holder's name.
template <class R, class A>
void AppendLocked(A& accessor, KelString const& name, KelEntityType::Type type, std::vector<KelEntity>& entities)
{
    KelTomWalkCursor<R>([&](R& row) { return accessor.selectLckhldrOpenFetch(name, row); },
                        [&](R& row) { return accessor.selectLckhldrFetch(row); },
                        [&] { accessor.selectLckhldrClose(); },
                        [&](std::unique_ptr<R>& row) { entities.push_back(KelEntity(row->Key(), type)); });
}
}  // namespace

KelTOMForSearch::~KelTOMForSearch() = default;

void KelTOMForSearch::LockedBy(KelUserID const& lockHolder, std::vector<KelEntity>& entities) const
{
    AppendLocked<KEL_PERSON>(_database.person(), lockHolder.Name(), KelEntityType::Person, entities);
    AppendLocked<KEL_ROLE>(_database.role(), lockHolder.Name(), KelEntityType::Role, entities);
}

KelTOMForTopologySearch::~KelTOMForTopologySearch() = default;

void KelTOMForTopologySearch::LockedBy(KelUserID const& lockHolder, std::vector<KelEntity>& entities) const
{
    AppendLocked<KEL_SYSTEM>(_database.system(), lockHolder.Name(), KelEntityType::System, entities);
    AppendLocked<KEL_SERVER>(_database.server(), lockHolder.Name(), KelEntityType::Server, entities);
}
