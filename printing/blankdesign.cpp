#include "printing/blankdesign.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/text/numbers.h"

namespace {

constexpr BlankList kPerBlank[] = {kPageHeights, kPageWidths, kElementCounts, kOrientations,
                                   kBackgrounds};
constexpr BlankList kPerElement[] = {kElementKinds, kElementBottom, kElementRight, kElementTop,
                                     kElementLeft};

constexpr int kGripTolerance = 1;  // pixels

bool IsInteger(const std::string& text, int& value) { return ParseInt(text, value); }

// A blank with a line in every per-blank list.
bool IsBlank(const BlankModel& model, int blank) {
  if (blank < 0 || blank >= BlankCount(model)) return false;
  for (BlankList list : kPerBlank)
    if (blank >= static_cast<int>(model.Lists[list].size())) return false;
  return true;
}

// An element with a line in every per-element list.
bool IsElement(const BlankModel& model, int element) {
  if (element < 0) return false;
  for (BlankList list : kPerElement)
    if (element >= static_cast<int>(model.Lists[list].size())) return false;
  return true;
}

bool IsElementOf(const BlankModel& model, int blank, int element) {
  if (!IsBlank(model, blank)) return false;
  const int first = FirstElement(model, blank);
  return element >= first && element < ElementEnd(model, blank) && IsElement(model, element);
}

std::string Text(int value) { return std::to_string(value); }

}  // namespace

bool IsGroupKind(int kind) {
  return kind == 0 || kind == 1 || kind == 8 || kind == 11 || kind == kHeadingParent;
}

BlankCheck CheckBlankModel(const BlankModel& model) {
  BlankCheck check;
  auto fail = [&](int list, int line, int have, int need) {
    check = BlankCheck{false, list, line, have, need};
    return check;
  };
  const int blanks = static_cast<int>(model.Names().size());
  long long elements = 0;
  for (BlankList list : kPerBlank) {
    const LineList& lines = model.Lists[list];
    if (static_cast<int>(lines.size()) != blanks)
      return fail(list, -1, static_cast<int>(lines.size()), blanks);
    for (int b = 0; b < blanks; ++b) {
      int value = 0;
      const bool positive = list == kPageHeights || list == kPageWidths;
      if (!IsInteger(lines[b], value) || value < 0 || (positive && value == 0))
        return fail(list, b, 0, 0);
      if (list == kElementCounts) elements += value;
    }
  }
  for (BlankList list : kPerElement) {
    const LineList& lines = model.Lists[list];
    if (static_cast<long long>(lines.size()) != elements)
      return fail(list, -1, static_cast<int>(lines.size()),
                  static_cast<int>(std::min<long long>(elements, 1 << 30)));
    for (std::size_t e = 0; e < lines.size(); ++e) {
      int value = 0;
      if (!IsInteger(lines[e], value)) return fail(list, static_cast<int>(e), 0, 0);
    }
  }
  return check;
}

int BlankCount(const BlankModel& model) { return static_cast<int>(model.Names().size()); }

int BlankValue(const BlankModel& model, BlankList list, int line) {
  const LineList& lines = model.Lists[list];
  int value = 0;
  if (line < 0 || line >= static_cast<int>(lines.size()) || !IsInteger(lines[line], value))
    return 0;
  return value;
}

int FirstElement(const BlankModel& model, int blank) {
  // summed wide: counts out of reason must not overflow
  long long first = 0;
  for (int b = 0; b < blank; ++b) first += std::max(0, BlankValue(model, kElementCounts, b));
  return static_cast<int>(std::min<long long>(first, kElementLimit));
}

int ElementEnd(const BlankModel& model, int blank) {
  const long long end =
      static_cast<long long>(FirstElement(model, blank)) + ElementCount(model, blank);
  return static_cast<int>(std::min<long long>(end, model.Lists[kElementKinds].size()));
}

int ElementCount(const BlankModel& model, int blank) {
  return std::max(0, BlankValue(model, kElementCounts, blank));
}

BlankElement ElementAt(const BlankModel& model, int element) {
  return BlankElement{
      BlankValue(model, kElementKinds, element), BlankValue(model, kElementTop, element),
      BlankValue(model, kElementLeft, element), BlankValue(model, kElementBottom, element),
      BlankValue(model, kElementRight, element)};
}

