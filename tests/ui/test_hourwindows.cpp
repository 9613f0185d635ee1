// The planetary-hours and lunar-days windows inside the started program:
// the line they mark against the status bar and its hints, read from the
// pixels where the layout puts each line; the tables kept but unmarked above
// latitude 65 North and the menu's refusal there; the export and a printed
// page drawing the same table scaled to their targets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "judgement/hourtables.h"
#include "judgement/ui/hourwindows.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/canvas.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

// The layout of both tables: lines 25 pixels apart from y 10, the second
// column from x 250.
constexpr int kTop = 10, kPitch = 25, kSecondColumn = 250, kFirstColumn = 25;

bool Red(QRgb p) { return qRed(p) > 160 && qGreen(p) < 90 && qBlue(p) < 90; }
bool Coloured(QRgb p) { return qRed(p) != qGreen(p) || qGreen(p) != qBlue(p); }

// The box holding every red pixel of an image (empty when there is none).
QRect RedBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Red(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

// The band of line `index` (0-based within its column) of a column, in the
// window's layout scaled by `scale` and moved by `origin`.
QRect LineBand(int index, bool secondColumn, int layoutWidth, double scale, QPoint origin = {}) {
  const int left = secondColumn ? kSecondColumn : kFirstColumn;
  const int right = secondColumn ? layoutWidth : kSecondColumn;
  return QRect(QPoint(static_cast<int>(left * scale),
                      static_cast<int>((kTop + kPitch * index) * scale)),
               QPoint(static_cast<int>(right * scale),
                      static_cast<int>((kTop + kPitch * (index + 1)) * scale)))
      .translated(origin);
}

class HourWindows : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    CreateWindows();
    chart_->FormShow();
    // London, Sunday 2 January 2000, 14:30 GMT: day hour 9 of the Sun's day
    SetPlace(51.5074, -0.1278);
    SetMoment(2, 1, 2000, 14.5);
  }

  void SetPlace(double latitude, double longitude) {
    ChartRecord& c = chart_->Chart;
    c.GeoLatitude = static_cast<float>(latitude);
    c.GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(latitude));
    c.GeoLongitude = static_cast<float>(longitude);
    c.TimeZone = 0;
  }
  void SetMoment(int day, int month, int year, float hoursUt) {
    ChartRecord& c = chart_->Chart;
    c.UniversalTime = hoursUt;
    c.JulianDay0h = JulianDay(day, month, year, 0);
    c.JulianDayUT = JulianDay(day, month, year, hoursUt);
    form_->ApplyChartTime();
  }
  std::string Panel(int i) const { return Utf8ToCp1251(form_->Panel(i)->text().toStdString()); }
  // The text of a panel after its label and ": ".
  std::string PanelValue(int i, int entry) const {
    const std::string prefix = form_->UiText.Entry(entry) + ": ";
    const std::string text = Panel(i);
    EXPECT_EQ(text.rfind(prefix, 0), 0u) << text;
    return text.substr(prefix.size());
  }
};

TEST_F(HourWindows, PlanetaryHourWindowMarksTheHourOfTheStatusBarThroughTheDay) {
  TPlanetHour& hours = *windows_->PlanetHour;
  form_->Button("SpeedButton11")->click();
  ASSERT_TRUE(hours.isVisible());
  EXPECT_EQ(form_->ActiveToolWindowCode, kCodePlanetaryHours);
  // Every three hours of a day and a night, the window follows the chart.
  for (float ut = 0.75f; ut < 24.0f; ut += 3.0f) {
    SetMoment(2, 1, 2000, ut);
    const int n = hours.CurrentHour;
    ASSERT_GE(n, 1) << ut;
    ASSERT_LE(n, 24) << ut;
    const std::vector<TableCell> cells = hours.Cells();
    ASSERT_EQ(cells.size(), 48u);
    // the red line is the hour's line, and its ruler the status bar's
    const QRect red = RedBox(hours.WindowPicture());
    ASSERT_FALSE(red.isEmpty()) << ut;
    EXPECT_TRUE(LineBand((n - 1) % 12, n > 12, kPlanetHourLayoutWidth, 1.0).contains(red))
        << ut << " hour " << n << " red box " << red.top() << ".." << red.bottom();
    const std::string label = cells[2 * (n - 1)].Text;
    const std::string ruler = PanelValue(2, 349);
    EXPECT_EQ(label.substr(label.size() - ruler.size()), ruler) << label;
    // the day's ruler rules hour 1; the panel's hint ends the hour where the next begins
    EXPECT_EQ(cells[0].Text.substr(4), PanelValue(4, 351));
    EXPECT_EQ(form_->StatusBarHint(400), form_->UiText.Entry(435) + cells[2 * (n % 24) + 1].Text);
  }
  // before sunrise the chart belongs to the Saturday's night (1 January 2000)
  SetMoment(2, 1, 2000, 3.0f);
  EXPECT_GT(hours.CurrentHour, 12);
  EXPECT_EQ(PanelValue(4, 351), chart_->Chart.RulerNames[7]);
  hours.close();
}

