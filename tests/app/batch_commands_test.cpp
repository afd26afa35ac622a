// Daily overview | Asteroids and | Comets from their menu items: one row per
// object of the dialogs' current lists at the period start, each row equal
// to the single-object table's row of the same object and instant.
#include "app/ui/batch_commands.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/name_tables.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using ElementFileBatchCommands = test::MainFormTest;

TEST_F(ElementFileBatchCommands, OverviewRowsEqualTheSingleObjectTables) {
  LanguageEnglish = 1;
  ScopedSettingsStore settings(store_);
  RowStore.Clear();
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMainFormState& s = form.State();
  TMenuCommands& menu = form.Commands();
  TElementDialogCommands& dialogs = *ElementDialogCommandsOf(form);

  ASSERT_TRUE(menu.IsEnabled("AllePlanetoiden2"));
  ASSERT_TRUE(menu.Trigger("AllePlanetoiden2"));
  EXPECT_TRUE(messages_.messages.empty());
  const Planetoidentabelle& asteroids = dialogs.AsteroidDialog().Planetoidentabelle1;
  ASSERT_GT(asteroids.Count(), 10) << "the shipped asteroid list";
  ASSERT_GE(RowStore.Count(), asteroids.Count());
  const TEphemerisResultRecord batchRow = RowStore.Row(7);
  EXPECT_EQ(batchRow.Name, asteroids.Data(7).Name);

  s.Objects.CurrentAsteroid = asteroids.Data(7);
  form.Tables().RefreshMenus();
  ASSERT_TRUE(menu.Trigger("Planetoid1"));
  EXPECT_NEAR(RowStore.Row(0).Position.RightAscension, batchRow.Position.RightAscension, 1e-9);
  EXPECT_NEAR(RowStore.Row(0).Position.Declination, batchRow.Position.Declination, 1e-9);

  ASSERT_TRUE(menu.Trigger("AlleKometen2"));
  const Kometentabelle& comets = dialogs.CometDialog().Kometentabelle1;
  ASSERT_GT(comets.Count(), 5);
  const TEphemerisResultRecord cometRow = RowStore.Row(3);
  EXPECT_EQ(cometRow.Name, comets.Data(3).Name);
  s.Objects.CurrentComet = comets.Data(3);
  form.Tables().RefreshMenus();
  ASSERT_TRUE(menu.Trigger("Komet1"));
  EXPECT_NEAR(RowStore.Row(0).Position.RightAscension, cometRow.Position.RightAscension, 1e-9);
  EXPECT_NEAR(RowStore.Row(0).Position.Declination, cometRow.Position.Declination, 1e-9);
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx
