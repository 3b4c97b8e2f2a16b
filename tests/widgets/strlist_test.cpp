// String and pointer lists.

#include <gtest/gtest.h>

#include "tabulo/widgets/strlist.h"

namespace {

TEST(StrList, SplitsTextAtEveryKindOfLineEnd) {
    TStrList l;
    l.SetText("a\r\nb\nc\rd\r\n\r\ne");
    ASSERT_EQ(l.Count(), 6);
    EXPECT_EQ(l[0], "a");
    EXPECT_EQ(l[3], "d");
    EXPECT_EQ(l[4], "");
    EXPECT_EQ(l[5], "e");
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
    l.SetText("x\r\n");
    EXPECT_EQ(l.Count(), 1);
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
}

TEST(StrList, IgnoresIndexesOutOfRange) {
    TStrList l;
    l.Add("a");
    l.Insert(5, "z");
    l.Insert(-1, "z");
    l.Delete(3);
    l.SetItem(2, "z");
    EXPECT_EQ(l.Count(), 1);
    EXPECT_EQ(l.Item(7), "");
    l.Insert(0, "first");
    EXPECT_EQ(l.IndexOf("a"), 1);
}

TEST(StrListEx, KeepsOneObjectPerLineThroughInsertsAndDeletes) {
    TStrListEx l;
    int a = 0, b = 0, c = 0;
    l.AddObject("a", &a);
    l.Add("plain");
    l.InsertObject(0, "b", &b);
    l.AddObject("c", &c);
    EXPECT_EQ(l.Object(0), &b);
    EXPECT_EQ(l.Object(1), &a);
    EXPECT_EQ(l.Object(2), nullptr);
    l.Delete(1);
    EXPECT_EQ(l.Item(1), "plain");
    EXPECT_EQ(l.IndexOfObject(&c), 2);
    l.SetText("x\ny");
    EXPECT_EQ(l.Object(1), nullptr);
    EXPECT_EQ(l.Count(), 2);
}

TEST(List, AddsRemovesAndFinds) {
    TList l;
    int a = 0, b = 0;
    l.Add(&a);
    l.Add(&b);
    l.Add(&a);
    EXPECT_EQ(l.Remove(&a), 0);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Item(0), &b);
    EXPECT_EQ(l.IndexOf(&a), 1);
    EXPECT_EQ(l.Remove(&l), -1);
    EXPECT_EQ(l.Item(9), nullptr);
}

}  // namespace
