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

// Reaches the representation to break its invariant on purpose.
class BrokenBinary : public KelBinary {
public:
    BrokenBinary() : KelBinary(createEmpty, 4) {}
    void Check(std::int32_t len)
    {
        std::int32_t saved = _pRep->_len;
        _pRep->_len = len;
        CheckInvariant();
        _pRep->_len = saved;
    }
};

}  // namespace

TEST(KelStringTest, NullDiffersFromEmpty)
{
    KelString null, empty(""), room(KelString::createEmpty, 16);
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_FALSE(room.IsNull());
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_EQ(room.Length(), 0);
    EXPECT_EQ(room, empty);
    EXPECT_NE(null, empty);
    EXPECT_TRUE(null < empty);
    EXPECT_FALSE(empty < null);
    EXPECT_EQ(Printed(null), "<null>");
    EXPECT_EQ(Printed(empty), "");
    EXPECT_EQ(null.Str(), "");
    EXPECT_TRUE(KelString(static_cast<char const*>(nullptr)).IsNull());
    EXPECT_EQ(KelString("abcdef", 3), KelString("abc"));

    // Plain byte order, case-sensitive, a prefix first.
    EXPECT_TRUE(KelString("a") < KelString("ab"));
    EXPECT_TRUE(KelString("ab") < KelString("b"));
    EXPECT_TRUE(KelString("B") < KelString("a"));
    EXPECT_NE(KelString("a"), KelString("A"));

    std::ostringstream buffer;
    buffer << "n=" << 12;
    EXPECT_EQ(KelString::FromBuffer(buffer), KelString("n=12"));

    KelBinary bytes("\x0A\xFF", 2);
    EXPECT_EQ(Printed(bytes), "0AFF");
    EXPECT_EQ(Printed(KelBinary()), "<null>");
    EXPECT_TRUE(KelBinary().AsHexString().IsNull());
    KelBinary zeros(KelBinary::createEmpty, 3);
    EXPECT_EQ(Printed(zeros), "000000");
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
    EXPECT_EQ(KelBinary().Length(), 0);
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
        EXPECT_EQ(b.RefCount(), 1u);
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
    EXPECT_EQ(room.Length(), 6);

    // Appending a string to itself, also through its own text, when it must grow.
    KelString self("xy");
    self |= self;
    EXPECT_EQ(self, KelString("xyxy"));
    self |= self.C_str();
    EXPECT_EQ(self, KelString("xyxyxyxy"));

    KelString fromNull;
    fromNull |= "z";
    EXPECT_EQ(fromNull, KelString("z"));

    KelString moved(std::move(a));
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(moved, KelString("abc"));
    a = moved;
    a = a;
    EXPECT_EQ(moved.RefCount(), 2u);
}

TEST(KelStringTest, InvariantIsChecked)
{
    KelContractRecorder rec;
    BrokenBinary b;
    b.Check(4);
    EXPECT_TRUE(rec.Empty());
    b.Check(5);
    ASSERT_EQ(rec.Failures().size(), 1u);
    EXPECT_EQ(rec.Failures()[0].condition, "_pRep==0 || _pRep->_len <= _pRep->_allocLen");
    EXPECT_EQ(rec.Failures()[0].kind, KelContractKind::Invariant);
}

TEST(KelTokenizerTest, EveryTokenIncludingEmptyOnes)
{
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_TRUE(Tokens(KelString()).empty());
    EXPECT_EQ(Tokens("a"), std::vector<std::string>{"a"});
    EXPECT_EQ(Tokens("a;;b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Tokens("a;"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Tokens(";"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Tokens(";x;"), (std::vector<std::string>{"", "x", ""}));

    KelString::Tokenizer tok("p;q", ";", true, true);
    EXPECT_EQ(tok.Next(), KelString("p"));
    tok.SetList("r");
    EXPECT_EQ(tok.Next(), KelString("r"));
    EXPECT_TRUE(tok.Next().IsNull());
}

TEST(KelTimeStampTest, TextRoundTripInUtcWithMicroseconds)
{
    EXPECT_TRUE(KelTimeStamp().IsNull());
    EXPECT_EQ(Printed(KelTimeStamp()), "<null>");
    EXPECT_EQ(KelTimeStamp(0, 1).AsVsqString(), KelString("1970-01-01-00.00.00.000001"));
    EXPECT_EQ(KelTimeStamp(1700000000, 123456).AsVsqString(), KelString("2023-11-14-22.13.20.123456"));
    EXPECT_EQ(KelTimeStamp(951782400, 0).AsVsqString(), KelString("2000-02-29-00.00.00.000000"));

    KelTimeStamp now = KelTimeStamp::Now();
    KelString text = now.AsVsqString();
    EXPECT_EQ(text.Length(), 26);
    EXPECT_EQ(KelTimeStamp::FromVsqString(text, 0), now);
    KelTimeStamp parsed = KelTimeStamp::FromVsqString("2024-02-29-23.59.59.999999", 0);
    EXPECT_EQ(parsed.Micros(), 999999);
    EXPECT_EQ(parsed.AsVsqString(), KelString("2024-02-29-23.59.59.999999"));
    EXPECT_EQ(KelTimeStamp::FromVsqString("1999-12-31-23.59.59.000000", 0) < KelTimeStamp(946684800, 0), true);
}

TEST(KelTimeStampTest, MalformedTextFailsItsRequire)
{
    EXPECT_THROW(KelTimeStamp::FromVsqString("2023-11-14 22:13:20.000000", 0), KelContractViolation);

    KelContractRecorder rec;
    for (char const* bad : {"2023-11-14-22.13.20.12345", "2023-11-14-22.13.20.1234567", "2023-13-01-00.00.00.000000",
                            "2023-02-29-00.00.00.000000", "2023-04-31-00.00.00.000000", "2023-11-14-24.00.00.000000",
                            "2023-11-14-22.13.2x.000000", "2023-11-14T22.13.20.000000", ""}) {
        rec.Clear();
        EXPECT_TRUE(KelTimeStamp::FromVsqString(bad, 0).IsNull()) << bad;
        EXPECT_EQ(rec.Failures().size(), 1u) << bad;
    }
    rec.Clear();
    EXPECT_TRUE(KelTimeStamp::FromVsqString(KelString(), 0).IsNull());
    EXPECT_EQ(rec.Failures().size(), 1u);
    EXPECT_EQ(rec.Failures()[0].kind, KelContractKind::Require);
}
