// A binary asteroid database file (".eel") held in memory for one table run:
// read and checked once when the table object is set up, then asked for the
// element set of every instant without touching the file again. The answer
// is the one re-reading the file per instant would give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/asteroid_database.h"
#include "core/asteroid_elements.h"

namespace kvx {

class TAsteroidDatabaseImage {
 public:
  // Reads `path` whole. Refused, with a message naming the file and the
  // image left empty, when the file is missing or unreadable, is shorter than
  // the header and one record, is not exactly header + whole records, has a
  // step below one day, or holds a record the two-body chain cannot use.
  bool Load(const std::string& path);
  bool Loaded() const { return !records_.empty(); }
  const std::string& Path() const { return path_; }
  const TEelHeader& Header() const { return header_; }
  int RecordCount() const { return static_cast<int>(records_.size()); }

  // Index of the record for the Julian day `jd`: the one the file reader
  // would seek to (clamped to the first and the last record).
  int RecordIndexFor(double jd) const;
  // Element set of the record for `jd`: a, e, i, node, argument of
  // perihelion, M and n from the record (n from a when 0), epoch = record
  // value x 0.1, equinox, H and G x 0.01 and the name from the header.
  TAsteroidElements ElementsFor(double jd) const;

 private:
  std::string path_;
  TEelHeader header_;
  std::vector<TEelRecord> records_;
  std::int32_t fileSize_ = 0;
};

}  // namespace kvx
