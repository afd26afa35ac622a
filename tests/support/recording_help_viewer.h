// Test double of the help seam (platform/help.h): records what was asked
// ("contents", "search", "how to use", "topic N" or "section anchor").
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
  void ShowTopic(int topic) override { shown.push_back("topic " + std::to_string(topic)); }
  void ShowSection(const std::string& anchor) override { shown.push_back("section " + anchor); }
  std::vector<std::string> shown;
};

}  // namespace kvx
