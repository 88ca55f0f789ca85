// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/KernelFields.h"

#include "dvb/KernelText.h"
#include "record/RecordText.h"

std::vector<std::pair<const char*, Json>> KernelFields(const Reading& r) {
  if (!r.kernel) return {};
  const KernelReading& k = *r.kernel;
  auto orNull = [](const auto& value) { return value ? Json(*value) : Json(nullptr); };
  auto level = [](const std::optional<KernelLevel>& l, bool relative) {
    return l && l->relative == relative ? Json(l->value) : Json(nullptr);
  };
  return {{"kernel_locked", orNull(k.locked())},
          {"kernel_signal_dbm", level(k.signal, false)},
          {"kernel_signal_pct", level(k.signal, true)},
          {"kernel_cnr_db", level(k.cnr, false)},
          {"kernel_pre_ber", orNull(k.preBer)},
          {"kernel_post_ber", orNull(k.postBer)},
          {"kernel_per", orNull(k.per)},
          {"kernel_ucb_total", orNull(k.ucbTotal)},
          {"disagree", KernelText::Disagree(r.disagree)}};
}

std::string KernelCsvField(const Json& value) {
  if (value.is_null()) return "";
  if (value.is_boolean()) return value.get<bool>() ? "1" : "0";
  if (value.is_array()) {
    std::string names;
    for (const Json& name : value) names += (names.empty() ? "" : ";") + name.get<std::string>();
    return names;
  }
  if (value.is_number_unsigned()) return std::to_string(value.get<uint64_t>());
  return DecimalText(value.get<double>());
}
