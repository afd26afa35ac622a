// Tip of the day: typed tip lists and the choice of the next tip.
//
// A tip is drawn at random (up to 100 uniform draws) among those not yet
// shown in this run, else the first unshown one in list order is taken.
// Errors raise ETipOfTheDay; ShowNextTip reports them in the "Tip of the day
// error" box. The window itself is reached through OnShowForm.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvx {

class ETipOfTheDay : public std::runtime_error {
 public:
  enum class Kind { NoTips, AllShown, UnknownType };
  ETipOfTheDay(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind What() const { return kind_; }

 private:
  Kind kind_;
};

struct TTipType {
  std::string Name;     // at most 8 characters, lower case
  std::string Caption;  // window caption for tips of this type
  std::string Header;   // heading above the tip
};

struct TTip {
  std::string TipType;  // name of its type, at most 8 characters, lower case
  std::string Text;
  std::int32_t HelpContext = 0;
  std::uint8_t Shown = 0;  // shown in this run
};

// Names are cut to 8 characters and lower-cased on the way in.
std::string TipTypeName(const std::string& name);

class TTipList {
 public:
  void AddType(const std::string& name, const std::string& caption, const std::string& header);
  void AddTip(const std::string& typeName, const std::string& text, std::int32_t helpContext = 0);
  const TTipType* FindType(const std::string& name) const;
  std::vector<TTipType>& Types() { return types_; }
  std::vector<TTip>& Tips() { return tips_; }
  const std::vector<TTip>& Tips() const { return tips_; }

 private:
  std::vector<TTipType> types_;
  std::vector<TTip> tips_;
};

// What the tip window shows.
struct TTipView {
  std::string Caption;
  std::string Header;
  std::string Text;
};

class TTipOfTheDay {
 public:
  TTipList Tips;
  bool ShowTipsAtStartup = true;
  bool ShowHelpButton = false;
  // Uniform draw in [0, count); a seeded generator by default.
  std::function<std::size_t(std::size_t count)> Random;
  // Shows the first tip modally; next() yields the following one (empty
  // after an error was reported); returns the state of the start-up box.
  std::function<bool(const TTipView& first, const std::function<std::optional<TTipView>()>& next, bool showAtStartup)>
      OnShowForm;

  TTipOfTheDay();
  // Marks the chosen tip shown and returns what the window shows; throws
  // ETipOfTheDay when there are no tips, all were shown, or its type is unknown.
  TTipView NextTip();
  // NextTip in the window; errors go to the error box. False when no tip was shown.
  bool ShowNextTip();
};

// Reports an error of the tip component in its box.
void ShowTipError(const ETipOfTheDay& error);

// The compiled-in lists: German (types "tip", "neu") and English ("tip", "newfeat").
TTipList GermanTips();
TTipList EnglishTips();

}  // namespace kvx
