#include "input/editparses.h"

namespace {

constexpr int kFirstCuspObject = 18;

int InList(int index, int count) { return index >= 0 && index < count ? index : 0; }

}  // namespace

std::vector<std::string> PartOperandNames(const std::string (&objectNames)[49],
                                          const std::string& rulerWord) {
  std::vector<std::string> names;
  names.reserve(kPartOperandCount);
  for (int h = 0; h < 12; ++h) names.push_back(objectNames[kFirstCuspObject + h + 1]);
  for (int b = 0; b < kBodyCount; ++b) names.push_back(objectNames[b + 1]);
  for (int h = 0; h < 12; ++h)
    names.push_back(rulerWord + " " + objectNames[kFirstCuspObject + h + 1]);
  return names;
}

PartRecord PartFromChoices(const std::string& name, int a, int b, int c, int signModeB,
                           int signModeC, int sex) {
  PartRecord part;
  part.Name = name;
  part.A = InList(a, kPartOperandCount);
  part.B = InList(b, kPartOperandCount);
  part.C = InList(c, kPartOperandCount);
  part.SignModeB = InList(signModeB, kPartSignModeCount);
  part.SignModeC = InList(signModeC, kPartSignModeCount);
  part.Sex = InList(sex, kPartSexCount);
  return part;
}

PartEdit InsertPart(ChartRecord& record, int at, const PartRecord& part) {
  if (record.PartCount >= kMaxArabicParts) return PartEdit::TableFull;
  if (at < 0 || at > record.PartCount) return PartEdit::NoSuchPart;
  for (int i = record.PartCount; i > at; --i) record.ArabicParts[i] = record.ArabicParts[i - 1];
  record.ArabicParts[at] = part;
  ++record.PartCount;
  return PartEdit::Done;
}

PartEdit ReplacePart(ChartRecord& record, int k, const PartRecord& part) {
  if (k < 0 || k >= record.PartCount) return PartEdit::NoSuchPart;
  const float longitude = record.ArabicParts[k].Longitude;
  record.ArabicParts[k] = part;
  record.ArabicParts[k].Longitude = longitude;
  return PartEdit::Done;
}

PartEdit RemovePart(ChartRecord& record, int k) {
  if (k < 0 || k >= record.PartCount) return PartEdit::NoSuchPart;
  for (int i = k; i + 1 < record.PartCount; ++i) record.ArabicParts[i] = record.ArabicParts[i + 1];
  --record.PartCount;
  record.ArabicParts[record.PartCount] = PartRecord{};
  return PartEdit::Done;
}

int PartShownAfterRemoval(int k, int count) {
  if (count <= 0) return -1;
  return k < count ? k : count - 1;
}
