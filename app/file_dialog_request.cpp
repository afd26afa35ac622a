#include "app/file_dialog_request.h"

#include "app/file_dialog_texts.h"

namespace kvx {

FileDialogRequest FileDialogRequestOf(const std::string& name) {
  FileDialogRequest request;
  request.title = FileDialogTitle(name);
  const std::string& filters = FileDialogFilter(name);
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = filters.find(";;", from);
    request.filters.push_back(filters.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) break;
    from = at + 2;
  }
  return request;
}

}  // namespace kvx
