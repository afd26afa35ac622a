// Texts of cells in .xlsx files. The format writes a character the XML
// cannot hold (control characters, a carriage return, which XML readers
// turn into a line feed) as "_xHHHH_", the UTF-16 code unit in hexadecimal,
// and an underscore that would otherwise start such a sequence as "_x005F_".
// The .xlsx writing library escapes the characters but not the underscore,
// and the reading library decodes neither; these two complete them.
#pragma once

#include <string>
#include <string_view>

namespace kvx::workbook {

// Decodes every "_xHHHH_" of a text read from a file (UTF-16 surrogate
// pairs joined; an unpaired surrogate becomes U+FFFD) into UTF-8.
std::string DecodeXlsxEscapes(std::string_view text);

// Escapes the underscore of every "_xHHHH_" of a text about to be written,
// so that it reads back as written (control characters are escaped by the
// writing library itself).
std::string EscapeXlsxUnderscores(std::string_view text);

// Decodes the entities of XML character data into UTF-8: the five named ones
// and the character references "&#N;" and "&#xH;" of any code point but NUL
// and the UTF-16 surrogates. Anything else (an unknown name, a reference out
// of range, a lone '&') is kept as it stands.
std::string DecodeXmlEntities(std::string_view text);

}  // namespace kvx::workbook
