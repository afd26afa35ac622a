#include "app/history_list.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"

namespace kvx {
namespace {

using Files = std::vector<std::string>;

TEST(HistoryList, OrderLimitsAndStoredValues) {
  TMyHistoryList list;
  int changes = 0;
  list.OnChanged = [&] { ++changes; };
  for (const char* name : {"a", "b", "c", "d"}) list.AddFile(name);
  list.AddFile("b");  // third in the list
  EXPECT_EQ(list.Files(), (Files{"b", "d", "c", "a"}));
  EXPECT_EQ(changes, 5);

  ASSERT_TRUE(list.SetMaxCount(4));
  list.AddFile("e");
  EXPECT_EQ(list.Files(), (Files{"e", "b", "d", "c"})) << "the oldest dropped";
  EXPECT_FALSE(list.SetMaxCount(101));
  EXPECT_FALSE(list.SetMaxCount(-1));
  EXPECT_EQ(list.MaxCount(), 4);

  MemorySettingsStore store;
  list.SaveToStore(store, "Files");
  EXPECT_EQ(store.StringOr("Files", "History3", ""), "c");
  // A shorter list later leaves no stale values behind.
  ASSERT_TRUE(list.SetMaxCount(2));
  list.SaveToStore(store, "Files");
  EXPECT_FALSE(store.ReadString("Files", "History2").has_value());
  EXPECT_FALSE(store.ReadString("Files", "History3").has_value());

  TMyHistoryList loaded;
  store.WriteString("Files", "History2", "");  // an empty value is skipped
  store.WriteString("Files", "History4", "f");
  loaded.LoadFromStore(store, "Files");
  EXPECT_EQ(loaded.Files(), (Files{"e", "b", "f"}));

  ASSERT_TRUE(loaded.SetMaxCount(0));
  EXPECT_TRUE(loaded.Files().empty());

  EXPECT_EQ(TMyHistoryList::EntryCaption(2, "x y.xls"), "&3 x y.xls");
  EXPECT_EQ(TMyHistoryList::EntryNumberFromCaption("&12 /a b.xls"), 12);
  EXPECT_EQ(TMyHistoryList::EntryNumberFromCaption("&x /a"), 0);
  EXPECT_EQ(TMyHistoryList::EntryNumberFromCaption("3 /a"), 0);
}

}  // namespace
}  // namespace kvx
