#include "platform/help_search.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <utility>

#include "platform/text_encoding.h"

namespace kvx {

namespace {

// The linking letters of German compounds that may stand between two parts
// ("Mitternacht-s-sonne", "Sonne-n-aufgang").
constexpr const char* kLinks[] = {"en", "es", "s", "n", "e"};

// Whether `text` is a plural, case or tense ending of German or English (or
// no ending at all).
bool IsEnding(const std::string& text) {
  for (const char* ending : {"", "e", "n", "s", "d", "en", "er", "es", "em", "ed", "se", "ern", "sen"}) {
    if (text == ending) return true;
  }
  return false;
}

// The words that join the halves of a cut compound ("Auf- und Untergang").
bool IsConjunction(const std::string& word) {
  return word == "und" || word == "oder" || word == "bzw" || word == "sowie" || word == "and" || word == "or";
}

// A word a reader puts around the terms of a key ("Zeitraum ändern", "how
// to print"): an article, a preposition, a question word or a verb that
// asks for an action of the program. The program's own commands
// ("drucken", "speichern", "print") are no such words.
bool IsFillWord(const std::string& word) {
  static const std::set<std::string> kFill = {
      "der",      "die",     "das",       "den",       "dem",      "des",        "ein",       "eine",       "einen",
      "einem",    "einer",   "eines",     "und",       "oder",     "von",        "vom",       "zu",         "zum",
      "zur",      "im",      "in",        "ins",       "am",       "an",         "auf",       "aus",        "als",
      "für",      "mit",     "bei",       "nach",      "durch",    "über",       "wie",       "was",        "wo",
      "wann",     "welche",  "welcher",   "warum",     "ist",      "sind",       "wird",      "kann",       "ich",
      "man",      "mein",    "meine",     "nicht",     "kein",     "keine",      "ändern",    "einstellen", "eingeben",
      "laden",    "öffnen",  "suchen",    "finden",    "anzeigen", "zeigen",     "berechnen", "rechnen",    "erstellen",
      "erzeugen", "machen",  "wählen",    "auswählen", "setzen",   "hinzufügen", "sehen",     "umstellen",  "wechseln",
      "the",      "a",       "an",        "of",        "by",       "for",        "on",        "at",         "to",
      "and",      "or",      "with",      "from",      "into",     "about",      "how",       "what",       "when",
      "where",    "which",   "why",       "is",        "are",      "do",         "does",      "can",        "my",
      "not",      "no",      "change",    "enter",     "load",     "open",       "find",      "search",     "show",
      "display",  "compute", "calculate", "make",      "create",   "choose",     "select",    "add",        "get",
      "see",      "switch"};
  return kFill.count(word) != 0;
}

// Everyday words of observers that the guides need not use, each row with
// the guide's terms that answer its words, English and German: the first
// term the guide holds is searched. A row's words are looked up only when
// the guide does not hold them as they stand.
struct TEverydayWords {
  const char* Words;  // lower case, separated by blanks
  const char* Terms;
};
constexpr TEverydayWords kEverydayWords[] = {
    {"dusk dawn nightfall evenfall gloaming daybreak zwielicht morgengrauen tagesanbruch abenddämmerung "
     "morgendämmerung dämmerung",
     "twilight dämmerung"},
    {"sunup sunrise sonnenaufgang", "sunrise sonnenaufgang"},
    {"sundown sunset sonnenuntergang", "sunset sonnenuntergang"},
    {"midday sonnenhöchststand mittagshöhe höchststand culmination kulmination", "culmination kulmination"},
};
// The guide's word for the places of the world database and the location
// file: what a place name is searched as.
constexpr const char* kPlaceTerms = "cities städte";

// The words of a row of blank-separated words.
std::vector<std::string> WordsOf(const char* row) {
  std::vector<std::string> words;
  std::string word;
  for (const char* c = row;; ++c) {
    if (*c == ' ' || *c == '\0') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*c == '\0') return words;
    } else {
      word += *c;
    }
  }
}

