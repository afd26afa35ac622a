#include "catalogues/element_dialog_model.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

std::vector<TSheetCellValue> Row(const std::string& name, std::vector<double> numbers) {
  std::vector<TSheetCellValue> cells{{0, name, false}};
  for (double v : numbers) cells.push_back({v, "", true});
  return cells;
}

// The silent refusals of a sheet set (what saving under an extension does
// is tested with the format tables).
TEST(ElementDialogModel, SheetSets) {
  const std::vector<double> good = {2.7, 0.08, 10.6, 80.3, 73.1, 10.5, 0.214, 2000, 2460000.5, 3.3, 0.12};
  const auto ceres = AsteroidSetFromCells(Row("Ceres", good));
  ASSERT_TRUE(ceres.has_value());
  EXPECT_DOUBLE_EQ(ceres->Epoch, 2460000.5);
  EXPECT_DOUBLE_EQ(ceres->G, 0.12);
  std::vector<double> bad = good;
  bad[1] = 1.0;
  EXPECT_FALSE(AsteroidSetFromCells(Row("Ceres", bad)));
  bad = good;
  bad[0] = 0.0;
  EXPECT_FALSE(AsteroidSetFromCells(Row("Ceres", bad)));
  auto numberFirst = Row("", good);
  numberFirst[0].IsNumber = true;
  EXPECT_FALSE(AsteroidSetFromCells(numberFirst));
  auto textInside = Row("Ceres", good);
  textInside[4] = {0, "x", false};
  EXPECT_FALSE(AsteroidSetFromCells(textInside));
  EXPECT_FALSE(AsteroidSetFromCells(Row("Ceres", {2.7, 0.1})));  // a short row

  const std::vector<double> comet = {0.5, 1.2, 10, 20, 30, 2000, 2460000.5, 5, 4, 2460000.5};
  EXPECT_TRUE(CometSetFromCells(Row("C/1", comet)));
  std::vector<double> q = comet;
  q[0] = -0.5;
  EXPECT_FALSE(CometSetFromCells(Row("C/1", q)));

  EXPECT_TRUE(IsWebAddress("HTTPS://example.org/x"));
  EXPECT_FALSE(IsWebAddress("https://"));
  EXPECT_FALSE(IsWebAddress("javascript:alert(1)"));
  EXPECT_FALSE(IsWebAddress("https://a b"));
}

}  // namespace
}  // namespace kvx
