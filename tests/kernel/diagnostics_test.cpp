// Exceptions, raising, trace switches and the control-flow guard.
#include "kernel/kelkexc.hpp"
#include "kernel/kelktrc.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>

namespace {

KelOrigin const origin("src/x.cpp", 42, "KelCls<class A>::Op");
std::string const originText = ", Origin=File=src/x.cpp, Line=42, Function=KelCls<class A>::Op";

// Runs under a control-flow guard and fails on request.
void Guarded(bool fail)
{
    kelkCtrFlow("KelGuarded::Run");
    if (fail) throw std::runtime_error("passes through");
}

}  // namespace

TEST(KelExceptionTest, PrintedFormsAndTheTraceSwitchRulesOfRaising)
{
    EXPECT_EQ(KelIntExcInvalidCase(origin, -3).What(), "KelIntExcInvalidCase, Value=-3" + originText);
    EXPECT_EQ(KelTOMNotFoundException(origin, KelString()).What(),
              "KelTOMNotFoundException, KeyValues=<null>" + originText);
    EXPECT_EQ(KelTOMNotLockedException(origin, "not locked").What(), "not locked\n" + originText);
    EXPECT_EQ(KelTOMNotFoundException(KelOrigin(KelString(), 7, "F"), "k").What(),
              "KelTOMNotFoundException, KeyValues=k, Origin=File=<null>, Line=7, Function=F");
    EXPECT_FALSE(KelTOMNotFoundException(origin, "k").IsRecoverable());
    EXPECT_EQ(KelComposeText("Key=", 5, ", ", KelString("x")), KelString("Key=5, x"));

    long const level = KelTrace::_Level;
    // Raised: an invalid case at level 0, component 0x10; a not-found at level 3, component 0x8; category 0x2.
    struct {
        long level;
        unsigned long components, categories;
        bool on, xt;
        std::size_t records;
    } const cases[] = {
        {9, ~0ul, ~0ul, false, true, 1},   // off but extended: only the level-0 invalid case
        {-1, ~0ul, ~0ul, true, false, 0},  // a negative level silences level 0 too
        {-1, ~0ul, ~0ul, true, true, 1},
        {3, 0x10, 0x2, true, false, 1},  // level, component and category must all allow it
    };
    for (auto const& c : cases) {
        KelTraceCapture cap(c.level, c.components, c.categories, c.on, c.xt);
        EXPECT_THROW(KelRaise(KelIntExcInvalidCase(origin, 2), 0, 0x10), KelIntExcInvalidCase);
        EXPECT_THROW(KelRaise(KelTOMNotFoundException(origin, "k"), 3, 0x8), KelTOMNotFoundException);
        ASSERT_EQ(cap.Records().size(), c.records) << c.level << " " << c.components;
        if (c.records) {
            EXPECT_EQ(cap.Records()[0].text.rfind("THROW_INT, KelIntExcInvalidCase, Value=2", 0), 0u);
        }
    }
    // Each capture restored the switches it found: tracing is off again.
    EXPECT_FALSE(KelTrace::_On);
    EXPECT_FALSE(KelTrace::_Xt);
    EXPECT_EQ(KelTrace::_Level, level);
}

// Entry and exit traced from the guard's level on, also when throwing; a throwing sink loses only the record.
TEST(KelTraceTest, ControlFlowGuardWritesEntryAndExitAlsoWhenThrowing)
{
    {
        KelTraceCapture cap(3, 0x10, 0x1);
        Guarded(false);
        EXPECT_THROW(Guarded(true), std::runtime_error);
        ASSERT_EQ(cap.Records().size(), 4u);
        for (KelTraceRecord const& r : cap.Records()) {
            EXPECT_EQ(r.function, "KelGuarded::Run");
            EXPECT_EQ(std::make_tuple(r.level, r.category, r.component), std::make_tuple(3l, 0x1ul, 0x10ul));
        }
        EXPECT_EQ(cap.Records()[0].text, " >entry");
        EXPECT_NE(cap.Records()[1].text, " >entry");
        EXPECT_EQ(cap.Records()[3].text, cap.Records()[1].text);
    }
    {
        KelTraceCapture cap(2, 0x10, 0x1);
        Guarded(false);
        EXPECT_TRUE(cap.Records().empty());
    }
    KelTraceCapture cap(3, 0x10);
    KelTrace::SetSink([](KelTraceRecord const&) { throw std::runtime_error("sink failed"); });
    EXPECT_NO_THROW(Guarded(false));
    auto passed = Caught<std::runtime_error>([] { Guarded(true); });
    ASSERT_TRUE(passed);
    EXPECT_STREQ(passed->what(), "passes through");
    EXPECT_THROW(KelRaise(KelTOMNotFoundException(origin, "k"), 3, 0x10), KelTOMNotFoundException);
}
