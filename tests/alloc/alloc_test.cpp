// Each allocation of the object manager and one transaction failed in turn: bad_alloc, nothing left behind.
#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "kernel/kelktrc.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

bool counting = false;
std::size_t allocations = 0;
std::size_t failAt = 0;  // 0: none fails

void* Allocate(std::size_t size)
{
    if (counting && ++allocations == failAt) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

// Counts the allocations of its lifetime; fails the n-th when n is given.
class AllocationCount {
public:
    explicit AllocationCount(std::size_t n = 0)
    {
        allocations = 0;
        failAt = n;
        counting = true;
    }
    ~AllocationCount() { counting = false; }
    std::size_t Count() const { return allocations; }
};

// Builds the object manager and saves a system and its state, failing allocation n: whether bad_alloc came out.
bool ConstructAndSaveASystemThrows(std::size_t n)
{
    std::unique_ptr<KelDatabase> db = KelDatabase::Open("sqlite::memory:");
    db->CreateSchema();
    try {
        AllocationCount failing(n);
        KelTOMForAdminServer tom(*db);
        db->Begin();
        try {
            KelSystemData& system = tom.ForSystems().Create(
                KelTOMForSystemParms::CreateInpParm(KelSystemID(KelString("SYS1"), KelString("GRP1"))));
            tom.ForSystems().Save(system);
            tom.ForSystemStates().Save(
                tom.ForSystemStates().Create(KelTOMForSystemStateParms::CreateInpParm(system.OID())));
            db->Commit();
        } catch (...) {
            if (db->InTransaction()) db->Rollback();
            tom.TxnHasBeenCommitted();
            throw;
        }
        tom.TxnHasBeenCommitted();
        return false;
    } catch (std::bad_alloc const&) {
        return true;
    }
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, std::nothrow_t const&) noexcept
{
    try {
        return Allocate(size);
    } catch (std::bad_alloc const&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::nothrow_t const& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::nothrow_t const&) noexcept { std::free(p); }
void operator delete[](void* p, std::nothrow_t const&) noexcept { std::free(p); }

// Also: the entry trace allocates nothing while tracing is off.
TEST(KelAllocationTest, EachFailedAllocationIsThrownAndAnUntracedEntryAllocatesNothing)
{
    ASSERT_FALSE(KelTrace::IsOn(3, 0x1, 0x10));
    {
        AllocationCount count;
        [] { kelkCtrFlow("KelAllocationTest::LongNamedOperation"); }();
        EXPECT_EQ(count.Count(), 0u);
    }
    for (bool traced : {false, true}) {
        KelTraceCapture capture(traced ? 9 : -1, ~0ul, ~0ul, traced);
        std::size_t n = 1;
        for (;; ++n, capture.Clear()) {
            bool const thrown = ConstructAndSaveASystemThrows(n);
            if (allocations < n) break;  // the run got through without a failure
            // Only the trace drops a failed allocation (with its record).
            if (!traced) {
                ASSERT_TRUE(thrown) << "allocation " << n;
            }
        }
        EXPECT_GT(n, 20u) << "traced " << traced;
    }
}