// The code points of a UTF-8 word (a slip is one letter, whatever its bytes).
std::u32string CodePoints(const std::string& word) {
  std::u32string points;
  for (std::size_t at = 0; at < word.size();) {
    const auto c = static_cast<unsigned char>(word[at]);
    const std::size_t bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t point = bytes == 1 ? c : c & (0x7F >> bytes);
    for (std::size_t k = 1; k < bytes && at + k < word.size(); ++k) {
      point = (point << 6) | (static_cast<unsigned char>(word[at + k]) & 0x3F);
    }
    points.push_back(point);
    at += bytes;
  }
  return points;
}

// Whether `a` and `b` lie one slip apart: one letter replaced, left out or
// added, or two neighbouring letters swapped.
bool OneSlipApart(const std::u32string& a, const std::u32string& b) {
  if (a.size() == b.size()) {
    std::size_t first = 0;
    while (first < a.size() && a[first] == b[first]) ++first;
    if (first == a.size()) return false;  // the same word
    if (a.compare(first + 1, std::u32string::npos, b, first + 1, std::u32string::npos) == 0) return true;
    return first + 1 < a.size() && a[first] == b[first + 1] && a[first + 1] == b[first] &&
           a.compare(first + 2, std::u32string::npos, b, first + 2, std::u32string::npos) == 0;
  }
  const std::u32string& longer = a.size() > b.size() ? a : b;
  const std::u32string& shorter = a.size() > b.size() ? b : a;
  if (longer.size() != shorter.size() + 1) return false;
  std::size_t first = 0;
  while (first < shorter.size() && shorter[first] == longer[first]) ++first;
  return longer.compare(first + 1, std::u32string::npos, shorter, first, std::u32string::npos) == 0;
}

// The shortest word a slip is looked for in: shorter words lie one slip
// from too many others ("Mond" from "Mord", "Mund" and "Mode").
constexpr std::size_t kShortestSlip = 5;

