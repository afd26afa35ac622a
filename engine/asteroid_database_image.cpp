#include "engine/asteroid_database_image.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/two_body.h"
#include "platform/messages.h"

namespace kvx {

namespace {

void Refuse(const std::string& path, const std::string& german, const std::string& english) {
  ShowMessage("Die Asteroiden-Datenbank " + path + " " + german, "The asteroid database " + path + " " + english,
              MessageIcon::Error);
}

bool RecordUsable(const TEelRecord& r) {
  const float values[] = {r.SemiMajorAxis, r.Eccentricity, r.Inclination, r.MeanMotion,
                          r.Node,          r.Perihelion,   r.MeanAnomaly};
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  return r.SemiMajorAxis > 0 && r.Eccentricity >= 0 && r.Eccentricity < 1;
}

}  // namespace

bool TAsteroidDatabaseImage::Load(const std::string& path) {
  path_ = path;
  records_.clear();
  header_ = TEelHeader{};
  fileSize_ = 0;

  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || !std::filesystem::is_regular_file(path, error)) {
    Refuse(path, "gibt es nicht oder sie kann nicht gelesen werden.", "does not exist or cannot be read.");
    return false;
  }
  const std::uintmax_t minimum = kEelHeaderSize + kEelRecordSize;
  if (size < minimum || size > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max()) ||
      (size - kEelHeaderSize) % kEelRecordSize != 0) {
    Refuse(path, "hat nicht die Länge eines Kopfes und ganzer Datensätze.",
           "is not the length of a header and whole records.");
    return false;
  }
  TEelHeader header;
  std::vector<TEelRecord> records;
  if (!ReadEelFile(path, header, records)) return false;  // the reader names the file
  if (!(std::isfinite(header.First)) || header.Step < 1) {
    Refuse(path, "hat eine ungültige Schrittweite.", "has an invalid step.");
    return false;
  }
  for (const TEelRecord& r : records) {
    if (!RecordUsable(r)) {
      Refuse(path, "enthält unbrauchbare Bahnelemente.", "holds unusable orbital elements.");
      return false;
    }
  }
  header_ = header;
  records_ = std::move(records);
  fileSize_ = static_cast<std::int32_t>(size);
  return true;
}

int TAsteroidDatabaseImage::RecordIndexFor(double jd) const {
  const std::int32_t index = EelRecordIndex(fileSize_, jd, header_.Step, header_.First);
  if (index < 0) return 0;
  return index < RecordCount() ? index : RecordCount() - 1;
}

TAsteroidElements TAsteroidDatabaseImage::ElementsFor(double jd) const {
  TAsteroidElements e = EelElements(header_, records_[static_cast<std::size_t>(RecordIndexFor(jd))]);
  if (e.MeanMotion == 0) e.MeanMotion = MeanDailyMotion(e.SemiMajorAxis);
  return e;
}

}  // namespace kvx
