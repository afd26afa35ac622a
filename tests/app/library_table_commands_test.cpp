// The planet tables of the theory libraries from the menu: "State vector
// VSOP87A" and "Orbital elements by VSOP87" into the sheet and, with the
// view switch off, into the grid, for the start record's instant.
#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>
#include <filesystem>
#include <string>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "engine/library_tables.h"
#include "engine/mystringgrid.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "support/qt/main_form_test.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

class LibraryTableCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
};

// One unit of the last decimal of a number text (plus a little).
double LastDigit(const std::string& text) {
  const std::size_t point = text.find_first_of(".,");
  const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  return std::pow(10.0, -decimals) + 1e-12;
}

bool IsDecimalNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("+-0123456789.") == std::string::npos &&
         text.find_first_of("0123456789") != std::string::npos;
}

// Both commands fill the sheet with what the table routines write for the
// start record into a grid of their own (cell by cell), then
// the window's grid when the sheet view is off; the kind is left at "no
// table" and the document counts as changed.
TEST_F(LibraryTableCommands, StateVectorsAndElementsFromTheMenu) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  const TLibraryAvailability& libraries = form.TheoryState().Libraries;
  ASSERT_TRUE(libraries.Vsop87A != 0 && libraries.Vsop82 != 0) << "the built theory libraries";

  struct Case {
    const char* command;
    std::int32_t kind;
    int rows, cols;
  } cases[] = {{"StatusvektorVSOP87A1", kTableKindStateVectorVsop87a, 49, 9},
               {"OrbitalElementsVSOP87A1", kTableKindElementsVsop82, 11, 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_TRUE(commands.IsEnabled(c.command));
    tmystringgrid expected(2, 2);
    TLibraryTableTarget target;
    target.Grid = &expected;
    target.Language = 1;
    target.Output.SecondEquinoxText = SecondEquinoxHeading(state.Computing.SecondEquinox);
    const TEphemerisPeriodState& p = state.Period;
    if (c.kind == kTableKindStateVectorVsop87a) {
      ASSERT_TRUE(
          PlanetCoordinateTableVsop87a(p.PositionFiles, target, p.Start, state.Computing.Accuracy.VsopLevelA, p.TableConfig, libraries));
    } else {
      ASSERT_TRUE(PlanetCoordinateTableVsop82(p.PositionFiles, target, p.Start, p.TableConfig, libraries));
    }
    ASSERT_EQ(expected.RowCount(), c.rows);
    ASSERT_EQ(expected.ColCount(), c.cols);

    state.Document.WorkbookView = 1;
    state.Document.DocumentSaved = 1;
    commands.Trigger(c.command);
    EXPECT_EQ(state.Table.PreviousTableKind, c.kind);
    EXPECT_EQ(state.Table.TableKind, kNoTableKind);
    EXPECT_EQ(state.Document.DocumentSaved, 0);
    int filled = 0;
    for (int row = 1; row < c.rows; ++row) {
      for (int col = 1; col < c.cols; ++col) {
        const std::string& want = expected.Cells(col, row);
        if (want.empty()) continue;
        ++filled;
        if (form.Workbook().CellKind(row, col) == workbook::TCellKind::Number) {
          // The grid shows the number rounded to its slot's decimals; the two
          // runs may differ in the last bits, which can tip that rounding.
          EXPECT_NEAR(form.Workbook().Number(row, col), std::stod(want), LastDigit(want))
              << "row " << row << ", column " << col;
        } else {
          EXPECT_EQ(form.Workbook().Text(row, col), want) << "row " << row << ", column " << col;
        }
      }
    }
    EXPECT_GT(filled, c.kind == kTableKindStateVectorVsop87a ? 4 * 10 * 8 : 9 * 13);
    QApplication::processEvents();
    const fs::path folder = fs::path(KVX_BINARY_DIR) / "test-output";
    fs::create_directories(folder);
    form.grab().save(QString::fromStdString((folder / ("main_window_" + std::to_string(c.kind) + ".png")).string()));

    state.Document.WorkbookView = 0;
    commands.Trigger(c.command);
    const tmystringgrid& grid = form.Grid();
    ASSERT_EQ(grid.RowCount(), c.rows);
    ASSERT_EQ(grid.ColCount(), c.cols);
    for (int row = 0; row < c.rows; ++row)
      for (int col = 0; col < c.cols; ++col) {
        const std::string& want = expected.Cells(col, row);
        const std::string& got = grid.Cells(col, row);
        if (got != want && IsDecimalNumber(want) && IsDecimalNumber(got)) {
          EXPECT_NEAR(std::stod(got), std::stod(want), LastDigit(want)) << "row " << row << ", column " << col;
        } else {
          EXPECT_EQ(got, want) << "row " << row << ", column " << col;
        }
      }
    state.Document.WorkbookView = 1;
  }
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(form.HourglassDepth(), 0);
}

}  // namespace
}  // namespace kvx