// The number of letters (UTF-8 code points) of a word.
std::size_t Letters(const std::string& word) {
  return static_cast<std::size_t>(
      std::count_if(word.begin(), word.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The bytes of the letter or digit at `at`: 1 for ASCII, 2 for the Latin
// letters of UTF-8 (U+00C0..U+017F but the multiplication and division
// signs); 0 for any other character.
std::size_t LetterBytes(const std::string& text, std::size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return 1;
  if (at + 1 >= text.size()) return 0;
  const auto next = static_cast<unsigned char>(text[at + 1]);
  if ((next & 0xC0) != 0x80) return 0;
  if (c == 0xC3) return next == 0x97 || next == 0xB7 ? 0 : 2;
  return c == 0xC4 || c == 0xC5 ? 2 : 0;
}

// A key word without a plural or case ending, so long as four letters
// remain: the word's stem is enough to find it in the text.
std::string Stem(const std::string& word) {
  for (const char* ending : {"sen", "se", "en", "es", "er", "e", "n", "s"}) {
    const std::string tail(ending);
    if (word.size() >= tail.size() + 4 && word.compare(word.size() - tail.size(), tail.size(), tail) == 0) {
      return word.substr(0, word.size() - tail.size());
    }
  }
  return word;
}

struct TToken {
  std::string Word;   // in lower case
  std::string Typed;  // as it stands in the text
  bool Bold = false;
  bool Cut = false;        // cut before a hyphen: "Auf-" of "Auf- und Untergang"
  std::string Completion;  // for a cut word, the words after it that complete it
  std::size_t Run = 0;     // the number of the bold run the word stands in (from 1), 0 outside bold
  double Share = 0;        // in bold text, the word's share of its run (1 / the run's words)
};

// The words of a text. In Markdown a "**" starts or ends bold text (a blank
// line ends it too) and the target of a link or picture ("](...)") is
// skipped.
std::vector<TToken> Tokens(const std::string& text, bool markdown) {
  std::vector<TToken> tokens;
  bool bold = false;
  std::size_t runs = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (markdown && text.compare(at, 2, "**") == 0) {
      bold = !bold;
      if (bold) ++runs;
      at += 2;
      continue;
    }
    if (markdown && text.compare(at, 2, "\n\n") == 0) bold = false;
    if (markdown && text.compare(at, 2, "](") == 0) {
      const std::size_t close = text.find(')', at);
      at = close == std::string::npos ? text.size() : close + 1;
      continue;
    }
    if (LetterBytes(text, at) == 0) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    for (std::size_t bytes = LetterBytes(text, at); bytes > 0 && at < text.size();) {
      at += bytes;
      bytes = at < text.size() ? LetterBytes(text, at) : 0;
    }
    TToken token{LowerCaseLatinText(text.substr(start, at - start)),
                 text.substr(start, at - start),
                 bold,
                 false,
                 {},
                 bold ? runs : 0,
                 0};
    token.Cut = at < text.size() && text[at] == '-' &&
                (at + 1 == text.size() || std::string(" \t\r\n,/)").find(text[at + 1]) != std::string::npos);
    tokens.push_back(std::move(token));
  }
  // A cut word is completed by the next whole word after the conjunction;
  // cut words between them ("Auf-, Untergangs- und Dämmerungszeiten") are
  // kept with it.
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (!tokens[i].Cut) continue;
    for (std::size_t next = i + 1; next < tokens.size() && next <= i + 4; ++next) {
      if (IsConjunction(tokens[next].Word)) continue;
      if (!tokens[i].Completion.empty()) tokens[i].Completion += ' ';
      tokens[i].Completion += tokens[next].Word;
      if (!tokens[next].Cut) break;
    }
  }
  // The share of a bold word: a key that is all of a bold term ("**Komet**")
  // names what the section explains, one word of a longer bold text less so.
  std::vector<std::size_t> runWords(runs + 1, 0);
  for (const TToken& token : tokens) ++runWords[token.Run];
  for (TToken& token : tokens) {
    if (token.Run != 0) token.Share = 1.0 / static_cast<double>(runWords[token.Run]);
  }
  return tokens;
}

// The text of a section without its heading line (its title is indexed on
// its own).
std::string Body(const THelpSection& section) {
  if (section.Text.rfind('#', 0) != 0) return section.Text;
  const std::size_t end = section.Text.find('\n');
  return end == std::string::npos ? std::string() : section.Text.substr(end + 1);
}

// The weights of the ranking (see the header). A guide word that is the
// key word, one that starts with it or holds it as a later part, and one
// found by the stem alone. A match in the title (times the share of the
// title's letters it covers) and in bold text (times its share of the bold
// term) against one in plain text. How soon further matches of a term stop
// counting, and how much a text longer than the guide's mean discounts
// them (k1 and b of the usual term-weighting formula, Okapi BM25).
constexpr double kAsTyped = 1.0;
constexpr double kTypedStart = 0.7;
constexpr double kByStem = 0.2;
constexpr double kTitleWeight = 3.0;
constexpr double kBoldWeight = 5.0;
constexpr double kSaturation = 1.2;
constexpr double kTextLengthWeight = 0.1;

// How rare a term is: few sections holding it make it count more.
double Rarity(std::size_t sections, std::size_t holding) {
  const double n = static_cast<double>(holding);
  return std::log(1.0 + (static_cast<double>(sections) - n + 0.5) / (n + 0.5));
}

}  // namespace

// The matches of one term (a key word, a part of one, or two key words
// standing together) in a section, each weighted as typed or by stem.
struct THelpSearch::TCount {
  double Title = 0;
  double Bold = 0;
  double Text = 0;  // every match of the text, bold ones too
  bool Found() const { return Title + Text > 0; }
};

THelpSearch::THelpSearch(const std::vector<THelpSection>& sections, THelpPlaceNames places)
    : count_(sections.size()), places_(std::move(places)) {
  for (const THelpSection& section : sections) {
    TIndexedSection indexed;
    indexed.Titles.push_back(Phrase(section.Title));
    for (const std::string& keyword : section.Keywords) indexed.Titles.push_back(Phrase(keyword));
    for (const TToken& token : Tokens(Body(section), true)) {
      indexed.Text.emplace_back(WordId(token.Word, token.Completion), token.Share);
    }
    meanText_ += static_cast<double>(indexed.Text.size());
    sections_.push_back(std::move(indexed));
  }
  const double count = static_cast<double>(std::max<std::size_t>(count_, 1));
  meanText_ = std::max(meanText_ / count, 1.0);
}

