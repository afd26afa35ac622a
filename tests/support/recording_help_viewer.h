// Test double of the help seam (platform/help.h): records what was asked
// ("contents", "search", "how to use" or the topic's title).
#pragma once

#include <string>
#include <vector>

#include "platform/help.h"

namespace kvx {

class RecordingHelpViewer : public HelpViewer {
 public:
  void ShowContents() override { shown.push_back("contents"); }
  void ShowSearch() override { shown.push_back("search"); }
  void ShowHowToUse() override { shown.push_back("how to use"); }
  void ShowTopic(const std::string& title) override { shown.push_back(title); }
  std::vector<std::string> shown;
};

}  // namespace kvx
