// Shared start for toolkit tests: fresh services and toolkit state, the
// headless 1024 x 768 screen open, and the toolkit initialised.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gadget_internal.h"
#include "services.h"
#include "testing.h"

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        toolkit = ToolkitState{};
        ASSERT_NE(Sprite_Init(), 0);
        ASSERT_NE(Mouse_Init(), 0);
        ASSERT_NE(Key_Init(), 0);
        ASSERT_NE(Window_Open(0, 0, 0, 1024, 768, "test", 0), 0);
        ASSERT_NE(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
        Gadget_Init();
    }
    void TearDown() override {
        Gadget_End();
        toolkit = ToolkitState{};
        Testing_ResetServices();
    }

public:
    // The record under a number, failing the test when there is none.
    static GadgetRecord& Record(int number) {
        GadgetRecord* g = FindGadget(number);
        EXPECT_NE(g, nullptr) << "no gadget " << number;
        static GadgetRecord none;
        return g ? *g : none;
    }
    static ColumnListRecord& List(int number) { return std::get<ColumnListRecord>(Record(number).kindRecord); }
    static EditorRecord& Editor(int number) { return std::get<EditorRecord>(Record(number).kindRecord); }

    // Gives a list or Editor the items, in order.
    static void AddItems(int number, const std::vector<std::string>& items) {
        for (const std::string& item : items) Gadget_AddItem(number, -1, item);
    }
    // The numbers of the gadget records in drawing order.
    static std::vector<int> RecordOrder() {
        std::vector<int> order;
        for (const GadgetRecord& g : toolkit.records) order.push_back(g.number);
        return order;
    }
    // Gives a list or Editor its own scroll bar, as the layout step does.
    static GadgetSelf AttachScrollBar(int owner) {
        GadgetRecord& bar = NewGadget(owner + kScrollBarNumberOffset, GadgetKind_ScrollBar, 0, 0, 10, 100,
                                      ScrollBarRecord{});
        GadgetRecord& g = Record(owner);
        if (auto* e = KindAs<EditorRecord>(&g)) e->scrollBar = bar.self;
        if (auto* l = KindAs<ColumnListRecord>(&g)) l->scrollBar = bar.self;
        return bar.self;
    }
};