std::size_t THelpSearch::WordId(const std::string& word, const std::string& completion) {
  const auto [at, added] = ids_.try_emplace({word, completion}, words_.size());
  if (added) {
    words_.push_back({word, completion});
    if (Letters(word) >= 3) dictionary_.insert(word);
  }
  return at->second;
}

THelpSearch::TPhrase THelpSearch::Phrase(const std::string& text) {
  TPhrase phrase;
  for (const TToken& token : Tokens(text, false)) {
    phrase.Words.push_back(WordId(token.Word, token.Completion));
    phrase.Letters += Letters(token.Word);
  }
  return phrase;
}

bool THelpSearch::IsWord(const std::string& word) const { return dictionary_.count(word) != 0; }

bool THelpSearch::StartsAWord(const std::string& start) const {
  const auto at = dictionary_.lower_bound(start);
  return at != dictionary_.end() && at->compare(0, start.size(), start) == 0;
}

// Whether `text` is a row of the guide's words, linking letters between and
// after them.
bool THelpSearch::IsCompound(const std::string& text) const {
  std::vector<bool> reached(text.size() + 1, false);
  reached[0] = true;
  for (std::size_t from = 0; from < text.size(); ++from) {
    if (!reached[from]) continue;
    for (std::size_t end = from + 3; end <= text.size(); ++end) {
      if (!IsWord(text.substr(from, end - from))) continue;
      reached[end] = true;
      for (const char* link : kLinks) {
        const std::string linking(link);
        if (text.compare(end, linking.size(), linking) == 0) reached[end + linking.size()] = true;
      }
    }
  }
  return reached[text.size()];
}

// Splits `word` from `from` on into parts (see Parts), the longest first
// part first; `parts` holds the parts before `from`. `failed` marks the
// places from which no split was found (a long key of repeated words takes
// no time).
bool THelpSearch::SplitFrom(const std::string& word, std::size_t from, std::vector<std::string>& parts,
                            std::vector<bool>& failed) const {
  if (failed[from]) return false;
  for (std::size_t end = word.size(); end > from; --end) {
    const std::string part = word.substr(from, end - from);
    if (Letters(part) < 3) break;
    if (end == word.size()) {
      if (!parts.empty() && (IsWord(part) || StartsAWord(Stem(part)))) {
        parts.push_back(part);
        return true;
      }
      continue;
    }
    if (!IsWord(part)) continue;
    parts.push_back(part);
    if (SplitFrom(word, end, parts, failed)) return true;
    for (const char* link : kLinks) {
      const std::string linking(link);
      if (word.compare(end, linking.size(), linking) == 0 && end + linking.size() < word.size() &&
          SplitFrom(word, end + linking.size(), parts, failed)) {
        return true;
      }
    }
    parts.pop_back();
  }
  if (from > 0) failed[from] = true;  // with parts before it, the same at every visit
  return false;
}

std::vector<std::string> THelpSearch::Parts(const std::string& word) const {
  std::vector<std::string> parts;
  std::vector<bool> failed(word.size() + 1, false);
  if (Letters(word) < 6 || !SplitFrom(word, 0, parts, failed)) return {};
  return parts;
}

// Whether `text`, the rest of a word after a key, is an ending or further
// words of the guide (after linking letters).
bool THelpSearch::IsTail(const std::string& text) const {
  if (IsEnding(text) || IsCompound(text)) return true;
  for (const char* link : kLinks) {
    const std::string linking(link);
    if (text.compare(0, linking.size(), linking) == 0 && IsCompound(text.substr(linking.size()))) return true;
  }
  return false;
}

double THelpSearch::Matches(const std::string& key, const TWord& entry, bool part) const {
  const std::string& word = entry.Word;
  // The start of a word as typed (a key word, not a part).
  if (!part && word == key) return kAsTyped;
  if (!part && word.compare(0, key.size(), key) == 0) return kTypedStart;
  if (!MatchesByStem(key, entry, part)) return 0.0;
  // A later part of a compound as typed ("Zone" in "Zeitzone") counts as
  // the start of a word does; a match of the stem alone less.
  return word.find(key) != std::string::npos ? kTypedStart : kByStem;
}

