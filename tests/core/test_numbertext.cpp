#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/numbertext.h"

namespace {

TEST(NumberText, IntegerConversion) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"-1", true, -1},
        {"+7", true, 7},
        {" 42", true, 42},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"", false, 0},
        {"abc", false, 0},
        {"12a", false, 0},
        {"42 ", false, 0},
        {"-", false, 0},
        {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        if (c.ok) {
            EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "accepted " << c.text;
            } catch (const ConvertError& e) {
                EXPECT_EQ(e.Message(), std::string("'") + c.text + "' is not a valid integer value");
            }
        }
    }
    EXPECT_EQ(StrToIntDef("x", 5), 5);
}

TEST(NumberText, TruthValues) {
    EXPECT_TRUE(StrToBool("-1"));
    EXPECT_TRUE(StrToBool("7"));
    EXPECT_TRUE(StrToBool("TRUE"));
    EXPECT_TRUE(StrToBool("tRuE"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_FALSE(StrToBool("False"));
    EXPECT_THROW(StrToBool("yes"), ConvertError);
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false), "0");
}

}  // namespace
