#include "app/file_dialog_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_dialog_texts.h"

namespace kvx {
namespace {

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : ";;") + parts[i];
  return text;
}

// Every main-window dialog in both languages: the title as the texts give
// it, one entry a filter that together spell the filter text again, and the
// orbit dialog's three filters one by one.
TEST(FileDialogRequest, SplitsEachDialogsFiltersInTheCurrentLanguage) {
  for (bool english : {false, true}) {
    SetFileDialogLanguage(english);
    for (const TFileDialogTextRow& row : FileDialogTextRows()) {
      const FileDialogRequest request = FileDialogRequestOf(row.Name);
      EXPECT_EQ(request.title, english ? row.EnglishTitle : row.GermanTitle) << row.Name;
      EXPECT_EQ(Joined(request.filters), english ? row.EnglishFilter : row.GermanFilter) << row.Name;
      for (const std::string& filter : request.filters) {
        EXPECT_FALSE(filter.empty()) << row.Name;
        EXPECT_EQ(filter.find(";;"), std::string::npos) << row.Name;
      }
      EXPECT_TRUE(request.start.empty());
      EXPECT_TRUE(request.defaultExtension.empty());
    }
  }
  SetFileDialogLanguage(false);
  EXPECT_EQ(FileDialogRequestOf("Bahndateidialog").filters,
            (std::vector<std::string>{"Textdateien mit Beobachtungen (*.txt)", "Binärdateien mit Beobachtungen (*.obs)",
                                      "MPE-Zirkulare (*.htm *.html)"}));
}

}  // namespace
}  // namespace kvx
