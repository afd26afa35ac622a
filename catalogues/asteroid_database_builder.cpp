#include "catalogues/asteroid_database_builder.h"

#include <cmath>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/asteroid_database.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

namespace kvx {

namespace fs = std::filesystem;

namespace {

// Keeps the messages of the database routines as the skip reason of the
// source in progress instead of showing one box per bad file.
class ReasonSink : public MessageSink {
 public:
  MessageResult Show(const std::string& text, const std::string&, MessageIcon, MessageButtons buttons) override {
    if (reason.empty()) reason = text;
    return DefaultMessageReply(buttons);
  }
  std::string reason;
};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::string CleanDatabaseFileName(const std::string& name) {
  std::string clean;
  clean.reserve(name.size());
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    clean.push_back(c == '/' || c == '\\' || u < 0x20 || u == 0x7F ? '_' : c);
  }
  std::size_t start = 0;
  while (start < clean.size() && (clean[start] == '.' || clean[start] == ' ')) ++start;
  clean.erase(0, start);
  while (!clean.empty() && clean.back() == ' ') clean.pop_back();
  return clean.empty() ? std::string("unnamed") : clean;
}

TAsteroidDatabaseBuildResult BuildAsteroidDatabase(const TAsteroidDatabaseBuild& build,
                                                   const std::function<bool()>& stopRequested,
                                                   const TDatabaseBuildProgress& progress) {
  TAsteroidDatabaseBuildResult result;
  std::error_code ec;
  if (build.SourceFolder.empty() || !fs::is_directory(build.SourceFolder, ec)) {
    result.Error = std::string(ByLanguage("Das Quellverzeichnis ", "The source folder ")) + build.SourceFolder +
                   ByLanguage(" existiert nicht.", " does not exist.");
    return result;
  }
  if (build.DestinationFolder.empty() || !fs::is_directory(build.DestinationFolder, ec)) {
    result.Error = std::string(ByLanguage("Das Zielverzeichnis ", "The destination folder ")) +
                   build.DestinationFolder + ByLanguage(" existiert nicht.", " does not exist.");
    return result;
  }
  std::vector<std::string> sources;
  SearchFilesRecursive(build.SourceFolder, "*.csv", [&sources](const std::string& path) { sources.push_back(path); });
  result.SourceCount = static_cast<int>(sources.size());

  ReasonSink reasons;
  std::set<std::string> taken;  // file names of this run, case ignored
  std::vector<std::string> lines;
  std::vector<TEelRecord> records;
  for (int number = 0; number < result.SourceCount; ++number) {
    if (stopRequested && stopRequested()) {
      result.Stopped = true;
      break;
    }
    const std::string& source = sources[static_cast<std::size_t>(number)];
    if (progress) progress(number, source);
    ScopedMessageSink quiet(reasons);
    reasons.reason.clear();
    const auto skip = [&](std::string reason) { result.SkippedFiles.push_back({source, std::move(reason)}); };
    if (!ReadTextFileLines(source, lines)) {
      skip(ByLanguage("Die Datei kann nicht gelesen werden.", "The file cannot be read."));
      continue;
    }
    TEelHeader header;
    double jd1 = build.Jd1;
    double jd2 = build.Jd2;
    if (!ReadAsteroidDbHeader(build.UseCompleteFile ? 1 : 0, lines, header, jd1, jd2)) {
      skip(reasons.reason);
      continue;
    }
    records.clear();
    TEelHeader lineHeader = header;
    TEelRecord record;
    constexpr double kEpochSlack = 1e-4;  // days; epochs are kept in tenths of a day
    for (std::size_t k = 1; k < lines.size(); ++k) {
      if (!ParseAsteroidDbLine(lines[k], record, lineHeader)) continue;
      const double epoch = record.Epoch10 * 0.1;
      if (!build.UseCompleteFile && (epoch < header.First - kEpochSlack || epoch > header.Last + kEpochSlack)) {
        continue;
      }
      records.push_back(record);
    }
    if (records.empty()) {
      skip(ByLanguage("Kein Datensatz liegt im gewählten Zeitraum; keine Datei geschrieben.",
                      "No record lies inside the chosen period; no file written."));
      continue;
    }
    const std::string base = CleanDatabaseFileName(header.Name);
    std::string name = base;
    for (int n = 2; taken.count(Lower(name)) != 0; ++n) name = base + " (" + std::to_string(n) + ")";
    const std::string target = (fs::path(build.DestinationFolder) / (name + ".eel")).string();
    if (!WriteEelFile(target, header, records)) {
      skip(reasons.reason);
      continue;
    }
    taken.insert(Lower(name));
    if (name != base) result.Renamed.push_back(source + " -> " + name + ".eel");
    result.Written.push_back(target);
  }
  return result;
}

std::string DatabaseBuildSummary(const TAsteroidDatabaseBuildResult& result) {
  std::string text = std::to_string(result.Written.size()) + ByLanguage(" Dateien geschrieben", " files written") +
                     ", " + std::to_string(result.SkippedFiles.size()) + ByLanguage(" übersprungen", " skipped") +
                     (result.Stopped ? ByLanguage(" (abgebrochen)", " (stopped)") : "") + ".";
  if (!result.Renamed.empty()) {
    text += ByLanguage("\n\nUmbenannt (Name schon vergeben):", "\n\nRenamed (name already taken):");
    for (const std::string& r : result.Renamed) text += "\n" + r;
  }
  if (!result.SkippedFiles.empty()) {
    text += ByLanguage("\n\nÜbersprungen:", "\n\nSkipped:");
    std::size_t shown = 0;
    for (const auto& s : result.SkippedFiles) {
      if (++shown > 30) {
        text += "\n...";
        break;
      }
      text += "\n" + s.Source + ": " + s.Reason;
    }
  }
  return text;
}

}  // namespace kvx
