// The item pool's names, the label colour rule and page reset.
#include <gtest/gtest.h>

#include "page.h"

namespace {

using quom::ItemKind;
using quom::Page;

TEST(ItemNames, SuffixesSlotsAndEmptySlotTexts) {
    struct Case {
        int id;
        const char* label;
        const char* slot_widget;
        const char* empty_text;
    };
    const Case cases[] = {
        {1, "Label1", "Label10", "Label10"},   {9, "Label9", "Label18", "Label18"},
        {10, "Label0", "Label19", "Label19"},  {11, "Label01", "Label27", "Label20"},
        {19, "Label09", "Label35", "Label28"}, {20, "Label00", "Label36", "Label29"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quom::ItemName(ItemKind::Label, c.id), c.label) << c.id;
        EXPECT_EQ(quom::SlotWidgetName(c.id), c.slot_widget) << c.id;
        EXPECT_EQ(quom::EmptySlotText(c.id), c.empty_text) << c.id;
    }
}

TEST(ItemPool, FindsByExactCaseSensitiveName) {
    Page page;
    ASSERT_NE(page.pool().Find("Picture00"), nullptr);
    EXPECT_EQ(page.pool().Find("Picture00")->id, 20);
    EXPECT_EQ(page.pool().Find("Label0")->id, 10);
    for (const char* not_an_item : {"Label10", "label1", "Button1 ", "Label27", "", "Button21"})
        EXPECT_EQ(page.pool().Find(not_an_item), nullptr) << not_an_item;
}

TEST(LabelColour, FollowsThePageUntilGivenADifferentColour) {
    Page page;
    quom::PageItem& kept = page.Item(ItemKind::Label, 1);
    quom::PageItem& own = page.Item(ItemKind::Label, 2);

    // Setting the colour a label already has changes nothing, not even the flag.
    kept.SetColour(quom::kButtonFaceColour);
    own.SetColour(0x0000FF);
    page.SetColour(12632256);

    EXPECT_TRUE(kept.follows_page());
    EXPECT_EQ(kept.colour(), 12632256);
    EXPECT_EQ(page.Item(ItemKind::Label, 20).colour(), 12632256) << "hidden labels follow too";
    EXPECT_FALSE(own.follows_page());
    EXPECT_EQ(own.colour(), 0x0000FF);

    // A label whose own colour happens to equal the page's stops following all the same.
    kept.SetColour(0x00FF00);
    page.SetColour(0);
    EXPECT_EQ(kept.colour(), 0x00FF00);
}

TEST(PageReset, HidesAndEmptiesButKeepsGeometryColoursAndFonts) {
    Page page;
    page.width = 600;
    page.SetColour(8421504);
    quom::PageItem& button = page.Item(ItemKind::Button, 12);
    button.left = -5000;
    button.top = 40;
    button.width = 300;
    button.font_size = 14;
    button.caption = "Go";
    button.action = "Beep();";
    quom::PageItem& label = page.Item(ItemKind::Label, 3);
    label.SetColour(255);
    quom::PageItem& picture = page.Item(ItemKind::Picture, 11);
    picture.slot_text = "house.bmp";
    picture.picture.width = 99;

    page.Reset();

    EXPECT_EQ(button.top, quom::kHiddenTop);
    EXPECT_EQ(button.caption, "Button02");
    EXPECT_EQ(button.action, "NONE();");
    EXPECT_EQ(button.left, -5000);
    EXPECT_EQ(button.width, 300);
    EXPECT_EQ(button.font_size, 14);
    EXPECT_EQ(label.colour(), 255);
    EXPECT_EQ(picture.slot_text, "Label20");
    EXPECT_EQ(picture.picture, quom::PlaceholderPicture());
    EXPECT_EQ(page.width, 600);
    EXPECT_EQ(page.colour(), 8421504);
}

}  // namespace
