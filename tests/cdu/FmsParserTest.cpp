#include "cdu/FmsParser.h"

#include "navdata/Navaid.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(FmsParserTest, IdentifiersAndTemporaryIdentifiers) {
    for (const char* valid : {"A", "ABCD", "ABC-1", "Z9Z9Z"}) {
        EXPECT_TRUE(FmsParser::isValidIdent(valid)) << valid;
    }
    for (const char* invalid : {"", "-ABC", "ABCD1X", "A/B", "AB C", "*AB"}) {
        EXPECT_FALSE(FmsParser::isValidIdent(invalid)) << invalid;
    }
    for (const char* temporary : {"*ABC", "#1", "&WPT12", "*PD01"}) {
        EXPECT_TRUE(FmsParser::isTemporaryIdent(temporary)) << temporary;
    }
    for (const char* other : {"*", "*-AB", "*ABCDEF", "ABC", "**AB", ""}) {
        EXPECT_FALSE(FmsParser::isTemporaryIdent(other)) << other;
    }
}

TEST(FmsParserTest, NavFrequencyEntries) {
    const struct {
        const char* entry;
        int32_t frequency;
    } accepted[] = {
        {"113.9", 0x01139000},  {"113.90", 0x01139000}, {"13.9", 0x01139000},
        {"108.05", 0x01080500}, {"117.95", 0x01179500}, {"113", 0x01130000},
        {"13", 0x01130000},
    };
    for (const auto& c : accepted) {
        int32_t frequency = 0;
        EXPECT_TRUE(FmsParser::parseNavFrequency(c.entry, frequency)) << c.entry;
        EXPECT_EQ(frequency, c.frequency) << c.entry;
    }
    for (const char* refused : {"108.07", "118.00", "113.905", "107.95", "113.", "1.2.3", "",
                                "11A.0", "99999999999.00"}) {
        int32_t frequency = 7;
        EXPECT_FALSE(FmsParser::parseNavFrequency(refused, frequency)) << refused;
        EXPECT_EQ(frequency, 7) << refused;
    }
    EXPECT_EQ(FmsParser::formatNavFrequency(0x01139000), "113.90");
    EXPECT_EQ(FmsParser::formatNavFrequency(0x01080500), "108.05");
}

TEST(FmsParserTest, ChannelTableFollowsThePairing) {
    EXPECT_EQ(tacanChannelTable[0].x, 0.0f);
    EXPECT_EQ(tacanChannelTable[1].x, 134.4f);
    EXPECT_EQ(tacanChannelTable[1].y, 0.0f);
    EXPECT_EQ(tacanChannelTable[17].x, 108.0f);
    EXPECT_EQ(tacanChannelTable[17].y, 108.05f);
    EXPECT_EQ(tacanChannelTable[59].y, 112.25f);
    EXPECT_EQ(tacanChannelTable[60].x, 133.3f);
    EXPECT_EQ(tacanChannelTable[69].y, 0.0f);
    EXPECT_EQ(tacanChannelTable[70].x, 112.3f);
    EXPECT_EQ(tacanChannelTable[126].y, 117.95f);
}

TEST(FmsParserTest, FrequenciesAndChannelsPairBothWays) {
    const struct {
        int32_t frequency;
        const char* channel;
    } pairs[] = {
        {0x01080000, "017X"}, {0x01080500, "017Y"}, {0x01123000, "070X"},
        {0x01140000, "087X"}, {0x01140500, "087Y"}, {0x01179500, "126Y"},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(FmsParser::frequencyToTacanChannel(p.frequency), p.channel) << p.channel;
        EXPECT_EQ(FmsParser::tacanChannelToFrequency(p.channel), p.frequency) << p.channel;
    }
}

TEST(FmsParserTest, UnpairedValuesGiveNoChannelAndNoFrequency) {
    // No frequency at all must not pair with the empty Y entries of channels 1 to 16.
    EXPECT_EQ(FmsParser::frequencyToTacanChannel(0), "");
    EXPECT_EQ(FmsParser::frequencyToTacanChannel(0x01180000), "");
    for (const char* channel :
         {"", "087", "087XY", "000X", "127X", "001Y", "001X", "060X", "ABCX"}) {
        EXPECT_EQ(FmsParser::tacanChannelToFrequency(channel), 0) << channel;
    }
    // Any fourth character other than Y is the X channel.
    EXPECT_EQ(FmsParser::tacanChannelToFrequency("087Z"), 0x01140000);
}

