// The hooks that one command module fills and the window or another module
// runs (an empty hook is not run).
#pragma once

#include <functional>
#include <string>

namespace kvx {

struct TCommandHooks {
  std::function<void()> UpdateExternalProgramMenu;             // the external-program items re-captioned
  std::function<void()> StartupTipHook;                        // the tip of the day at start
  std::function<void()> ThreadTimerHook;                       // the background thread's timer
  std::function<void()> RefreshMenusHook;                      // menu states after a completed period
  std::function<void()> ClockTimerHook;                        // one tick of the clock bar
  std::function<void(const std::string&)> OpenDocumentByName;  // a recent file chosen
  std::function<void()> TableWrittenHook;                      // a computed table is in the sheet

 protected:
  ~TCommandHooks() = default;
};

}  // namespace kvx
