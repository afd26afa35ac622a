#include "eclipses/occultation_results.h"

#include <cmath>

#include "core/text_conversion.h"

namespace kvx {

std::string TOccultationResultList::KeyText(double contact1Time) { return FixedPointText(contact1Time, 10, 10); }

bool TOccultationResultList::Add(std::unique_ptr<tergebnisdatensatz> row) {
  if (!row || !std::isfinite(row->Contact1Time)) return false;
  std::string key = KeyText(row->Contact1Time);
  if (by_key_.count(key) != 0) return false;
  // Ordered by the value the key text stands for, so that day numbers of
  // any count of digits come in time order.
  double ordering = 0.0;
  ValReal(key, ordering);
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