void SetElement(BlankModel& model, int element, const BlankElement& value) {
  if (!IsElement(model, element)) return;
  model.Lists[kElementKinds][element] = Text(value.Kind);
  model.Lists[kElementTop][element] = Text(value.Top);
  model.Lists[kElementLeft][element] = Text(value.Left);
  model.Lists[kElementBottom][element] = Text(value.Bottom);
  model.Lists[kElementRight][element] = Text(value.Right);
}

TRect DefaultElementSize(int kind) {
  if (kind >= 2 && kind <= 7) return TRect{0, 0, 250, 45};
  if (kind == kKindSignDynamics || kind == kKindAspectDynamics) return TRect{0, 0, 91, 112};
  if (kind >= 12 && kind <= 17) return TRect{0, 0, 110, 112};
  return TRect{0, 0, 100, 100};
}

int AddElement(BlankModel& model, int blank, int kind, int x, int y) {
  if (!IsBlank(model, blank) || kind < 0 || IsGroupKind(kind) ||
      ElementCount(model, blank) >= kElementLimit)
    return -1;
  const int at = ElementEnd(model, blank);
  for (BlankList list : kPerElement) {
    LineList& lines = model.Lists[list];
    lines.insert(lines.begin() + std::min<std::size_t>(at, lines.size()), "0");
  }
  model.Lists[kElementCounts][blank] = Text(ElementCount(model, blank) + 1);
  const TRect size = DefaultElementSize(kind);
  SetElement(model, at, BlankElement{kind, y, x, y + size.Bottom, x + size.Right});
  return at;
}

bool DeleteElement(BlankModel& model, int blank, int element) {
  if (!IsElementOf(model, blank, element)) return false;
  for (BlankList list : kPerElement) {
    LineList& lines = model.Lists[list];
    if (element < static_cast<int>(lines.size())) lines.erase(lines.begin() + element);
  }
  model.Lists[kElementCounts][blank] = Text(ElementCount(model, blank) - 1);
  return true;
}

void AddBlank(BlankModel& model, const std::string& name) {
  model.Lists[kBlankNames].push_back(name);
  model.Lists[kElementCounts].push_back("0");
  model.Lists[kOrientations].push_back("1");
  model.Lists[kBackgrounds].push_back("1");
  model.Lists[kPageWidths].push_back("210");
  model.Lists[kPageHeights].push_back("297");
}

bool DeleteBlank(BlankModel& model, int blank) {
  if (!IsBlank(model, blank)) return false;
  const int first = FirstElement(model, blank);
  const int count = ElementCount(model, blank);
  for (BlankList list : kPerElement) {
    LineList& lines = model.Lists[list];
    const int from = std::min<int>(first, static_cast<int>(lines.size()));
    const int to =
        static_cast<int>(std::min<long long>(static_cast<long long>(first) + count, lines.size()));
    lines.erase(lines.begin() + from, lines.begin() + to);
  }
  for (BlankList list : kPerBlank) {
    LineList& lines = model.Lists[list];
    if (blank < static_cast<int>(lines.size())) lines.erase(lines.begin() + blank);
  }
  model.Lists[kBlankNames].erase(model.Lists[kBlankNames].begin() + blank);
  return true;
}

bool ToggleOrientation(BlankModel& model, int blank) {
  if (!IsBlank(model, blank)) return false;
  const int portrait = BlankValue(model, kOrientations, blank) == 1;
  model.Lists[kOrientations][blank] = portrait ? "0" : "1";
  std::swap(model.Lists[kPageWidths][blank], model.Lists[kPageHeights][blank]);
  return true;
}

bool SetBackground(BlankModel& model, int blank, int mode) {
  if (!IsBlank(model, blank) || mode < 0 || mode > 2) return false;
  model.Lists[kBackgrounds][blank] = Text(mode);
  return true;
}

GripHit HitTest(const BlankModel& model, int blank, int x, int y) {
  if (!IsBlank(model, blank)) return {};
  for (int e = FirstElement(model, blank); e < ElementEnd(model, blank); ++e) {
    const BlankElement r = ElementAt(model, e);
    const bool nearLeft = std::abs(x - r.Left) <= kGripTolerance;
    const bool nearRight = std::abs(x - r.Right) <= kGripTolerance;
    const bool nearTop = std::abs(y - r.Top) <= kGripTolerance;
    const bool nearBottom = std::abs(y - r.Bottom) <= kGripTolerance;
    const bool withinX = x >= std::min(r.Left, r.Right) && x <= std::max(r.Left, r.Right);
    const bool withinY = y >= std::min(r.Top, r.Bottom) && y <= std::max(r.Top, r.Bottom);
    GripHit hit{e, ElementGrip::None, nearLeft, nearTop};
    if ((nearLeft || nearRight) && (nearTop || nearBottom))
      hit.Grip = ElementGrip::Corner;
    else if ((nearLeft || nearRight) && withinY)
      hit.Grip = ElementGrip::Vertical;
    else if ((nearTop || nearBottom) && withinX)
      hit.Grip = ElementGrip::Horizontal;
    else if (withinX && withinY)
      hit.Grip = ElementGrip::Inside;
    if (hit.Grip != ElementGrip::None) return hit;
  }
  return {};
}

