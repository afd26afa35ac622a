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
//   first by a score that adds up, for every key word and for every two
//   neighbouring key words that stand together in the title or the text as
//   in the key ("comet orbit"), how well the section holds it (term weighting after
//   Okapi BM25):
//   - in the title or one of the section's keywords (the words a reader
//     may type for it that its text does not show: "ISS" for the
//     satellites), whichever it covers best: the share of their letters
//     that the key word covers ("Satelliten" is all about "Satellit",
//     "Satellitensichtbarkeit" less so);
//   - in the text: its matches, those in bold text (the terms a section
//     explains) weighted by the share of the bold term they cover ("**Mond**"
//     more than "**Ephemeriden | Mond**"), each further match counting less
//     than the one before, and a text much longer than the guide's mean
//     counting a little less;
//   - a guide word that is the key word as typed counts most, one that
//     starts with it or holds it as a later part of a compound ("Zone" in
//     "Zeitzone") less, one found by the stem alone ("Planeten" for
//     "Planet", "easter" for "east") least;
//   - a key word held by few sections counts more than one held by many.
//   For a key word found by its parts, the matches are those of its rarest
//   part. Sections with the same score keep the order of the guide.
// - A key word the guide does not hold as it stands that is an everyday
//   word of observers ("dusk", "Morgengrauen", "sunup": the table of
//   help_search.cpp) is found as the guide's term for it ("twilight" or
//   "Dämmerung", whichever the guide holds); a place name (THelpPlaceNames)
//   as the guide's word for the cities of the world database ("cities" or
//   "Städte"), which leads to the world database and the location files.
// - A long key word (eight letters or more) that is neither a word of the
//   guide nor made of its words is found by its longest end that is one
//   ("Hauptstadt" by "Stadt"), or by its longest start that starts one
//   when that is longer ("Vollmondtermine" by "Vollmond", "Osterfest" by
//   "Oster"), each of four letters or more and at least half the word; an
//   end leaves three letters before it, a start four after it and any
//   linking letters ("Sonnenuhr" has no start: "Sonne", "n", "uhr").
// - A key word of five letters or more found by none of these rules is
//   taken for a slip of one letter (one letter wrong, left out, added, or
//   two neighbouring letters swapped) in the guide's words that lie one slip
//   from it, each of five letters or more: "eclipce" finds "eclipse".
// - Fill words (articles, prepositions, question words, and verbs that ask
//   for an action: "Zeitraum ändern", "how to print") count where a section
//   holds them, but a section need not hold them.
// - A key word no section holds is left out of the search and named as
//   such. When no section holds every other key word, the sections that
//   hold the most of them are listed.
// - The guide's first section (its title page, an overview that names
//   nearly everything) is listed only when no other section is found.
// - A blank key finds every section, in the order of the guide.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/help.h"

namespace kvx {

// What a search found: the sections (indexes), best first; the key words no
// section holds, as typed; and whether each section listed holds every
// other key word (else they hold the most of them).
struct THelpFindings {
  std::vector<std::size_t> Sections;
  std::vector<std::string> Unknown;
  bool AllWords = true;
};

// Whether a key word (lower case, as the search cuts the key into words)
// names a place: a city of the world database or a place of the location
// file. The main window gives one (app/help_place_names.h); without it no
// key word is a place.
using THelpPlaceNames = std::function<bool(const std::string& word)>;

class THelpSearch {
 public:
  explicit THelpSearch(const std::vector<THelpSection>& sections, THelpPlaceNames places = {});

  THelpFindings Search(const std::string& key) const;
  // The sections of Search, best first.
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
  struct TCount;
  // The words of a title or keyword and its number of letters.
  struct TPhrase {
    std::vector<std::size_t> Words;
    std::size_t Letters = 0;
  };
  struct TIndexedSection {
    std::vector<TPhrase> Titles;                       // the title, then the keywords
    std::vector<std::pair<std::size_t, double>> Text;  // words of the text, with their share of a bold term
  };

  std::size_t WordId(const std::string& word, const std::string& completion);
  TPhrase Phrase(const std::string& text);
  bool IsWord(const std::string& word) const;
  bool StartsAWord(const std::string& start) const;
  bool IsCompound(const std::string& text) const;
  bool SplitFrom(const std::string& word, std::size_t from, std::vector<std::string>& parts,
                 std::vector<bool>& failed) const;
  bool IsTail(const std::string& text) const;
  // How well `key` (a key word, or a part of one when `part`) matches
  // `word`: 1 as typed, less by its stem or as a part of a compound, 0 not.
  double Matches(const std::string& key, const TWord& word, bool part) const;
  bool MatchesByStem(const std::string& key, const TWord& word, bool part) const;
  // For every word of the guide how well `key` matches it.
  std::vector<double> MatchingWords(const std::string& key, bool part) const;
  // The matches of a term in a section: of one key word (or part), or of
  // two key words standing together in this order.
  TCount Count(std::size_t section, const std::vector<double>& matching, std::size_t letters) const;
  TCount CountTogether(std::size_t section, const std::vector<double>& first, const std::vector<double>& second,
                       std::size_t firstLetters, std::size_t secondLetters) const;
  // What a term's matches add to a section's score, before the term's
  // rarity.
  double Weight(std::size_t section, const TCount& count) const;
  // The matches of a key word in every section, found by these parts: those
  // of the rarest part where the section holds every part, none elsewhere.
  std::vector<TCount> PartCounts(const std::vector<std::string>& parts) const;
  // The longest end of a key word that is a word of the guide, or the
  // longest start that starts one when that is longer (with true); empty
  // when there is neither (see the rules above).
  std::pair<std::string, bool> KnownPart(const std::string& word) const;
  // The matches of a key word in every section: as it stands, by its parts
  // or by a known part. `whole` gets the matches of the guide's words when
  // the key word is found as it stands, else it is left empty.
  std::vector<TCount> KeyWordCounts(const std::string& word, std::vector<double>& whole) const;
  // The guide's term for an everyday word or a place name; empty when the
  // word is neither or the guide holds none of its terms.
  std::string EverydayTerm(const std::string& word) const;
  // The guide's words one slip from `word` (see the rules above).
  std::vector<std::string> Slips(const std::string& word) const;
  // The matches in every section of any of `words` as typed.
  std::vector<TCount> TypedCounts(const std::vector<std::string>& words) const;

  std::size_t count_;
  std::vector<TWord> words_;
  std::map<std::pair<std::string, std::string>, std::size_t> ids_;
  std::set<std::string> dictionary_;  // the guide's words of three letters or more
  std::vector<TIndexedSection> sections_;
  double meanText_ = 1.0;  // words of a section's text, on average
  THelpPlaceNames places_;
};

// The sections that hold the words of `key`, best first (see THelpSearch);
// a blank key finds every section, in the order of the text.
std::vector<std::size_t> FindHelpSections(const std::vector<THelpSection>& sections, const std::string& key);

}  // namespace kvx