bool THelpSearch::MatchesByStem(const std::string& key, const TWord& entry, bool part) const {
  const std::string& word = entry.Word;
  // The stem with an ending, or as the first part of a compound.
  const std::string stem = Stem(key);
  if (word.compare(0, stem.size(), stem) == 0 && IsTail(word.substr(stem.size()))) return true;
  if (Letters(stem) < 3) return false;
  // A later part of a compound.
  for (std::size_t at = word.find(stem, 1); at != std::string::npos; at = word.find(stem, at + 1)) {
    const std::string before = word.substr(0, at);
    const std::string after = word.substr(at + stem.size());
    if (Letters(before) >= 3 && (IsEnding(after) || IsCompound(before)) && (!part || IsTail(after))) return true;
  }
  // A cut compound: "auf" completed by "untergang" holds "aufgang".
  if (entry.Completion.empty() || stem.size() <= word.size() || stem.compare(0, word.size(), word) != 0) return false;
  const std::string rest = stem.substr(word.size());
  if (Letters(rest) < 3) return false;
  for (std::size_t at = entry.Completion.find(rest, 1); at != std::string::npos;
       at = entry.Completion.find(rest, at + 1)) {
    if (entry.Completion[at - 1] != ' ') return true;
  }
  return false;
}

std::vector<double> THelpSearch::MatchingWords(const std::string& key, bool part) const {
  std::vector<double> matching(words_.size());
  for (std::size_t i = 0; i < words_.size(); ++i) matching[i] = Matches(key, words_[i], part);
  return matching;
}

THelpSearch::TCount THelpSearch::Count(std::size_t section, const std::vector<double>& matching,
                                       std::size_t letters) const {
  TCount result;
  // In the title or a keyword, the share of its letters that the key
  // covers, the best of them.
  for (const TPhrase& phrase : sections_[section].Titles) {
    double covered = 0;
    for (std::size_t id : phrase.Words) {
      covered += matching[id] * static_cast<double>(std::min(letters, Letters(words_[id].Word)));
    }
    if (covered > 0) result.Title = std::max(result.Title, covered / static_cast<double>(phrase.Letters));
  }
  for (const auto& [id, share] : sections_[section].Text) {
    result.Text += matching[id];
    result.Bold += matching[id] * share;
  }
  return result;
}

THelpSearch::TCount THelpSearch::CountTogether(std::size_t section, const std::vector<double>& first,
                                               const std::vector<double>& second, std::size_t firstLetters,
                                               std::size_t secondLetters) const {
  TCount result;
  const TIndexedSection& s = sections_[section];
  for (const TPhrase& phrase : s.Titles) {
    const std::vector<std::size_t>& w = phrase.Words;
    double covered = 0;
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
      const double match = std::min(first[w[i]], second[w[i + 1]]);
      if (match > 0) {
        covered += match * static_cast<double>(std::min(firstLetters, Letters(words_[w[i]].Word)) +
                                               std::min(secondLetters, Letters(words_[w[i + 1]].Word)));
      }
    }
    if (covered > 0) result.Title = std::max(result.Title, covered / static_cast<double>(phrase.Letters));
  }
  for (std::size_t i = 0; i + 1 < s.Text.size(); ++i) {
    const double match = std::min(first[s.Text[i].first], second[s.Text[i + 1].first]);
    result.Text += match;
    if (s.Text[i].second > 0 && s.Text[i + 1].second > 0)
      result.Bold += match * (s.Text[i].second + s.Text[i + 1].second);  // the share of the term both cover
  }
  return result;
}

double THelpSearch::Weight(std::size_t section, const TCount& count) const {
  const double length = static_cast<double>(sections_[section].Text.size()) / meanText_;
  const double text = (count.Text + kBoldWeight * count.Bold) / (1.0 - kTextLengthWeight + kTextLengthWeight * length);
  return kTitleWeight * std::min(count.Title, 1.0) + text * (kSaturation + 1.0) / (text + kSaturation);
}