void DragElement(BlankModel& model, const GripHit& hit, int dx, int dy) {
  if (!IsElement(model, hit.Element)) return;
  BlankElement r = ElementAt(model, hit.Element);
  const bool moveX = hit.Grip == ElementGrip::Vertical || hit.Grip == ElementGrip::Corner;
  const bool moveY = hit.Grip == ElementGrip::Horizontal || hit.Grip == ElementGrip::Corner;
  if (hit.Grip == ElementGrip::Inside) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
  }
  if (moveX) (hit.LeftEdge ? r.Left : r.Right) += dx;
  if (moveY) (hit.TopEdge ? r.Top : r.Bottom) += dy;
  SetElement(model, hit.Element, r);
}

TRect ScreenPage(int clientWidth, int clientHeight, int panelRight, int pageWidth, int pageHeight) {
  const float ratio =
      static_cast<float>(std::max(pageHeight, 1)) / static_cast<float>(std::max(pageWidth, 1));
  const int room = std::max(clientWidth - panelRight, 1);
  int height = std::max(clientHeight, 1);
  int width = static_cast<int>(std::lround(height / ratio));
  if (width > room) {
    width = room;
    height = static_cast<int>(std::lround(width * ratio));
  }
  return TRect{panelRight, 0, panelRight + std::max(width, 1), std::max(height, 1)};
}

double PrinterScale(const TRect& screenPage, int printerWidth, int printerHeight) {
  const double down = static_cast<double>(printerHeight) / std::max(screenPage.Height(), 1);
  const double across = static_cast<double>(printerWidth) / std::max(screenPage.Width(), 1);
  return std::min(down, across);
}

TRect PrinterRect(const BlankElement& element, const TRect& screenPage, double scale) {
  auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  return TRect{at(element.Left - screenPage.Left), at(element.Top),
               at(element.Right - screenPage.Left), at(element.Bottom)};
}

ElementTree ParseElementTree(const LineList& lines) {
  ElementTree tree;
  for (const std::string& line : lines) {
    const std::size_t depth = line.find_first_not_of('\t');
    if (depth == std::string::npos) continue;  // an empty line is no node
    tree.Depths.push_back(static_cast<int>(depth));
    tree.Captions.push_back(line.substr(depth));
  }
  return tree;
}

LineList ElementTreeLines(const ElementTree& tree) {
  LineList lines;
  for (int n = 0; n < tree.Count(); ++n)
    lines.push_back(std::string(tree.Depths[n], '\t') + tree.Captions[n]);
  return lines;
}

bool IsSoundName(const std::string& text) {
  if (text.find_first_not_of(' ') == std::string::npos) return false;
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

TreeRefusal AddHeading(ElementTree& tree, const std::string& text) {
  if (!IsSoundName(text)) return TreeRefusal::BadText;
  if (tree.Count() <= kHeadingParent) return TreeRefusal::NotAHeading;
  tree.Depths.push_back(tree.Depths[kHeadingParent] + 1);
  tree.Captions.push_back(text);
  return TreeRefusal::None;
}

TreeRefusal DeleteHeading(ElementTree& tree, BlankModel& model, int node, int* holder) {
  if (node < kFirstHeading || node >= tree.Count()) return TreeRefusal::NotAHeading;
  LineList& kinds = model.Lists[kElementKinds];
  for (int b = 0; b < BlankCount(model); ++b) {
    for (int e = FirstElement(model, b); e < ElementEnd(model, b); ++e)
      if (BlankValue(model, kElementKinds, e) == node) {
        if (holder != nullptr) *holder = b;
        return TreeRefusal::InUse;
      }
  }
  tree.Depths.erase(tree.Depths.begin() + node);
  tree.Captions.erase(tree.Captions.begin() + node);
  for (std::string& kind : kinds) {
    int value = 0;
    if (IsInteger(kind, value) && value > node) kind = Text(value - 1);
  }
  return TreeRefusal::None;
}
