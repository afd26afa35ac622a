// One row of an element list's format table: what a format of the asteroid
// or the comet list reads and writes, and everything the lists, their
// writers and the file dialogs need to know about it. The rows themselves
// stand in catalogues/element_file_formats.cpp (AsteroidFileFormats,
// CometFileFormats); the queries over them in element_file_formats.h.
//
// A row saves exactly when it has a writer (Write): the save dialog offers
// its filters and saves its extensions then, and never otherwise. Its name
// (Name) is the one its writer's messages and the ".csv" choice show, its
// encoding the one its writer's text files use, its equinox where its
// writer puts the angles.
//
// This header knows no list: the lists include it for their loader, the
// tables include the lists for their readers and writers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kvx {

// Each format once for both lists. The lists keep their own stored codes
// (StoredCode); this number is never stored.
enum class TElementFormat : std::uint8_t {
  OwnText = 0,
  Binary = 1,
  Catalogue = 2,
  HomePlanet = 3,
  SkyMap = 4,
  MpcText = 5,
  Guide = 6,
};

// What a reader made of a file.
enum class TFormatRead {
  Read,           // the list holds the file's records
  Failed,         // the file is of this format but could not be used
  NotThisFormat,  // the next row reading the extension may try
};

// One filter of a file dialog: the texts as the dialog shows them and the
// pattern ("*.csv").
struct TFormatFilter {
  const char* German;
  const char* English;
  const char* Pattern;
};

// How a format's files are encoded. Windows-1252 where the format's other
// readers need it (the foreign formats and the binary records): a name
// without a Windows-1252 form is then refused. UTF-8 otherwise.
enum class TListEncoding { Utf8, Windows1252 };

// Where a format's angles (i, node, per) stand: at the object's own
// equinox, which the format holds, or at the equinox 2000, which its
// readers take (the writer then carries them there first).
enum class TListEquinox { Held, Taken2000 };

// A saved format as the writers name it in their messages, with its
// encoding and equinox (a row's Name, Encoding and Equinox, SavedFormat
// below).
struct TListFormat {
  const char* Name;
  TListEncoding Encoding;
  TListEquinox Equinox = TListEquinox::Held;
};

template <class TList>
struct TElementFileFormat {
  TElementFormat Format = TElementFormat::OwnText;
  // The code the list reports for the format and the configuration file
  // keeps (one byte per list); never reused for another format.
  std::uint8_t StoredCode = 0;
  // Extensions with the dot, upper case; the file's extension matches in
  // any case.
  std::vector<std::string> ReadExtensions;
  // errorText: a reason that names the file, for the lists' error message.
  TFormatRead (*Read)(TList& list, const std::string& fileName, bool showMessages, std::string& errorText) = nullptr;
  std::vector<std::string> SaveExtensions;
  // The writer; a row without one does not save.
  bool (*Write)(TList& list, const std::string& fileName) = nullptr;
  // The format's name in its writer's messages and, where no ChoiceName is
  // given, in the ".csv" choice; its files' encoding; its angles' equinox.
  const char* Name = "";
  TListEncoding Encoding = TListEncoding::Utf8;
  TListEquinox Equinox = TListEquinox::Held;
  // The ".csv" choice's name when it is not Name.
  const char* ChoiceName = nullptr;
  // Saving leaves the list's code as it was (otherwise the list reports
  // StoredCode afterwards).
  bool KeepsCodeOnSave = false;
  // Where the format's filters stand in the dialogs (1 first; 0 none).
  int OpenPosition = 0;
  std::vector<TFormatFilter> OpenFilters;
  int SavePosition = 0;
  std::vector<TFormatFilter> SaveFilters;

  bool Reads(const std::string& upperExtension) const { return Has(ReadExtensions, upperExtension); }
  bool Saves() const { return Write != nullptr; }
  bool Writes(const std::string& upperExtension) const { return Saves() && Has(SaveExtensions, upperExtension); }
  TListFormat SavedFormat() const { return {Name, Encoding, Equinox}; }
  const char* Choice() const { return ChoiceName != nullptr ? ChoiceName : Name; }

 private:
  static bool Has(const std::vector<std::string>& list, const std::string& extension) {
    for (const std::string& e : list) {
      if (e == extension) return true;
    }
    return false;
  }
};

// The name, encoding and equinox of the row of `format` in `rows`, for its
// writer (every writer has its row; an empty name if not).
template <class TList>
TListFormat SavedFormatOf(std::span<const TElementFileFormat<TList>> rows, TElementFormat format) {
  for (const TElementFileFormat<TList>& row : rows) {
    if (row.Format == format) return row.SavedFormat();
  }
  return {"", TListEncoding::Utf8, TListEquinox::Held};
}

}  // namespace kvx
