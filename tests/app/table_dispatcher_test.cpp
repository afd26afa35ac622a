// The dispatcher's invariants with recorded hooks: which steps run for
// which kind, the kind after the call (also after an exception), and the
// period completion.
#include "app/table_dispatcher.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form_state.h"
#include "core/observer_record.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupDefaults(state);
    state.Period.ShowMessages = 0;
    TDispatchHooks hooks;
    hooks.ShowHourglass = [this] { ++hourglass; };
    hooks.RestoreCursor = [this] { hourglass = 0; log.push_back("cursor"); };
    hooks.RefreshMenus = [this] { log.push_back("menus:" + std::to_string(state.Table.TableKind)); };
    hooks.CheckPeriod = [this] { log.push_back("period"); };
    hooks.CommitTransaction = [this] { log.push_back("commit"); };
    hooks.BeginTransaction = [this] { log.push_back("begin"); };
    hooks.ClearSheet = [this] { log.push_back("clear"); };
    dispatcher = std::make_unique<TTableDispatcher>(state.Period, state.Table, state.Document, hooks);
  }
  std::string Log() const {
    std::string all;
    for (const auto& entry : log) all += entry + " ";
    return all;
  }

  TMainFormState state;
  std::unique_ptr<TTableDispatcher> dispatcher;
  std::vector<std::string> log;
  int hourglass = 0;
};

TEST_F(Dispatcher, KindsTwentyUnknownAndRegisteredTakeTheirPaths) {
  // Kind 20: the period is completed, the menus refreshed, nothing else.
  state.Table.TableKind = kNoTableKind;
  dispatcher->ComputeTable();
  EXPECT_EQ(Log(), "period menus:20 cursor ");
  EXPECT_EQ(state.Document.UndoFlag, 0);

  // An unknown code: the undo transaction and the cleared sheet, then the
  // common end; an open transaction is committed first.
  log.clear();
  state.Document.UndoFlag = 1;
  state.Table.TableKind = 3;
  dispatcher->ComputeTable();
  EXPECT_EQ(Log(), "period commit begin clear menus:3 cursor ");
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, 3);
  EXPECT_EQ(state.Document.UndoFlag, 1);
  EXPECT_EQ(hourglass, 0);

  // The grid view leaves the sheet alone.
  log.clear();
  state.Document.WorkbookView = 0;
  state.Table.TableKind = 3;
  dispatcher->ComputeTable();
  EXPECT_EQ(Log(), "period commit begin menus:3 cursor ");
  state.Document.WorkbookView = 1;

  // A registered kind runs its handler between the clearing and the end.
  log.clear();
  dispatcher->Register(51, [this] { log.push_back("sun"); state.Table.TableKind = 51; });
  state.Table.TableKind = 51;
  dispatcher->ComputeTable();
  EXPECT_EQ(Log(), "period commit begin clear sun menus:51 cursor ");
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);

  // The database batch keeps its kind.
  state.Table.TableKind = kDatabaseBatchKind;
  dispatcher->ComputeTable();
  EXPECT_EQ(state.Table.TableKind, kDatabaseBatchKind);
}

TEST_F(Dispatcher, AnExceptionStillRestoresCursorAndKindAndIsShownAtTheBoundary) {
  dispatcher->Register(71, [] { throw std::runtime_error("broken body"); });
  state.Table.TableKind = 71;
  EXPECT_THROW(dispatcher->ComputeTable(), std::runtime_error);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(hourglass, 0);
  EXPECT_EQ(log.back(), "cursor");

  RecordingMessageSink sink;
  ScopedMessageSink scoped(sink);
  state.Table.TableKind = 71;
  dispatcher->ComputeTableGuarded();
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("broken body"), std::string::npos);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
}

TEST_F(Dispatcher, PeriodOrderAndTheDurationEnd) {
  state.Period.Start.Mjd = 60310.0;
  state.Period.End.Mjd = 60300.0;
  state.Period.End.PeriodDays = 2;
  state.Period.End.PeriodHours = 12.0;  // packed H.MMSS
  state.Period.AutoEnd = 1;
  state.Table.TableKind = 3;
  dispatcher->ComputeTable();
  EXPECT_DOUBLE_EQ(state.Period.End.Mjd, 60312.5) << "end before the start replaced by start + duration";
  EXPECT_EQ(state.Table.PreviousTableKind, 3);

  // Without the duration the order check leaves kind 1: nothing computed.
  bool ran = false;
  dispatcher->Register(3, [&] { ran = true; });
  state.Period.AutoEnd = 0;
  state.Period.End = state.Period.Start;
  state.Period.End.Day -= 1;
  LocalTimeToUT(state.Period.Start);
  state.Table.TableKind = 3;
  dispatcher->ComputeTable();
  EXPECT_FALSE(ran);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
}

TEST(TableKinds, TheCodeTableIsOrderedAndComplete) {
  const auto table = TableKindTable();
  for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].Code, table[i].Code);
  ASSERT_NE(FindTableKind(33), nullptr);
  EXPECT_EQ(FindTableKind(33)->MenuKind, 21);
  EXPECT_EQ(FindTableKind(111)->MenuKind, 111);  // the eight-moon table repeats as itself
  EXPECT_EQ(FindTableKind(4014)->MenuKind, 22);
  EXPECT_EQ(FindTableKind(80)->MenuKind, kKindUnchanged);
  EXPECT_EQ(FindTableKind(2), nullptr);
  EXPECT_EQ(FindTableKind(5000), nullptr);
  EXPECT_EQ(table.size(), 59u);
}

}  // namespace
}  // namespace kvx
