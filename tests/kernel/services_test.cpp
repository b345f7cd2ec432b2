// Kernel services: byte strings, strings and the database timestamp text.
#include "kernel/kelkbin.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include "testutil.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Null and empty differ in order and print; a null handle's text is a contract failure.
TEST(KelStringTest, NullDiffersFromEmpty)
{
    KelString null, empty("");
    EXPECT_EQ(KelString(KelString::createEmpty, 16), empty);
    EXPECT_NE(null, empty);
    EXPECT_TRUE(null < empty);
    EXPECT_EQ(Printed(null), "<null>");

    // Plain byte order, case-sensitive, a prefix first.
    EXPECT_TRUE(KelString("a") < KelString("ab"));
    EXPECT_TRUE(KelString("B") < KelString("a"));
    EXPECT_EQ(Printed(KelBinary("\x0A\xFF", 2)), "0AFF");

    KelContractRecorder rec;
    EXPECT_THROW(null.C_str(), KelContractViolation);
    EXPECT_THROW(KelBinary().Data(), KelContractViolation);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"!IsNull()", "!IsNull()"}));
    rec.Clear();
    // Length has no handle to use, so it reports and goes on.
    EXPECT_EQ(null.Length(), 0);
    EXPECT_TRUE(rec.Has("!IsNull()"));
}

TEST(KelStringTest, SharingCopyOnAppendAndRefillInPlace)
{
    KelString a("abc");
    {
        KelString b = a;
        KelBinary c = b;
        EXPECT_EQ(a.RefCount(), 3u);
        b |= "d";
        EXPECT_EQ(a, KelString("abc"));
        EXPECT_EQ(b, KelString("abcd"));
        c.Release();
        EXPECT_EQ(a.RefCount(), 1u);
    }
    // A sole owner with room appends and refills in place; a shared one is left alone unless the bytes are the same.
    KelString room(KelString::createEmpty, 8);
    char const* before = room.C_str();
    room |= "hello";
    EXPECT_EQ(room.C_str(), before);
    EXPECT_STREQ(room.C_str(), "hello");
    room.Fill("abc", 3);
    EXPECT_EQ(room.C_str(), before);
    KelString const sharer = room;
    room.Fill("xy", 2);
    EXPECT_EQ(sharer, KelString("abc"));
    room = sharer;
    room.Fill("abc", 3);
    EXPECT_EQ(room.Data(), sharer.Data());
    room.Fill("abd", 3);
    EXPECT_EQ(sharer, KelString("abc"));
    EXPECT_EQ(room, KelString("abd"));
    KelString null;
    null.Fill("", 0);
    EXPECT_EQ(null, KelString(""));

    // Appending a string to itself, also through its own text, when it must grow.
    KelString self("xy");
    self |= self;
    self |= self.C_str();
    EXPECT_EQ(self, KelString("xyxyxyxy"));
}

// Text round trip in UTC with microseconds; malformed text fails its require.
TEST(KelTimeStampTest, TextRoundTripsInUtcAndMalformedTextFailsItsRequire)
{
    EXPECT_EQ(KelTimeStamp(0, 1).AsVsqString(), KelString("1970-01-01-00.00.00.000001"));
    EXPECT_EQ(KelTimeStamp(1700000000, 123456).AsVsqString(), KelString("2023-11-14-22.13.20.123456"));
    KelTimeStamp now = KelTimeStamp::Now();
    EXPECT_EQ(KelTimeStamp::FromVsqString(now.AsVsqString(), 0), now);
    // Leap days of the 4- and 400-year rules read back as given; 1900 has none (below).
    for (char const* leapDay : {"2024-02-29-23.59.59.999999", "2000-02-29-00.00.00.000000"})
        EXPECT_EQ(KelTimeStamp::FromVsqString(leapDay, 0).AsVsqString(), KelString(leapDay));

    KelContractRecorder rec;
    for (char const* bad : {"2023-11-14 22:13:20.000000", "2023-11-14-22.13.20.12345", "2023-13-01-00.00.00.000000",
                            "2023-02-29-00.00.00.000000", "1900-02-29-00.00.00.000000", "2023-11-14-24.00.00.000000",
                            "2023-11-14-22.13.2x.000000", ""}) {
        rec.Clear();
        EXPECT_TRUE(KelTimeStamp::FromVsqString(bad, 0).IsNull()) << bad;
        EXPECT_EQ(rec.Failures().size(), 1u) << bad;
    }
}