TEST_F(HourWindows, LunarDayWindowMarksTheDayOfTheStatusBarAndItsHintTheNextStart) {
  TMoonDay& days = *windows_->MoonDay;
  form_->Item("N138")->trigger();
  ASSERT_TRUE(days.isVisible());
  EXPECT_EQ(form_->ActiveToolWindowCode, kCodeLunarDays);
  // A zone of three hours East: the table's times are local.
  chart_->Chart.TimeZone = 3;
  for (int date = 7; date <= 31; date += 4) {
    SetMoment(date, 1, 2000, 12.0f);
    const int n = days.CurrentDay;
    ASSERT_EQ(std::to_string(n), PanelValue(3, 350)) << date;
    const std::vector<TableCell> cells = days.Cells();
    ASSERT_EQ(static_cast<int>(cells.size()), days.Table.LunarDayCount);
    const QRect red = RedBox(days.WindowPicture());
    ASSERT_FALSE(red.isEmpty()) << date;
    EXPECT_TRUE(LineBand((n - 1) % 15, n > 15, kMoonDayLayoutWidth, 1.0).contains(red))
        << date << " day " << n << " red box " << red.top() << ".." << red.bottom();
    // the hint names the start of the next day, the next line's date and time
    // (the new moon after the last day)
    const DateTimeToSecond next = LocalMomentOf(days.Table.LunarDayStart[n], 3);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d.%d.%d-%d:%d:%d", next.Day, next.Month, next.Year,
                  next.Hour, next.Minute, next.Second);
    EXPECT_EQ(form_->StatusBarHint(500), form_->UiText.Entry(435) + expected);
    if (n < days.Table.LunarDayCount) {
      char line[64];
      std::snprintf(line, sizeof line, "%02d     %02d.%02d.%d     %02d:%02d:%02d", n + 1, next.Day,
                    next.Month, next.Year, next.Hour, next.Minute, next.Second);
      EXPECT_EQ(cells[n].Text, line);
    }
  }
  // The first day begins at the new moon of 6 January 2000, 18:14 UT, 21:14 local.
  EXPECT_EQ(days.Cells()[0].Text.substr(0, 19), "01     06.01.2000  ");
  // Every line against the toolkit's own calendar, in zones that move
  // starts across local midnight (and into the next month or back).
  for (float zone : {10.0f, -7.0f}) {
    chart_->Chart.TimeZone = zone;
    SetMoment(20, 1, 2000, 12.0f);
    const std::vector<TableCell> cells = days.Cells();
    ASSERT_EQ(static_cast<int>(cells.size()), days.Table.LunarDayCount);
    for (int n = 1; n <= days.Table.LunarDayCount; ++n) {
      const double local = UniversalJulianDay(days.Table.LunarDayStart[n - 1]) + zone / 24.0;
      const double midnight = std::floor(local + 0.5);
      const QDateTime start =
          QDateTime(QDate::fromJulianDay(static_cast<qint64>(midnight)), QTime(0, 0), Qt::UTC)
              .addSecs(std::llround((local + 0.5 - midnight) * 86400.0));
      const std::string expected = (n < 10 ? "0" : "") + std::to_string(n) + "     " +
                                   start.toString("dd.MM.yyyy     HH:mm:ss").toStdString();
      EXPECT_EQ(cells[n - 1].Text, expected) << "zone " << zone << " day " << n;
    }
  }
  days.close();
}

TEST_F(HourWindows, AboveSixtyFiveNorthTheTablesStayButMarkNothingAndTheMenuRefuses) {
  TPlanetHour& hours = *windows_->PlanetHour;
  TMoonDay& days = *windows_->MoonDay;
  form_->Item("N137")->trigger();
  form_->Item("N138")->trigger();
  ASSERT_TRUE(hours.isVisible() && days.isVisible());
  const std::vector<TableCell> hourCells = hours.Cells();
  const std::vector<TableCell> dayCells = days.Cells();
  // The chart moves North of 65 degrees: no hour or lunar day, a dash in the
  // panels, the tables kept without a red line.
  SetPlace(70.0, 25.0);
  SetMoment(2, 1, 2000, 14.5f);
  const std::string dash = Utf8ToCp1251("\u2014");
  EXPECT_EQ(PanelValue(2, 349), dash);
  EXPECT_EQ(PanelValue(3, 350), dash);
  EXPECT_EQ(hours.CurrentHour, 0);
  EXPECT_EQ(days.CurrentDay, 0);
  EXPECT_TRUE(RedBox(hours.WindowPicture()).isEmpty());
  EXPECT_TRUE(RedBox(days.WindowPicture()).isEmpty());
  ASSERT_EQ(hours.Cells().size(), hourCells.size());
  for (std::size_t i = 0; i < hourCells.size(); ++i) {
    EXPECT_EQ(hours.Cells()[i].Text, hourCells[i].Text);
    EXPECT_FALSE(hours.Cells()[i].Current);
  }
  ASSERT_EQ(days.Cells().size(), dayCells.size());
  for (std::size_t i = 0; i < dayCells.size(); ++i)
    EXPECT_EQ(days.Cells()[i].Text, dayCells[i].Text);
  hours.close();
  days.close();
  // Exactly 65 degrees opens the windows; a hundredth more is refused.
  messages_.clear();
  SetPlace(65.01, 25.0);
  SetMoment(21, 3, 2000, 12.0f);
  form_->Item("N137")->trigger();
  form_->Item("N138")->trigger();
  EXPECT_FALSE(hours.isVisible());
  EXPECT_FALSE(days.isVisible());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], form_->UiText.Entry(434));
  EXPECT_EQ(messages_[1], form_->UiText.Entry(436));
  SetPlace(65.0, 25.0);
  SetMoment(21, 3, 2000, 12.0f);
  form_->Item("N137")->trigger();
  EXPECT_TRUE(hours.isVisible());
  EXPECT_GE(hours.CurrentHour, 1);
  EXPECT_FALSE(RedBox(hours.WindowPicture()).isEmpty());
  hours.close();
}

