// The members that hand out the barcodes a scanner found on its last page,
// called by dispatch ID against the scripted engine with a list of one and
// of three codes whose every field differs from code to code (and x from y):
// code n is the engine's code n - 1, and numbers outside 1..count answer
// "" or 0 without asking the engine.
#include <gtest/gtest.h>

#include <string>

#include "imaging/twain/testing/scripted_engine_table.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;

class TwainBarcodeTable : public ScriptedEngineTable {
public:
    using ScriptedEngineTable::call;
    void codes(int32_t count) {
        ScriptedEngineScript script;
        script.barcodeCount = count;
        play(script);
    }
    std::string value(int32_t number) {
        VARIANT result = call("TwainBarCodeGetValue", {MakeI4(number)});
        std::string text = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : "(not a text)";
        VariantClear(&result);
        return text;
    }
};

// A field member: `expected(i)` for the engine's code i.
struct FieldRow {
    const char* member;
    int32_t (*expected)(int32_t i);
};

const FieldRow kFieldRows[] = {
    {"TwainBarCodeGetType", [](int32_t i) { return 2 + i; }},
    {"TwainBarCodeGetXPos", [](int32_t i) { return 100 + 10 * i; }},
    {"TwainBarCodeGetYPos", [](int32_t i) { return 40 + 7 * i; }},
    {"TwainBarCodeGetConfidence", [](int32_t i) { return 90 - 5 * i; }},
    {"TwainBarCodeGetRotation", [](int32_t i) { return i % 5; }},
};
const bool kFieldRowsRegistered = RegisterMemberTable("_Twain", kFieldRows);

struct NamedRow {
    const char* member;
};
const NamedRow kListRows[] = {{"TwainBarCodeGetCount"}, {"TwainBarCodeGetValue"}};
const bool kListRowsRegistered = RegisterMemberTable("_Twain", kListRows);

TEST_F(TwainBarcodeTable, TheCountAndEveryValueOfAListOfOneAndOfThree) {
    ASSERT_TRUE(kListRowsRegistered);
    for (int32_t count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        ASSERT_NO_FATAL_FAILURE(codes(count));
        EXPECT_EQ(call("TwainBarCodeGetCount").lVal, count);
        for (int32_t n = 1; n <= count; ++n) EXPECT_EQ(value(n), "code " + std::to_string(n));
        EXPECT_EQ(value(0), "");
        EXPECT_EQ(value(count + 1), "");
    }
}

TEST_F(TwainBarcodeTable, EachFieldOfTheFirstAndTheLastCode) {
    ASSERT_TRUE(kFieldRowsRegistered);
    for (int32_t count : {1, 3}) {
        ASSERT_NO_FATAL_FAILURE(codes(count));
        for (const FieldRow& row : kFieldRows) {
            SCOPED_TRACE(std::string(row.member) + " of " + std::to_string(count));
            for (int32_t n = 1; n <= count; ++n)
                EXPECT_EQ(call(row.member, {MakeI4(n)}).lVal, row.expected(n - 1)) << "code " << n;
            EXPECT_EQ(call(row.member, {MakeI4(0)}).lVal, 0);
            EXPECT_EQ(call(row.member, {MakeI4(count + 1)}).lVal, 0);
        }
    }
}

}  // namespace
}  // namespace scanvelt::testing