std::vector<THelpSearch::TCount> THelpSearch::PartCounts(const std::vector<std::string>& parts) const {
  std::vector<TCount> counts(count_);
  if (parts.empty()) return counts;
  std::vector<std::vector<TCount>> each;
  std::size_t rarest = 0;
  std::size_t fewest = count_ + 1;
  for (const std::string& part : parts) {
    const std::vector<double> matching = MatchingWords(part, true);
    std::vector<TCount> in(count_);
    for (std::size_t i = 0; i < count_; ++i) in[i] = Count(i, matching, Letters(part));
    const auto holding =
        static_cast<std::size_t>(std::count_if(in.begin(), in.end(), [](const TCount& c) { return c.Found(); }));
    if (holding < fewest) {
      fewest = holding;
      rarest = each.size();
    }
    each.push_back(std::move(in));
  }
  for (std::size_t i = 0; i < count_; ++i) {
    const bool all =
        std::all_of(each.begin(), each.end(), [i](const std::vector<TCount>& in) { return in[i].Found(); });
    if (all) counts[i] = each[rarest][i];
  }
  return counts;
}

std::pair<std::string, bool> THelpSearch::KnownPart(const std::string& word) const {
  auto letterAt = [&word](std::size_t at) { return (static_cast<unsigned char>(word[at]) & 0xC0) != 0x80; };
  // German compounds name their kind last: a "Hauptstadt" is a "Stadt".
  std::string head;
  for (std::size_t at = 3; at + 4 <= word.size() && head.empty(); ++at) {
    if (letterAt(at) && IsWord(word.substr(at))) head = word.substr(at);
  }
  // A start leaves a word of four letters or more, linking letters aside
  // ("Sonnenuhr" leaves "uhr" after "Sonne": no start).
  auto leavesAWord = [&word](std::size_t end) {
    std::size_t rest = word.size() - end;
    for (const char* link : kLinks) {
      const std::string linking(link);
      if (word.compare(end, linking.size(), linking) == 0) {
        rest = std::min(rest, word.size() - end - linking.size());
      }
    }
    return rest >= 4;
  };
  std::string start;
  for (std::size_t end = word.size() - 4; end >= 4 && start.empty(); --end) {
    if (letterAt(end) && leavesAWord(end) && StartsAWord(word.substr(0, end))) start = word.substr(0, end);
  }
  // A part shorter than half the word says too little about it ("Sort" of
  // "Beobachtungsort").
  const std::size_t half = (Letters(word) + 1) / 2;
  if (start.size() > head.size() && Letters(start) >= half) return {start, true};
  if (!head.empty() && Letters(head) >= half) return {head, false};
  return {};
}

std::string THelpSearch::EverydayTerm(const std::string& word) const {
  const auto heldTerm = [this](const char* terms) {
    for (const std::string& term : WordsOf(terms)) {
      if (IsWord(term)) return term;
    }
    return std::string();
  };
  for (const TEverydayWords& row : kEverydayWords) {
    const std::vector<std::string> words = WordsOf(row.Words);
    if (std::find(words.begin(), words.end(), word) != words.end()) return heldTerm(row.Terms);
  }
  if (places_ && places_(word)) return heldTerm(kPlaceTerms);
  return {};
}

std::vector<std::string> THelpSearch::Slips(const std::string& word) const {
  std::vector<std::string> slips;
  const std::u32string key = CodePoints(word);
  if (key.size() < kShortestSlip) return slips;
  for (const std::string& candidate : dictionary_) {
    const std::u32string points = CodePoints(candidate);
    if (points.size() >= kShortestSlip && OneSlipApart(key, points)) slips.push_back(candidate);
  }
  return slips;
}

std::vector<THelpSearch::TCount> THelpSearch::TypedCounts(const std::vector<std::string>& words) const {
  std::vector<double> matching(words_.size(), 0.0);
  std::size_t letters = 0;
  for (const std::string& word : words) {
    const std::vector<double> each = MatchingWords(word, false);
    for (std::size_t i = 0; i < matching.size(); ++i) matching[i] = std::max(matching[i], each[i]);
    letters = std::max(letters, Letters(word));
  }
  std::vector<TCount> counts(count_);
  for (std::size_t i = 0; i < count_; ++i) counts[i] = Count(i, matching, letters);
  return counts;
}

