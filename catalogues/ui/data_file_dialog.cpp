#include "catalogues/ui/data_file_dialog.h"

#include <cctype>
#include <optional>

#include "platform/ascii_case.h"
#include "platform/file_dialog.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace kvx {

VamurDateien::VamurDateien() : kind_(&DataFileKindFor("orte")) {}

void VamurDateien::SetFileDialogLanguage(const std::string& word) {
  english_ = UpperCaseText(word) == "ENGLISH";
  language_ = english_ ? "ENGLISH" : "GERMAN";
}

void VamurDateien::SetFileDialogKind(const std::string& keyword) {
  keyword_ = keyword;
  kind_ = &DataFileKindFor(keyword);
}

std::string VamurDateien::Title() const { return english_ ? kind_->TitleEnglish : kind_->TitleGerman; }

std::string VamurDateien::Filter() const { return english_ ? kind_->FilterEnglish : kind_->FilterGerman; }

bool VamurDateien::Execute() {
  SetFileDialogKind(keyword_);
  const std::string previous = FileName;
  FileDialogRequest request;
  request.title = Title();
  request.filters = DialogFilters(Filter());
  request.start = !FileName.empty() ? FileName : InitialDir;
  request.defaultExtension = kind_->DefaultExtension;
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) return false;
  FileName = *chosen;
  const std::string lowerKeyword = AsciiLower(keyword_);
  if (lowerKeyword != "nil" && !DataFileAccepted(*kind_, FileName)) {
    FileName = previous;
    const std::string german =
        "Dies ist keine " + kind_->DescriptionGerman + ". Bitte noch einmal mit anderem Dateinamen versuchen.";
    const std::string english = "This is no " + kind_->DescriptionEnglish + ". Please retry with another filename.";
    const std::string caption = english_ ? "Error while opening file" : "Fehler beim Dateiöffnen";
    CurrentMessageSink().Show(english_ ? english : german, caption, MessageIcon::Error, MessageButtons::Ok);
    return false;
  }
  return true;
}

}  // namespace kvx
