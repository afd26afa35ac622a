// Building the binary asteroid database: every "*.csv" source of a folder
// (and its subfolders) becomes one ".eel" file named after its asteroid in
// the destination folder. A source that cannot be used is skipped with its
// reason and the run goes on; the result lists what was written and what
// was skipped, for the summary shown at the end.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvx {

struct TAsteroidDatabaseBuild {
  std::string SourceFolder;
  std::string DestinationFolder;
  bool UseCompleteFile = true;
  // The period kept when not the whole file is used, Julian days; moved onto
  // each source's grid of epochs, never shrinking below the request.
  double Jd1 = 2448000.5;
  double Jd2 = 2455000.5;
};

struct TAsteroidDatabaseBuildResult {
  struct Skipped {
    std::string Source;
    std::string Reason;  // the current language
  };
  std::vector<std::string> Written;  // ".eel" paths in the order written
  std::vector<Skipped> SkippedFiles;
  // Sources whose asteroid name an earlier source of the run had already
  // taken: written as "name (2).eel" and so on; one note per file.
  std::vector<std::string> Renamed;
  int SourceCount = 0;
  bool Stopped = false;  // the stop request ended the run early
  std::string Error;     // a folder problem that ended the run before any file
};

// Called before each source: its 0-based number and path.
using TDatabaseBuildProgress = std::function<void(int number, const std::string& path)>;

// Builds the database. `stopRequested` is asked before each source; the
// source in progress is always finished. Every file is written through a
// temporary file and a rename.
TAsteroidDatabaseBuildResult BuildAsteroidDatabase(const TAsteroidDatabaseBuild& build,
                                                   const std::function<bool()>& stopRequested = {},
                                                   const TDatabaseBuildProgress& progress = {});

// An asteroid name as a file name: "/", "\" and control characters become
// "_", leading dots and blanks go, trailing blanks go; an empty result is
// "unnamed".
std::string CleanDatabaseFileName(const std::string& name);

// The summary of a run, in the current language: files written, renamed,
// skipped with their reasons (the first 30 named).
std::string DatabaseBuildSummary(const TAsteroidDatabaseBuildResult& result);

}  // namespace kvx
