// The registry: number allocation, lookup, record order, defaults, start and end.
#include "toolkit_fixture.h"

namespace {

using RegistryTest = ToolkitTest;

TEST_F(RegistryTest, FreshRegistryHoldsNumbersZeroTo2100AllEmpty) {
    EXPECT_EQ(toolkit.registryTop, 2100);
    ASSERT_EQ(toolkit.registry.size(), 2101u);
    for (int n : {0, 1, 1999, 2000, 2100}) EXPECT_EQ(FindGadget(n), nullptr) << n;
    EXPECT_EQ(Gadget_GetActive(), -1);
    EXPECT_EQ(toolkit.currentFont, 2);
    EXPECT_NE(Font_Handle(2), 0) << "Gadget_Init loads the toolkit's font as number 2";
}

TEST_F(RegistryTest, FixedNumberBeyondTopGrowsTheRegistryFiftyPastIt) {
    Gadget_CreateText(2150, 0, 0, 10, 10, "t", 0);
    EXPECT_EQ(toolkit.registryTop, 2200);
    EXPECT_EQ(toolkit.registry.size(), 2201u);
    EXPECT_EQ(Gadget_Kind(2150), GadgetKind_Text);
    EXPECT_EQ(FindGadget(2200), nullptr);
    // Within the new top nothing grows.
    Gadget_CreateText(2200, 0, 0, 10, 10, "t", 0);
    EXPECT_EQ(toolkit.registryTop, 2200);
}

TEST_F(RegistryTest, AutomaticNumberingTakesTheFirstFreeFromOneAndGrowsWhenFull) {
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1) << "0 is never chosen, even when free";
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2);
    Gadget_Free(1);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 1) << "a freed number is free again";

    for (int n = 3; n <= 2100; ++n) Gadget_CreateText(n, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2101);
    EXPECT_EQ(toolkit.registryTop, 2150);
    EXPECT_EQ(Gadget_CreateText(kGadgetAuto, 0, 0, 1, 1, "", 0), 2102);
    EXPECT_EQ(toolkit.registryTop, 2150);
    EXPECT_EQ(FindGadget(0), nullptr);
}

TEST_F(RegistryTest, LookupOutsideTheRegistryFindsNothingAndChangesNothing) {
    Gadget_CreateText(3, 0, 0, 1, 1, "a", 0);
    GadgetRecord* last = toolkit.lastAccessed;
    for (int n : {-5, -1, 2101, 99999, 2147483647}) {
        EXPECT_EQ(FindGadget(n), nullptr) << n;
        EXPECT_EQ(Gadget_Kind(n), 0) << n;
    }
    EXPECT_EQ(FindGadget(4), nullptr) << "an empty entry inside the registry";
    EXPECT_EQ(toolkit.registryTop, 2100);
    EXPECT_EQ(toolkit.registry.size(), 2101u);
    EXPECT_EQ(toolkit.records.size(), 1u);
    EXPECT_EQ(toolkit.lastAccessed, last);
}

TEST_F(RegistryTest, UnreasonableNumbersAreNumberedAutomatically) {
    // Neither a negative number nor a huge one may index or balloon the registry.
    for (int n : {-5, -2147483647 - 1, 2147483647, 1000001}) {
        const int got = Gadget_CreateText(n, 0, 0, 1, 1, "x", 0);
        EXPECT_GE(got, 1) << n;
        EXPECT_LE(got, 2100) << n;
        EXPECT_EQ(Gadget_Kind(got), GadgetKind_Text) << n;
        EXPECT_EQ(Gadget_GetActive(), -1) << n;
    }
    EXPECT_EQ(toolkit.registryTop, 2100);
}

TEST_F(RegistryTest, DefaultsApplyOnlyToLaterGadgets) {
    Gadget_CreateText(1, 0, 0, 1, 1, "before", 0);
    Gadget_SetDefaultTextColor(0xCCB7B5);
    Gadget_SetDefaultFillMode(0);
    Gadget_CreateText(2, 0, 0, 1, 1, "after", 0);
    EXPECT_EQ(Record(1).textColor, 0);
    EXPECT_EQ(Record(1).fillMode, 1);
    EXPECT_EQ(Record(2).textColor, 0xCCB7B5);
    EXPECT_EQ(Record(2).fillMode, 0);
}

TEST_F(RegistryTest, ImageButtonAndFrameFillModesIgnoreTheDefault) {
    for (int mode : {0, 1, 2}) {
        Gadget_SetDefaultFillMode(mode);
        Gadget_CreateImageButton(10, 0, 0, 10, 10, 1234, 0);
        Gadget_CreateFrame(11, 0, 0, 10, 10, "f", 0);
        Gadget_CreateButton(12, 0, 0, 10, 10, "b");
        EXPECT_EQ(Record(10).fillMode, 2) << mode;
        EXPECT_EQ(Record(10).fillColor, 1234) << mode;
        EXPECT_EQ(Record(11).fillMode, 0) << mode;
        EXPECT_EQ(Record(12).fillMode, mode);
    }
}

TEST_F(RegistryTest, NewRecordGoesRightAfterTheRecordAccessedLast) {
    for (int n : {1, 2, 3}) Gadget_CreateText(n, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(RecordOrder(), (std::vector<int>{1, 2, 3})) << "creation order";

    Gadget_GetText(1);
    Gadget_CreateText(4, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(RecordOrder(), (std::vector<int>{1, 4, 2, 3}));
    Gadget_CreateText(5, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(RecordOrder(), (std::vector<int>{1, 4, 5, 2, 3})) << "the new record is the one accessed last";

    Gadget_GetText(99);  // a failed lookup touches nothing
    Gadget_CreateText(6, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(RecordOrder(), (std::vector<int>{1, 4, 5, 6, 2, 3}));

    Gadget_Free(6);  // the record accessed last is gone: new ones go to the end
    EXPECT_EQ(toolkit.lastAccessed, nullptr);
    Gadget_CreateText(7, 0, 0, 1, 1, "", 0);
    EXPECT_EQ(RecordOrder(), (std::vector<int>{1, 4, 5, 2, 3, 7}));
}

TEST_F(RegistryTest, DeletingAnOverwrittenRecordLeavesTheNewOwnerOfItsNumber) {
    Gadget_CreateText(5, 0, 0, 1, 1, "old", 0);
    GadgetRecord* old = FindGadget(5);
    Gadget_CreateText(5, 0, 0, 1, 1, "new", 0);
    DeleteGadgetRecord(*old);
    EXPECT_EQ(Gadget_GetText(5), "new");
    EXPECT_EQ(toolkit.records.size(), 1u);
}

TEST_F(RegistryTest, EndFreesEverythingAndASecondEndIsHarmless) {
    Gadget_CreateEditor(1, 0, 0, 50, 50, 0);
    Gadget_CreateText(2, 0, 0, 1, 1, "", 0);
    Gadget_End();
    EXPECT_TRUE(toolkit.records.empty());
    EXPECT_EQ(FindGadget(1), nullptr);
    Gadget_End();
    EXPECT_TRUE(toolkit.records.empty());
}

}  // namespace
