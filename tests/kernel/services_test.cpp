// Kernel services: byte strings and strings (null versus empty, sharing, appending,
// order), the list tokenizer and the database timestamp text.
#include "kernel/kelkbin.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

template <class T>
std::string Printed(T const& value)
{
    std::ostringstream os;
    os << value;
    return os.str();
}

std::vector<std::string> Tokens(KelString const& list)
{
    KelString::Tokenizer tok(list, ";", true, true);
    std::vector<std::string> out;
    for (KelString t = tok.Next(); !t.IsNull(); t = tok.Next()) out.push_back(t.Str());
    EXPECT_TRUE(tok.Next().IsNull());  // stays at the end
    return out;
}

}  // namespace

TEST(KelStringTest, NullDiffersFromEmpty)
{
    KelString null, empty(""), room(KelString::createEmpty, 16);
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_EQ(room, empty);
    EXPECT_NE(null, empty);
    EXPECT_TRUE(null < empty);
    EXPECT_EQ(Printed(null), "<null>");
    EXPECT_EQ(Printed(empty), "");

    // Plain byte order, case-sensitive, a prefix first.
    EXPECT_TRUE(KelString("a") < KelString("ab"));
    EXPECT_TRUE(KelString("ab") < KelString("b"));
    EXPECT_TRUE(KelString("B") < KelString("a"));

    EXPECT_EQ(Printed(KelBinary("\x0A\xFF", 2)), "0AFF");
    EXPECT_EQ(Printed(KelBinary(KelBinary::createEmpty, 3)), "000000");
}

TEST(KelStringTest, NullHandleUse)
{
    KelContractRecorder rec;
    KelString null;
    EXPECT_THROW(null.C_str(), KelContractViolation);
    EXPECT_THROW(KelBinary().Data(), KelContractViolation);
    EXPECT_EQ(rec.Conditions(), (std::vector<std::string>{"!IsNull()", "!IsNull()"}));
    rec.Clear();
    // Length has no handle to use, so it reports and goes on.
    EXPECT_EQ(null.Length(), 0);
    EXPECT_TRUE(rec.Has("!IsNull()"));
}

TEST(KelStringTest, SharingAndCopyOnAppend)
{
    KelString a("abc");
    EXPECT_EQ(a.RefCount(), 1u);
    {
        KelString b = a;
        KelBinary c = b;
        EXPECT_EQ(a.RefCount(), 3u);
        EXPECT_EQ(b.C_str(), a.C_str());

        b |= "d";
        EXPECT_EQ(a, KelString("abc"));
        EXPECT_EQ(b, KelString("abcd"));
        EXPECT_EQ(a.RefCount(), 2u);
        c.Release();
        EXPECT_TRUE(c.IsNull());
        EXPECT_EQ(a.RefCount(), 1u);
    }
    // A sole owner with room appends in place.
    KelString room(KelString::createEmpty, 8);
    char const* before = room.C_str();
    room |= "hello";
    room |= KelString("!");
    EXPECT_EQ(room.C_str(), before);
    EXPECT_STREQ(room.C_str(), "hello!");

    // Appending a string to itself, also through its own text, when it must grow.
    KelString self("xy");
    self |= self;
    EXPECT_EQ(self, KelString("xyxy"));
    self |= self.C_str();
    EXPECT_EQ(self, KelString("xyxyxyxy"));
}

TEST(KelTokenizerTest, EveryTokenIncludingEmptyOnes)
{
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_TRUE(Tokens(KelString()).empty());
    EXPECT_EQ(Tokens("a"), std::vector<std::string>{"a"});
    EXPECT_EQ(Tokens("a;;b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Tokens("a;"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Tokens(";"), (std::vector<std::string>{"", ""}));

    KelString::Tokenizer tok("p;q", ";", true, true);
    EXPECT_EQ(tok.Next(), KelString("p"));
    tok.SetList("r");
    EXPECT_EQ(tok.Next(), KelString("r"));
    EXPECT_TRUE(tok.Next().IsNull());
}

TEST(KelTimeStampTest, TextRoundTripInUtcWithMicroseconds)
{
    EXPECT_EQ(KelTimeStamp(0, 1).AsVsqString(), KelString("1970-01-01-00.00.00.000001"));
    EXPECT_EQ(KelTimeStamp(1700000000, 123456).AsVsqString(), KelString("2023-11-14-22.13.20.123456"));

    KelTimeStamp now = KelTimeStamp::Now();
    KelString text = now.AsVsqString();
    EXPECT_EQ(text.Length(), 26);
    EXPECT_EQ(KelTimeStamp::FromVsqString(text, 0), now);
    KelString leapDay("2024-02-29-23.59.59.999999");
    EXPECT_EQ(KelTimeStamp::FromVsqString(leapDay, 0).AsVsqString(), leapDay);
}

TEST(KelTimeStampTest, MalformedTextFailsItsRequire)
{
    EXPECT_THROW(KelTimeStamp::FromVsqString("2023-11-14 22:13:20.000000", 0), KelContractViolation);

    KelContractRecorder rec;
    for (char const* bad : {"2023-11-14-22.13.20.12345", "2023-13-01-00.00.00.000000", "2023-02-29-00.00.00.000000",
                            "2023-11-14-24.00.00.000000", "2023-11-14-22.13.2x.000000", ""}) {
        rec.Clear();
        EXPECT_TRUE(KelTimeStamp::FromVsqString(bad, 0).IsNull()) << bad;
        EXPECT_EQ(rec.Failures().size(), 1u) << bad;
    }
}