std::vector<THelpSearch::TCount> THelpSearch::KeyWordCounts(const std::string& word, std::vector<double>& whole) const {
  const auto found = [](const std::vector<TCount>& counts) {
    return std::any_of(counts.begin(), counts.end(), [](const TCount& c) { return c.Found(); });
  };
  std::vector<TCount> counts(count_);
  whole = MatchingWords(word, false);
  if (std::any_of(whole.begin(), whole.end(), [](double match) { return match > 0; })) {
    for (std::size_t i = 0; i < count_; ++i) counts[i] = Count(i, whole, Letters(word));
    return counts;
  }
  whole.clear();
  if (const std::string term = EverydayTerm(word); !term.empty()) return TypedCounts({term});
  counts = PartCounts(Parts(word));
  if (found(counts)) return counts;
  if (Letters(word) >= 8) {
    const auto [part, start] = KnownPart(word);
    if (!part.empty()) {
      counts = start ? TypedCounts({part}) : PartCounts({part});
      if (found(counts)) return counts;
    }
  }
  return TypedCounts(Slips(word));
}

THelpFindings THelpSearch::Search(const std::string& key) const {
  THelpFindings findings;
  const std::vector<TToken> keys = Tokens(key, false);
  if (keys.empty()) {
    findings.Sections.resize(count_);
    std::iota(findings.Sections.begin(), findings.Sections.end(), std::size_t{0});
    return findings;
  }
  // The terms: every key word the guide holds (a section should hold each)
  // and every two neighbouring key words found as they stand (a section
  // that has them together counts more). A term's matches per section.
  std::vector<std::vector<TCount>> terms;
  std::vector<std::size_t> held(count_, 0);  // the key words each section holds
  std::size_t known = 0;
  std::vector<double> previous;  // the last key word's matches, when found as it stands (else empty)
  std::size_t previousLetters = 0;
  // Fill words count where a section holds them, but no section needs to
  // (unless the key is nothing else).
  const bool allFill = std::all_of(keys.begin(), keys.end(), [](const TToken& t) { return IsFillWord(t.Word); });
  for (const TToken& word : keys) {
    const bool needed = allFill || !IsFillWord(word.Word);
    std::vector<double> whole;
    std::vector<TCount> counts = KeyWordCounts(word.Word, whole);
    if (std::none_of(counts.begin(), counts.end(), [](const TCount& c) { return c.Found(); })) {
      if (needed) findings.Unknown.push_back(word.Typed);
      previous.clear();
      continue;
    }
    known += needed ? 1 : 0;
    if (!previous.empty() && !whole.empty()) {
      std::vector<TCount> together(count_);
      for (std::size_t i = 0; i < count_; ++i) {
        together[i] = CountTogether(i, previous, whole, previousLetters, Letters(word.Word));
      }
      terms.push_back(std::move(together));
    }
    previous = whole;
    previousLetters = Letters(word.Word);
    for (std::size_t i = 0; i < count_ && needed; ++i) held[i] += counts[i].Found() ? 1 : 0;
    terms.push_back(std::move(counts));
  }
  if (known == 0) return findings;
  std::vector<double> scores(count_, 0.0);
  for (const std::vector<TCount>& term : terms) {
    const auto holding =
        static_cast<std::size_t>(std::count_if(term.begin(), term.end(), [](const TCount& c) { return c.Found(); }));
    const double rarity = Rarity(count_, holding);
    for (std::size_t i = 0; i < count_; ++i) {
      if (term[i].Found()) scores[i] += rarity * Weight(i, term[i]);
    }
  }
  // The sections that hold the most key words, best first.
  const std::size_t most = *std::max_element(held.begin(), held.end());
  findings.AllWords = most == known;
  for (std::size_t i = 0; i < count_; ++i) {
    if (held[i] == most) findings.Sections.push_back(i);
  }
  std::stable_sort(findings.Sections.begin(), findings.Sections.end(),
                   [&scores](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
  // The title page only when it is all there is.
  std::vector<std::size_t>& found = findings.Sections;
  if (found.size() > 1) found.erase(std::remove(found.begin(), found.end(), std::size_t{0}), found.end());
  return findings;
}

std::vector<std::size_t> THelpSearch::Find(const std::string& key) const { return Search(key).Sections; }

std::vector<std::size_t> FindHelpSections(const std::vector<THelpSection>& sections, const std::string& key) {
  return THelpSearch(sections).Find(key);
}

}  // namespace kvx
