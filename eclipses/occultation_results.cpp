#include "eclipses/occultation_results.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kvx {

std::string TOccultationResultList::KeyText(double contact1Time) {
  char text[64];
  std::snprintf(text, sizeof text, "%10.10f", contact1Time);
  return text;
}

bool TOccultationResultList::Add(std::unique_ptr<tergebnisdatensatz> row) {
  if (!row || !std::isfinite(row->Contact1Time)) return false;
  std::string key = KeyText(row->Contact1Time);
  if (by_key_.count(key) != 0) return false;
  // Ordered by the value the key text stands for, so that day numbers of
  // any count of digits come in time order.
  const double ordering = std::strtod(key.c_str(), nullptr);
  const tergebnisdatensatz* stored = row.get();
  by_key_.emplace(std::move(key), std::move(row));
  rows_.emplace(ordering, stored);
  return true;
}

std::vector<const tergebnisdatensatz*> TOccultationResultList::Rows() const {
  std::vector<const tergebnisdatensatz*> out;
  out.reserve(rows_.size());
  for (const auto& [time, row] : rows_) out.push_back(row);
  return out;
}

}  // namespace kvx
