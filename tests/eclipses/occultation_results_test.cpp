#include "eclipses/occultation_results.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kvx {
namespace {

std::unique_ptr<tergebnisdatensatz> Row(double t1, const std::string& name) {
  auto row = std::make_unique<tergebnisdatensatz>();
  row->Contact1Time = t1;
  row->ObjectName = name;
  return row;
}

TEST(OccultationResults, NumericTimeOrderAndTheFirstOfTwoEqualKeys) {
  TOccultationResultList list;
  EXPECT_TRUE(list.Add(Row(60000.1, "late")));
  EXPECT_TRUE(list.Add(Row(10000.5, "b")));
  EXPECT_TRUE(list.Add(Row(59999.9, "early")));
  EXPECT_TRUE(list.Add(Row(9999.5, "a")));
  EXPECT_FALSE(list.Add(Row(59999.9 + 1e-12, "same key"))) << "equal to 10 decimals";
  EXPECT_FALSE(list.Add(Row(std::nan(""), "nan")));
  std::vector<std::string> names;
  for (const tergebnisdatensatz* row : list.Rows()) names.push_back(row->ObjectName);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "early", "late"}));
  EXPECT_EQ(TOccultationResultList::KeyText(9999.5), "9999.5000000000");
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(list.Add(Row(59999.9, "again"))) << "a cleared list takes the key again";
}

}  // namespace
}  // namespace kvx