TEST_F(HourWindows, ExportAndPrintedPageDrawTheTableScaledToTheirTargets) {
  TPlanetHour& hours = *windows_->PlanetHour;
  form_->Item("N137")->trigger();
  ASSERT_TRUE(hours.isVisible());
  chart_->FormActivate();  // the chart activated later: the tool window shown is exported
  const QImage own = hours.WindowPicture().copy();
  const int n = hours.CurrentHour;
  ASSERT_GE(n, 1);

  // the clipboard: 1000 x 1000, white, the layout scaled by 1000 / 470
  form_->Item("N23")->trigger();
  EXPECT_EQ(form_->ExportWindowCode, kCodePlanetaryHours);
  const QImage copied = ClipboardImage();
  ASSERT_EQ(copied.size(), QSize(kClipboardExportSide, kClipboardExportSide));
  const double scale =
      std::min(static_cast<double>(kClipboardExportSide) / kPlanetHourLayoutWidth,
               static_cast<double>(kClipboardExportSide) / kPlanetHourLayoutHeight);
  const QRect red = RedBox(copied);
  ASSERT_FALSE(red.isEmpty());
  EXPECT_TRUE(LineBand((n - 1) % 12, n > 12, kPlanetHourLayoutWidth, scale).contains(red));
  // the text grew with the picture: the red line spans most of its band
  EXPECT_GT(red.width(), 300);
  EXPECT_EQ(copied.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
  // the window has its own target, colours and picture back
  EXPECT_EQ(hours.Target().Purpose, DrawPurpose::Window);
  EXPECT_EQ(hours.Target().ColorMode, kColorModeFull);
  EXPECT_EQ(hours.WindowPicture(), own);

  // monochrome: only greys, the hour's line in bold
  const QImage mono = hours.Picture(600, 400, kColorModeMonochrome);
  for (int y = 0; y < mono.height(); ++y)
    for (int x = 0; x < mono.width(); ++x)
      ASSERT_FALSE(Coloured(mono.pixel(x, y))) << x << "," << y;

  // a rectangle of a printed page at 600 pixels per inch: the table inside
  // the rectangle, scaled to it, nothing drawn outside it
  QImage page(2400, 1800, QImage::Format_RGB32);
  page.fill(Qt::white);
  const int dotsPerMetre = static_cast<int>(std::lround(600 / 0.0254));
  page.setDotsPerMeterX(dotsPerMetre);
  page.setDotsPerMeterY(dotsPerMetre);
  const QRect area(300, 200, 1410, 930);
  {
    QPainter painter(&page);
    TQtCanvas canvas(&painter, TRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    ASSERT_EQ(canvas.PixelsPerInch(), 600);
    DrawOnto(hours, DrawTarget{&canvas, TRect{0, 0, area.width(), area.height()}, kColorModePlain,
                               DrawPurpose::Print});
  }
  const double pageScale = std::min(static_cast<double>(area.width()) / kPlanetHourLayoutWidth,
                                    static_cast<double>(area.height()) / kPlanetHourLayoutHeight);
  const QRect printedRed = RedBox(page);
  ASSERT_FALSE(printedRed.isEmpty());
  EXPECT_TRUE(LineBand((n - 1) % 12, n > 12, kPlanetHourLayoutWidth, pageScale, area.topLeft())
                  .contains(printedRed));
  EXPECT_GT(printedRed.height(), 25);  // a 600-dpi line, not a screen-sized one
  int outside = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (!area.contains(x, y) && (page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFFu) ++outside;
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(hours.Target().Purpose, DrawPurpose::Window);
  hours.close();
}

}  // namespace
