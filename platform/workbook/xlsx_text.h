// Texts of cells in .xlsx files. The format writes a character the XML
// cannot hold (control characters, a carriage return, which XML readers
// turn into a line feed) as "_xHHHH_", the UTF-16 code unit in hexadecimal,
// and an underscore that would otherwise start such a sequence as "_x005F_".
// The reading library decodes none of these; the program writes and
// decodes them itself.
#pragma once

#include <string>
#include <string_view>

namespace kvx::workbook {

// Decodes every "_xHHHH_" of a text read from a file (UTF-16 surrogate
// pairs joined; an unpaired surrogate becomes U+FFFD) into UTF-8.
std::string DecodeXlsxEscapes(std::string_view text);

// Appends a cell's text as the file holds it inside <t> or <v>: a
// character XML cannot hold (the C0 controls but tab and line feed, NUL
// included; a carriage return, which XML readers turn into a line feed;
// U+FFFE and U+FFFF) as "_xHHHH_", the underscore that begins "_xHHHH"
// (whatever follows) as "_x005F_", then '&', '<' and '>' as XML entities. Bytes that are not
// valid UTF-8 become U+FFFD (the file would not read at all with them).
// DecodeXlsxEscapes(DecodeXmlEntities(...)) gives the text back.
void AppendXlsxCellText(std::string& out, std::string_view text);

// Decodes the entities of XML character data into UTF-8: the five named ones
// and the character references "&#N;" and "&#xH;" of any code point but NUL
// and the UTF-16 surrogates. Anything else (an unknown name, a reference out
// of range, a lone '&') is kept as it stands.
std::string DecodeXmlEntities(std::string_view text);

// Where the start or end tag that begins at or before `from` ends: the
// position of its closing '>', or npos when the text ends first. A '>'
// inside a quoted attribute value (legal XML: name="Soll>Ist") does not
// close the tag.
std::size_t XmlTagEnd(std::string_view xml, std::size_t from);

// True when the XML text holds an attribute value that is `letter` alone
// ("b" or 'b'): a scan for the letter, quick where the letter is rare,
// as in the cell data of a worksheet.
bool HoldsOneLetterValue(std::string_view xml, char letter);

}  // namespace kvx::workbook
