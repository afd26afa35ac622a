// Windows-1252 <-> UTF-8 and the reading of text files that may come from
// Windows: in Windows-1252 or UTF-8, with CR/LF, LF or lone CR line ends.
// Inside the program every text is UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvx {

// Windows-1252 bytes to UTF-8. The five byte values that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same number, so every byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes; a character that Windows-1252 cannot hold
// (and every invalid UTF-8 byte) becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// The bytes of a text file the program writes: Windows-1252, unless the
// text holds a character Windows-1252 cannot hold (or one of the C1
// controls U+0081, U+008D, U+008F, U+0090, U+009D that stand for its
// undefined bytes) or its Windows-1252
// bytes would read back as other text (a line of them that is valid UTF-8,
// a byte-order mark of UTF-8 or UTF-16 at the start); then the UTF-8 led by the UTF-8
// byte-order mark, so that other programs can tell the encoding.
std::string TextFileBytes(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// A file's bytes as UTF-8: UTF-16 text led by its byte-order mark (little
// or big endian, Windows' "Unicode text") is converted (DecodeUtf16Text:
// what is not whole becomes U+FFFD); a UTF-8 byte-order mark is dropped;
// bytes that are not valid UTF-8 are read as Windows-1252.
std::string DecodeTextBytes(std::string_view bytes);

// The encoding DecodeTextBytes reads the bytes in: UTF-16 after its mark,
// UTF-8 when they are valid UTF-8 (after its mark, if any; plain ASCII
// too), else Windows-1252.
enum class TTextEncoding { Utf8, Windows1252, Utf16 };
TTextEncoding TextBytesEncoding(std::string_view bytes);

// How a text file held its text: the encoding DecodeTextBytes read it in,
// whether the UTF-8 byte-order mark led it, for UTF-16 its byte order.
// Contents made in the program have no form of their own (Windows1252:
// TextFileBytes decides).
struct TTextFileForm {
  TTextEncoding Encoding = TTextEncoding::Windows1252;
  bool Utf8Mark = false;
  bool BigEndian = false;  // UTF-16 only
};
TTextFileForm TextBytesForm(std::string_view bytes);

// The bytes of a text in the form of the file it came from, so that a text
// file opened and saved unchanged stays byte for byte: UTF-8 stays UTF-8,
// led by the mark when it was (and when the text itself starts with
// U+FEFF, which a reader would drop as a mark); Windows-1252 stays
// Windows-1252 (after the UTF-8 mark the file had before it, which readers
// drop) when its bytes read back as the text; UTF-16 stays UTF-16
// after its mark in the file's byte order. False (and the bytes
// TextFileBytes writes) when the form cannot hold the text: a character
// Windows-1252 lacks, invalid UTF-8, a mark the text needs that the file
// did not have.
bool TextFileBytesInForm(std::string_view utf8, const TTextFileForm& form, std::string& bytes);
// The same, the bytes only.
std::string TextFileBytesKeeping(std::string_view utf8, const TTextFileForm& form);

// UTF-16 text after its byte-order mark (FF FE little endian, FE FF big
// endian) as UTF-8. A surrogate without its partner and half a unit at the
// end are not whole characters: each becomes U+FFFD, and `damagedAt`
// (when given) receives the offset in `bytes` of the first of them (npos
// when the text is whole). False without such a mark.
bool DecodeUtf16Text(std::string_view bytes, std::string& utf8, std::size_t* damagedAt = nullptr);
// The same, false also when the text is not whole (`utf8` then unusable).
bool Utf16TextToUtf8(std::string_view bytes, std::string& utf8);

// Splits a text at CR/LF, LF or lone CR. A line end at the very end of the
// text does not start a further empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Reads a whole file's bytes as they stand. False when the file cannot be
// opened or read to its end; `error` then says which ("cannot open <path>",
// "cannot read <path>") and `bytes` holds nothing useful.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Reads a whole text file into UTF-8 lines (DecodeTextBytes, SplitTextLines).
// False when the file cannot be opened or read; `lines` is then empty.
bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

// The first `maxChars` characters of a UTF-8 text (never cuts a character).
std::string Utf8Prefix(std::string_view utf8, std::size_t maxChars);

// Appends the UTF-8 form of one code point (at most U+10FFFF) to `out`.
void AppendUtf8(std::string& out, char32_t c);

// Decodes UTF-8 into code points (invalid bytes become U+FFFD) and back.
std::u32string Utf8ToCodePoints(std::string_view utf8);
std::string CodePointsToUtf8(std::u32string_view codePoints);

// Upper case with the letters of Windows-1252 beyond ASCII (umlauts, "ÿ" to
// "Ÿ", "š", "œ", "ž"); every other character stays as it is. The code-point
// form serves comparisons that ignore case.
std::u32string UpperCaseCodePoints(std::string_view utf8);
std::string UpperCaseText(const std::string& text);
// Lower case for the ASCII letters and the Latin-1 capitals of UTF-8 (the
// two-byte forms C3 80..C3 9E but the sign "×"); every other byte as it
// is, so the text keeps its length. Enough for place names and the words of
// the user's guide.
std::string LowerCaseLatinText(std::string_view utf8);

}  // namespace kvx
