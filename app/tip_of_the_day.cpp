#include "app/tip_of_the_day.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "platform/ascii_case.h"
#include "platform/messages.h"

namespace kvx {

std::string TipTypeName(const std::string& name) { return AsciiLower(name.substr(0, 8)); }

void TTipList::AddType(const std::string& name, const std::string& caption, const std::string& header) {
  types_.push_back({TipTypeName(name), caption, header});
}

void TTipList::AddTip(const std::string& typeName, const std::string& text, std::int32_t helpContext) {
  tips_.push_back({TipTypeName(typeName), text, helpContext, 0});
}

const TTipType* TTipList::FindType(const std::string& name) const {
  const std::string wanted = TipTypeName(name);
  for (const TTipType& type : types_) {
    if (type.Name == wanted) return &type;
  }
  return nullptr;
}

TTipOfTheDay::TTipOfTheDay() {
  Random = [engine = std::mt19937(std::random_device{}())](std::size_t count) mutable {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine);
  };
}

TTipView TTipOfTheDay::NextTip() {
  std::vector<TTip>& tips = Tips.Tips();
  if (tips.empty()) throw ETipOfTheDay(ETipOfTheDay::Kind::NoTips, "No tips have been loaded into the Tips property");
  TTip* chosen = nullptr;
  for (int draw = 0; draw < 100 && chosen == nullptr; ++draw) {
    TTip& candidate = tips[std::min(Random(tips.size()), tips.size() - 1)];
    if (candidate.Shown == 0) chosen = &candidate;
  }
  if (chosen == nullptr) {
    auto first = std::find_if(tips.begin(), tips.end(), [](const TTip& tip) { return tip.Shown == 0; });
    if (first == tips.end()) throw ETipOfTheDay(ETipOfTheDay::Kind::AllShown, "All tips have been shown already");
    chosen = &*first;
  }
  const TTipType* type = Tips.FindType(chosen->TipType);
  if (type == nullptr) {
    throw ETipOfTheDay(ETipOfTheDay::Kind::UnknownType, "ShowNextTip: Unknown tip type in tip list");
  }
  chosen->Shown = 1;
  return {type->Caption, type->Header, chosen->Text};
}

void ShowTipError(const ETipOfTheDay& error) {
  std::string reason;
  switch (error.What()) {
    case ETipOfTheDay::Kind::AllShown:
      reason = "all available tips have been shown.";
      break;
    case ETipOfTheDay::Kind::NoTips:
      reason = "the programmer forgot to provide the tips you should be reading now.";
      break;
    case ETipOfTheDay::Kind::UnknownType:
      reason = "due to an error I am unable to show you the next tip of the day.";
      break;
  }
  const std::string text = "I'm very sorry, but...\n" + reason;
  ShowMessage(text, text, MessageIcon::Error, MessageButtons::Ok, "Tip of the day error");
}

bool TTipOfTheDay::ShowNextTip() {
  TTipView first;
  try {
    first = NextTip();
  } catch (const ETipOfTheDay& error) {
    ShowTipError(error);
    return false;
  }
  if (!OnShowForm) return true;
  const auto next = [this]() -> std::optional<TTipView> {
    try {
      return NextTip();
    } catch (const ETipOfTheDay& error) {
      ShowTipError(error);
      return std::nullopt;
    }
  };
  ShowTipsAtStartup = OnShowForm(first, next, ShowTipsAtStartup);
  return true;
}

}  // namespace kvx
