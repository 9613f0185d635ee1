// The Arabic-parts table edited in place: every insertion and removal at
// every place of small tables against a plain list doing the same, the
// full table, indices outside it, and the operand lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/editparses.h"

namespace {

// prefix followed by n, e.g. "p3"
std::string Numbered(const char* prefix, int n) {
  std::string text(prefix);
  text += std::to_string(n);
  return text;
}

PartRecord Part(const std::string& name, int a = 0) {
  PartRecord p;
  p.Name = name;
  p.A = a;
  p.B = (a + 1) % kPartOperandCount;
  p.C = (a + 2) % kPartOperandCount;
  p.SignModeB = a % kPartSignModeCount;
  p.SignModeC = (a + 1) % kPartSignModeCount;
  p.Sex = a % kPartSexCount;
  return p;
}

std::unique_ptr<ChartRecord> Table(int count) {
  auto record = std::make_unique<ChartRecord>();
  for (int i = 0; i < count; ++i) record->ArabicParts[i] = Part(Numbered("p", i), i);
  record->PartCount = count;
  return record;
}

// The table's names in order, and whether every place beyond the count is empty.
std::vector<std::string> Names(const ChartRecord& r) {
  std::vector<std::string> names;
  for (int i = 0; i < r.PartCount; ++i) names.push_back(r.ArabicParts[i].Name);
  return names;
}
bool RestEmpty(const ChartRecord& r) {
  for (int i = r.PartCount; i < kMaxArabicParts; ++i)
    if (!r.ArabicParts[i].Name.empty()) return false;
  return true;
}

TEST(PartTable, InsertingAtEveryPlaceMovesTheFollowingPartsUpUnchanged) {
  for (int count = 0; count <= 4; ++count)
    for (int at = 0; at <= count; ++at) {
      auto record = Table(count);
      std::vector<std::string> expected = Names(*record);
      expected.insert(expected.begin() + at, "new");
      ASSERT_EQ(InsertPart(*record, at, Part("new", 7)), PartEdit::Done);
      EXPECT_EQ(Names(*record), expected) << count << " parts, at " << at;
      EXPECT_EQ(record->ArabicParts[at].A, 7);
      // the moved parts keep their formulas
      for (int i = at + 1; i < record->PartCount; ++i)
        EXPECT_EQ(record->ArabicParts[i].A, i - 1) << count << " parts, at " << at;
      EXPECT_TRUE(RestEmpty(*record));
    }
}

TEST(PartTable, RemovingEveryPartMovesTheFollowingDownAndShowsItsSuccessorOrTheNewLast) {
  for (int count = 1; count <= 4; ++count)
    for (int k = 0; k < count; ++k) {
      auto record = Table(count);
      std::vector<std::string> expected = Names(*record);
      expected.erase(expected.begin() + k);
      ASSERT_EQ(RemovePart(*record, k), PartEdit::Done);
      EXPECT_EQ(Names(*record), expected) << count << " parts, removed " << k;
      EXPECT_TRUE(RestEmpty(*record));
      const int shown = PartShownAfterRemoval(k, record->PartCount);
      const int oracle =
          expected.empty() ? -1 : (k < static_cast<int>(expected.size()) ? k : k - 1);
      EXPECT_EQ(shown, oracle) << count << " parts, removed " << k;
    }
}

TEST(PartTable, AFullTableOrAPlaceOutsideItIsRefusedAndNothingMoves) {
  auto record = Table(kMaxArabicParts);
  EXPECT_EQ(InsertPart(*record, kMaxArabicParts, Part("101st")), PartEdit::TableFull);
  EXPECT_EQ(InsertPart(*record, 0, Part("101st")), PartEdit::TableFull);
  EXPECT_EQ(record->PartCount, kMaxArabicParts);
  EXPECT_EQ(record->ArabicParts[0].Name, "p0");

  record = Table(3);
  const std::vector<std::string> before = Names(*record);
  for (int bad : {-1, 4, 1000})
    EXPECT_EQ(InsertPart(*record, bad, Part("x")), PartEdit::NoSuchPart);
  for (int bad : {-1, 3}) {
    EXPECT_EQ(RemovePart(*record, bad), PartEdit::NoSuchPart);
    EXPECT_EQ(ReplacePart(*record, bad, Part("x")), PartEdit::NoSuchPart);
  }
  EXPECT_EQ(Names(*record), before);

  // removing from an empty table never takes the count below 0
  record = Table(1);
  ASSERT_EQ(RemovePart(*record, 0), PartEdit::Done);
  EXPECT_EQ(RemovePart(*record, 0), PartEdit::NoSuchPart);
  EXPECT_EQ(record->PartCount, 0);
}

TEST(PartTable, ReplacingKeepsThePlaceAndTheComputedLongitude) {
  auto record = Table(3);
  record->ArabicParts[1].Longitude = 123.5f;
  ASSERT_EQ(ReplacePart(*record, 1, Part("changed", 9)), PartEdit::Done);
  EXPECT_EQ(Names(*record), (std::vector<std::string>{"p0", "changed", "p2"}));
  EXPECT_EQ(record->ArabicParts[1].C, 11);
  EXPECT_EQ(record->ArabicParts[1].Longitude, 123.5f);
}

TEST(PartChoices, AnUnselectedOrUnknownItemCountsAsTheFirst) {
  const PartRecord p = PartFromChoices("n", -1, 42, 41, -1, 4, 3);
  EXPECT_EQ(p.A, 0);
  EXPECT_EQ(p.B, 0);
  EXPECT_EQ(p.C, 41);
  EXPECT_EQ(p.SignModeB, 0);
  EXPECT_EQ(p.SignModeC, 0);
  EXPECT_EQ(p.Sex, 0);
  const PartRecord q = PartFromChoices("n", 5, 6, 7, 3, 2, 2);
  EXPECT_EQ(q.A + q.B + q.C + q.SignModeB + q.SignModeC + q.Sex, 5 + 6 + 7 + 3 + 2 + 2);
}

TEST(PartChoices, OperandsAreTheCuspsTheBodiesThenTheHouseRulers) {
  std::string objects[49];
  for (int o = 0; o < 49; ++o) objects[o] = Numbered("o", o - 1);  // object o at o + 1
  const std::vector<std::string> names = PartOperandNames(objects, "R");
  ASSERT_EQ(names.size(), static_cast<std::size_t>(kPartOperandCount));
  for (int h = 0; h < 12; ++h) {
    EXPECT_EQ(names[h], Numbered("o", 18 + h));
    EXPECT_EQ(names[30 + h], Numbered("R o", 18 + h));
  }
  for (int b = 0; b < 18; ++b) EXPECT_EQ(names[12 + b], Numbered("o", b));
}

}  // namespace
