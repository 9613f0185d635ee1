// Editing and measuring blanks without a window: the checks that keep the
// ten lists of the blank model in step, the designer's operations on them
// (blanks, elements, orientation, background), the hit test of the mouse,
// the page geometry on the screen and on paper, and the element tree whose
// node numbers are the element kinds. Every operation checks its indices and
// changes nothing when it refuses.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics.h"
#include "printing/blankmodel.h"

// Element kinds (node numbers of the element tree).
inline constexpr int kKindDataBlock = 2;
inline constexpr int kKindWheel = 3;
inline constexpr int kKindHouseSystem = 4;
inline constexpr int kKindLunarDayLine = 5;
inline constexpr int kKindDayRulerLine = 6;
inline constexpr int kKindHourRulerLine = 7;
inline constexpr int kKindSignDynamics = 9;
inline constexpr int kKindAspectDynamics = 10;
inline constexpr int kKindPositions = 12;
inline constexpr int kKindAspectList = 13;
inline constexpr int kKindPlanetParameters = 14;
inline constexpr int kKindDignities = 15;
inline constexpr int kKindPlanetaryHours = 16;
inline constexpr int kKindLunarDays = 17;
inline constexpr int kKindLocalSpace = 18;
inline constexpr int kKindRadicality = 19;
inline constexpr int kKindCompletion = 20;
inline constexpr int kHeadingParent = 21;  // the user headings are its children
inline constexpr int kFirstHeading = 22;

// The group nodes of the tree, which are never placed on a page.
bool IsGroupKind(int kind);

// The model's lists are in step: the five per-blank lists have a line per
// blank name, the five per-element lists as many lines as the counts add up
// to, every value is a decimal integer, counts are not negative and page
// sizes are positive. Otherwise List names the first list that does not fit
// and Line the first line at fault (-1 when its length is wrong; Have and
// Need then give its length and the length it must have).
struct BlankCheck {
  bool Ok = true;
  int List = -1;  // BlankList
  int Line = -1;  // 0-based line, -1 for a wrong length
  int Have = 0;   // lines
  int Need = 0;   // lines
};
BlankCheck CheckBlankModel(const BlankModel& model);

int BlankCount(const BlankModel& model);
// The integer of a line; 0 for a line that is missing or not a number.
int BlankValue(const BlankModel& model, BlankList list, int line);
// The first element line of a blank, its number of elements, and the line
// after its last element that the element lists hold.
int FirstElement(const BlankModel& model, int blank);
int ElementCount(const BlankModel& model, int blank);
int ElementEnd(const BlankModel& model, int blank);
// No element line lies beyond this.
inline constexpr int kElementLimit = 1 << 30;

struct BlankElement {
  int Kind = 0;
  int Top = 0;     // designer pixels
  int Left = 0;    // designer pixels, from the left of the designer's client area
  int Bottom = 0;  // designer pixels
  int Right = 0;   // designer pixels
};
BlankElement ElementAt(const BlankModel& model, int element);
void SetElement(BlankModel& model, int element, const BlankElement& value);

// Size of a newly dropped element of a kind: Right is its width, Bottom its
// height.
TRect DefaultElementSize(int kind);

// Appends an element of kind with its top-left corner at (x, y) to the
// blank's elements; its line number, or -1 when the blank does not exist or
// the kind is a group node.
int AddElement(BlankModel& model, int blank, int kind, int x, int y);
// Removes an element of the blank; false when it is not one of the blank's.
bool DeleteElement(BlankModel& model, int blank, int element);
// Appends a portrait A4 blank with no elements, background mode 1.
void AddBlank(BlankModel& model, const std::string& name);
// Removes a blank with its elements; false when it does not exist.
bool DeleteBlank(BlankModel& model, int blank);
// Turns the page between portrait and landscape: the orientation flips and
// width and height change places.
bool ToggleOrientation(BlankModel& model, int blank);
// Background mode 0, 1 or 2 of the blank's pictures.
bool SetBackground(BlankModel& model, int blank, int mode);

// Where the mouse is over an element, with a tolerance of one pixel.
enum class ElementGrip {
  None,
  Inside,      // moves the whole element
  Vertical,    // the left or right edge: horizontal resize
  Horizontal,  // the top or bottom edge: vertical resize
  Corner,      // both edges of a corner
};
struct GripHit {
  int Element = -1;  // element line, -1 none
  ElementGrip Grip = ElementGrip::None;
  bool LeftEdge = false;  // the grabbed vertical edge is the left one
  bool TopEdge = false;   // the grabbed horizontal edge is the top one
};
// The first of the blank's elements, in list order, under (x, y).
GripHit HitTest(const BlankModel& model, int blank, int x, int y);
// Moves the grabbed element, edge or corner by (dx, dy).
void DragElement(BlankModel& model, const GripHit& hit, int dx, int dy);

// The page on the designer's client area of the given size: from panelRight
// (the tree panel's width + 2) to the right, as high as the client area and
// as wide as the page's proportions give, narrowed to the room there is.
TRect ScreenPage(int clientWidth, int clientHeight, int panelRight, int pageWidth, int pageHeight);
// Printer pixels per designer pixel: the smaller of the two ratios of the
// printer's page to the screen page, so that the whole page fits the paper
// whatever its proportions.
double PrinterScale(const TRect& screenPage, int printerWidth, int printerHeight);
// An element's rectangle on the printer's page.
TRect PrinterRect(const BlankElement& element, const TRect& screenPage, double scale);

// The element tree: one node per line in display order, each with its depth.
struct ElementTree {
  std::vector<int> Depths;
  std::vector<std::string> Captions;  // code page 1251
  int Count() const { return static_cast<int>(Captions.size()); }
};
// Lines of the tree file: one TAB per level before the caption.
ElementTree ParseElementTree(const LineList& lines);
LineList ElementTreeLines(const ElementTree& tree);

enum class TreeRefusal {
  None,
  BadText,      // empty, or a TAB, line break or other control character
  NotAHeading,  // not a user heading (or the tree has no heading node)
  InUse,        // the heading is placed on a blank
};
// True when text can be a caption or a blank name: not empty, no control
// characters.
bool IsSoundName(const std::string& text);
// Appends a heading as the last child of the heading node.
TreeRefusal AddHeading(ElementTree& tree, const std::string& text);
// Deletes a heading that no blank holds; the elements of the headings after
// it take its place's kind, so each keeps its heading text. The blank that
// holds it goes into *holder when refused for that reason.
TreeRefusal DeleteHeading(ElementTree& tree, BlankModel& model, int node, int* holder = nullptr);
