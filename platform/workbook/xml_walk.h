// One walk of a namespace-aware XML parser over a part of a workbook file,
// for the checks before the reading library sees the file.
#pragma once

#include <exception>
#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>
#include <string_view>

namespace kvx::workbook {

// Runs `handler` (an orcus::sax_ns_handler) over the XML text, its
// namespaces resolved; false when the text is not well-formed XML (the
// handler then saw only a part of it).
template <typename Handler>
bool WalkXml(std::string_view text, Handler& handler) {
  try {
    orcus::xmlns_repository repository;
    orcus::xmlns_context context = repository.create_context();
    orcus::sax_ns_parser<Handler> parser(text.data(), text.size(), context, handler);
    parser.parse();
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace kvx::workbook
