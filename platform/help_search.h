// The help's search: which sections of the user's guide hold the words of a
// key, best first. Plain C++; the search dialog (platform/qt/qt_help_viewer.h)
// builds one THelpSearch over the guide it shows and asks it at every key.
//
// The rules, in the order the search applies them:
// - Words. The key and the guide are cut into words of letters and digits
//   (ASCII and the Latin letters of UTF-8), case ignored. Link targets and
//   picture names of the guide are no words.
// - A key word matches a word of the guide that starts with it as typed
//   ("Mars" finds "Marsmonde"). Its stem (the word without a plural or case
//   ending, so long as four letters remain) matches the stem with an ending
//   ("Finsternissen" finds "Finsternisse", "Planeten" finds "Planet") and a
//   compound that the stem starts ("Bahnen" finds "Bahnelemente"), not a
//   longer word ("Planeten" does not find "Planetoiden", "eclipse" not
//   "ecliptic"). When the stem has three letters or more it also matches a
//   word of which it is a later part: the letters before it are words of the
//   guide ("Zone" finds "Zeitzonendatenbank") or it ends the word but for an
//   ending ("Sonne" finds "Mitternachtssonne"); it does not match letters
//   inside a word ("Mond" does not find "Raimondo"). A German cut compound
//   counts whole: "Auf- und Untergang" holds "Aufgang".
// - A key word the guide does not hold as it stands is found by its parts:
//   "Sonnenaufgang" by "Sonnen" and "Aufgang", "sunrise" by "sun" and
//   "rise". The parts are words of the guide itself, each of three letters
//   or more, the longest first, with the German linking letters "s", "n",
//   "e", "en" or "es" between them; the last part may be the start of a
//   word of the guide. A part matches as its stem does, never as the start
//   of a longer word (the "set" of "moonset" does not find "settings"), and
//   as a later part of a compound only with an ending or further words after
//   it. A section holds the key word when it holds every part, anywhere in
//   the section.
// - A section is found when it holds every key word. The sections come best
//   first: more key words in the title before fewer, then more key words
//   found as they stand (not by their parts), then more matches in bold text
//   (the terms a section describes), then more matches in the text, then in
//   the order of the guide. For a key word found by its parts, the matches
//   are those of its rarest part.
// - The guide's first section (its title page, an overview that names
//   nearly everything) is listed only when no other section is found.
// - A blank key finds every section, in the order of the guide.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/help.h"

namespace kvx {

class THelpSearch {
 public:
  explicit THelpSearch(const std::vector<THelpSection>& sections);

  // The sections (indexes) that hold every word of `key`, best first.
  std::vector<std::size_t> Find(const std::string& key) const;

  // The parts of one word of a key (lower case), as the search splits it
  // when the guide does not hold the word; empty when it is no compound of
  // the guide's words.
  std::vector<std::string> Parts(const std::string& word) const;

 private:
  // A word of the guide; a word cut before a hyphen ("Auf-" in "Auf- und
  // Untergang") keeps the words that complete it.
  struct TWord {
    std::string Word;
    std::string Completion;
  };
  struct TIndexedSection {
    std::vector<std::size_t> Title;                  // words of the title
    std::vector<std::pair<std::size_t, bool>> Text;  // words of the text, bold or not
  };
  struct TScore;

  std::size_t WordId(const std::string& word, const std::string& completion);
  bool IsWord(const std::string& word) const;
  bool StartsAWord(const std::string& start) const;
  bool IsCompound(const std::string& text) const;
  bool SplitFrom(const std::string& word, std::size_t from, std::vector<std::string>& parts,
                 std::vector<bool>& failed) const;
  bool IsTail(const std::string& text) const;
  // Whether `key` (a key word, or a part of one when `part`) matches `word`.
  bool Matches(const std::string& key, const TWord& word, bool part) const;
  // For every word of the guide whether `key` matches it.
  std::vector<bool> MatchingWords(const std::string& key, bool part) const;

  std::size_t count_;
  std::vector<TWord> words_;
  std::map<std::pair<std::string, std::string>, std::size_t> ids_;
  std::set<std::string> dictionary_;  // the guide's words of three letters or more
  std::vector<TIndexedSection> sections_;
};

// The sections that hold every word of `key`, best first (see THelpSearch);
// a blank key finds every section, in the order of the text.
std::vector<std::size_t> FindHelpSections(const std::vector<THelpSection>& sections, const std::string& key);

}  // namespace kvx