TEST(FmsParserTest, NavaidLabelsFollowTheStationType) {
    const struct {
        int32_t type;
        const char* usage;
        const char* channel;
        const char* strType;
        const char* typeText;
        int32_t frequency;
    } cases[] = {
        {kNavaidVor, "H", "", "VOR", "V H", 0x01163000},
        {kNavaidVortac, "B", "070X", "VORTAC", "VTU", 0x01163000},
        {kNavaidTacan, "H", "070X", "TACAN", " TH", 0x01123000},
        {kNavaidVorDme, "L", "101X", "VORDME", "VDL", 0x01163000},
        {kNavaidNdb, "L", "", "NDB", "old", 0x01163000},
        {kNavaidNdbDme, "T", "087Y", "NDBDME", " DT", 0x01140500},
        {kNavaidDme, "T", "087X", "DME", " DT", 0x01140000},
        {kNavaidDme, "T", "", "DME", " DT", 0},
        {6, "H", "087X", "old", "old", 0x01163000},
    };
    for (const auto& c : cases) {
        Navaid navaid;
        navaid.navaidType = c.type;
        navaid.usage = c.usage;
        navaid.channel = c.channel;
        navaid.frequency = 0x01163000;
        navaid.strType = "old";
        navaid.typeText = "old";
        FmsParser::labelNavaid(navaid);
        EXPECT_EQ(navaid.strType, c.strType) << c.type;
        EXPECT_EQ(navaid.typeText, c.typeText) << c.type;
        EXPECT_EQ(navaid.frequency, c.frequency) << c.type;
    }
}

TEST(FmsParserTest, ComAndAdfFrequencyEntries) {
    using Parse = bool (*)(std::string_view, int32_t&);
    const struct {
        Parse parse;
        const char* entry;
        bool accepted;
        int32_t frequency;
    } cases[] = {
        {FmsParser::parseComFrequency, "121.5", true, 0x01215000},
        {FmsParser::parseComFrequency, "121.50", true, 0x01215000},
        {FmsParser::parseComFrequency, "121.500", true, 0x01215000},
        {FmsParser::parseComFrequency, "21.5", true, 0x01215000},
        {FmsParser::parseComFrequency, "21", true, 0x01210000},
        {FmsParser::parseComFrequency, "121", true, 0x01210000},
        {FmsParser::parseComFrequency, "121.525", true, 0x01215250},
        {FmsParser::parseComFrequency, "136.975", true, 0x01369750},
        {FmsParser::parseComFrequency, "121.52", false, 0},
        {FmsParser::parseComFrequency, "117.975", false, 0},
        {FmsParser::parseComFrequency, "137.000", false, 0},
        {FmsParser::parseComFrequency, "121.", false, 0},
        {FmsParser::parseComFrequency, "121.5000", false, 0},
        {FmsParser::parseComFrequency, "1.2.1", false, 0},
        {FmsParser::parseAdfFrequency, "415", true, 0x04150000},
        {FmsParser::parseAdfFrequency, "415.0", true, 0x04150000},
        {FmsParser::parseAdfFrequency, "415.5", true, 0x04155000},
        {FmsParser::parseAdfFrequency, "1799.5", true, 0x17995000},
        {FmsParser::parseAdfFrequency, "100", true, 0x01000000},
        {FmsParser::parseAdfFrequency, "415.3", false, 0},
        {FmsParser::parseAdfFrequency, "99", false, 0},
        {FmsParser::parseAdfFrequency, "1800", false, 0},
        {FmsParser::parseAdfFrequency, "415.55", false, 0},
        {FmsParser::parseAdfFrequency, ".5", false, 0},
        // Ten digits would wrap the packed word back into the band.
        {FmsParser::parseAdfFrequency, "1000000415", false, 0},
    };
    for (const auto& c : cases) {
        int32_t frequency = 7;
        EXPECT_EQ(c.parse(c.entry, frequency), c.accepted) << c.entry;
        EXPECT_EQ(frequency, c.accepted ? c.frequency : 7) << c.entry;
    }
    EXPECT_EQ(FmsParser::formatComFrequency(0x01215250), "121.525");
    EXPECT_EQ(FmsParser::formatAdfFrequency(0x01000000), "100.0");
    EXPECT_EQ(FmsParser::formatAdfFrequency(0x17995000), "1799.5");
}

TEST(FmsParserTest, EveryFrequencyOfTheBandsReadsBackFromItsText) {
    const struct {
        bool (*parse)(std::string_view, int32_t&);
        std::string (*format)(int32_t);
        int first;
        int last;
        int step;
        int scale;
    } bands[] = {
        {FmsParser::parseComFrequency, FmsParser::formatComFrequency, 118000, 136975, 25, 1000},
        {FmsParser::parseNavFrequency, FmsParser::formatNavFrequency, 10800, 11795, 5, 100},
        {FmsParser::parseAdfFrequency, FmsParser::formatAdfFrequency, 1000, 17995, 5, 10},
    };
    for (const auto& band : bands) {
        for (int value = band.first; value <= band.last; value += band.step) {
            const std::string digits = std::to_string(value);
            const std::size_t wholeDigits = digits.size() - std::to_string(band.scale).size() + 1;
            const std::string text =
                digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits);
            int32_t word = 0;
            ASSERT_TRUE(band.parse(text, word)) << text;
            int32_t again = 0;
            ASSERT_TRUE(band.parse(band.format(word), again)) << text;
            EXPECT_EQ(again, word) << text;
        }
    }
}

} // namespace
} // namespace tavi
