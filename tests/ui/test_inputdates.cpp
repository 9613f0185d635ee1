// The data-input dialog, the town search and the add-town dialog, headless,
// in a copy of the factory data tree: dates, times, zones and places typed
// into the controls reach the chart as the moment an astrologer expects; the
// search fills coordinates and the zone of the typed moment from each towns
// file; a new town lands in the user's towns file.
//
// Expected Julian days: Meeus's calendar algorithm (Astronomical Algorithms,
// ch. 7) plus the chart time scale's Delta T (the engine's, checked by its own
// tests). Zones: Moscow kept 3 h standard time
// and summer time (+1 h) from late March to late September 1990; New York
// keeps 5 h West of Greenwich as standard time and 4 h in its summer time
// (in 1976 from 25 April to 31 October).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "input/ui/inputdates.h"
#include "input/ui/maskedfields.h"
#include "input/ui/towndb.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/finddbfile.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "tests/ui/windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr double kJulianDayTolDays = 1e-7;  // days (under 10 ms): float hours inside JulianDay
constexpr double kHoursTol = 1e-5;          // hours: single-precision chart fields
constexpr double kDegreesTol = 1e-5;        // degrees: single-precision chart fields

// A universal Julian day carried onto the chart's time scale with the
// engine's Delta T (whose values the engine's own tests check).
double OnChartScale(double universalJd) {
  return universalJd + DeltaTSeconds(universalJd) / 86400.0;
}

void Type(QLineEdit* edit, const char* utf8) { edit->setText(QString::fromUtf8(utf8)); }
std::string Shown(const QLineEdit* edit) { return edit->displayText().toStdString(); }

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class InputDates : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    CreateWindows();
    windows_->PictureRadixChart->FormShow();
    dialog_ = windows_->InputDates;
    ASSERT_NE(dialog_, nullptr);
    dialog_->FillFromChart(Chart());
  }
  ChartRecord& Chart() { return windows_->PictureRadixChart->Chart; }
  std::string Entry(int n) {
    LineList lines;
    ReadLines((folder_ / "Options/LangH.lan").string(), lines);
    return lines.at(static_cast<std::size_t>(n));
  }
  std::string EntryUtf8(int n) { return Cp1251ToUtf8(Entry(n)); }

  // Types a moment: date, local time, zone (hours, West when west).
  void TypeMoment(const char* day, const char* month, const char* year, const char* time,
                  const char* zone, bool zoneWest) {
    Type(dialog_->MaskEdit1, day);
    Type(dialog_->MaskEdit2, month);
    Type(dialog_->MaskEdit3, year);
    Type(dialog_->MaskEdit4, time);
    Type(dialog_->MaskEdit7, zone);
    (zoneWest ? dialog_->RadioButton10 : dialog_->RadioButton9)->setChecked(true);
    dialog_->RadioButton8->setChecked(true);
  }
  void TypePlace(const char* latitude, bool south, const char* longitude, bool west) {
    Type(dialog_->MaskEdit5, latitude);
    (south ? dialog_->RadioButton2 : dialog_->RadioButton1)->setChecked(true);
    Type(dialog_->MaskEdit6, longitude);
    (west ? dialog_->RadioButton4 : dialog_->RadioButton3)->setChecked(true);
  }
  // Presses OK and, when the dialog accepted, writes the chart back as the
  // main window's command does after the modal result.
  bool PressOk() {
    dialog_->setResult(0);
    dialog_->BitBtn1Click();
    if (dialog_->result() != mrOk) return false;
    dialog_->ApplyToChart();
    return true;
  }
  // Row of the grid of the last search whose name starts with name.
  int RowOf(const std::string& utf8Name) {
    const auto& rows = dialog_->LastSearch.Rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (Cp1251ToUtf8(rows[i].Name).rfind(utf8Name, 0) == 0) return static_cast<int>(i);
    return -1;
  }

  TInputDates* dialog_ = nullptr;
};

TEST_F(InputDates, CreatedInOrderWithTheLanguageFilesCaptions) {
  EXPECT_EQ(TInputDates::Instance(), dialog_);
  ASSERT_NE(windows_->TownDB, nullptr);
  EXPECT_EQ(TTownDB::Instance(), windows_->TownDB);
  // created after the name dialog, the add-town dialog after it
  const QObjectList& children = windows_->BaseForm->children();
  const auto at = [&children](QObject* o) { return children.indexOf(o); };
  EXPECT_LT(at(windows_->InputNameBD), at(dialog_));
  EXPECT_LT(at(dialog_), at(windows_->TownDB));

  TBaseForm& form = *windows_->BaseForm;
  EXPECT_TRUE(form.Item("N85")->isEnabled());
  EXPECT_EQ(dialog_->windowTitle(), form.Item("N85")->text());
  EXPECT_EQ(dialog_->BitBtn1->text().toStdString(), EntryUtf8(259));
  EXPECT_EQ(dialog_->BitBtn2->text().toStdString(), EntryUtf8(260));
  EXPECT_EQ(dialog_->Button1->text().toStdString(), EntryUtf8(341));
  EXPECT_EQ(dialog_->RadioButton7->text().toStdString(), EntryUtf8(329));
  EXPECT_EQ(dialog_->RadioButton2->text().toStdString(), EntryUtf8(335));
  EXPECT_EQ(dialog_->RadioButton9->text().toStdString(), EntryUtf8(337));
  EXPECT_EQ(dialog_->RadioButton10->text().toStdString(), EntryUtf8(336));
  EXPECT_EQ(dialog_->Labels[3]->text().toStdString(), EntryUtf8(328));
  EXPECT_EQ(dialog_->Labels[6]->text().toStdString(), EntryUtf8(339));
  EXPECT_EQ(dialog_->ComboBox1->count(), 76);
  EXPECT_FALSE(dialog_->ComboBox1->isVisibleTo(dialog_));
  // the time field takes its mask from the language file: blanks keep their places
  Type(dialog_->MaskEdit4, "9");
  EXPECT_EQ(Shown(dialog_->MaskEdit4), "9_ч__м__с");
  EXPECT_EQ(MaskedText(*dialog_->MaskEdit4), Cp("9 ч  м  с"));

  TTownDB& townDb = *windows_->TownDB;
  EXPECT_EQ(townDb.windowTitle().toStdString(), EntryUtf8(423));
  EXPECT_EQ(townDb.BitBtn1->text().toStdString(), EntryUtf8(308));
  EXPECT_EQ(townDb.Label9->text().toStdString(), EntryUtf8(429));
  EXPECT_EQ(townDb.ComboBox1->count(), 77);
  EXPECT_TRUE(townDb.RadioButton4->isChecked());  // West by default
  Type(townDb.MaskEdit3, "5");
  EXPECT_EQ(Shown(townDb.MaskEdit3), "5_ч__м");
}

TEST_F(InputDates, MoscowSummerNoonIsEightUniversal) {
  Type(dialog_->Edit1, "Вопрос о работе");
  Type(dialog_->Edit2, "Москва");
  dialog_->Memo1->setPlainText(QString::fromUtf8("Получу ли я место?"));
  TypeMoment("15", "07", "1990", "12ч00м00с", "04ч00м00с", false);
  TypePlace("55:45:00", false, "037:37:00", false);
  ASSERT_TRUE(PressOk()) << (messages_.empty() ? "" : messages_[0]);
  const ChartRecord& c = Chart();
  EXPECT_NEAR(c.UniversalTime, 8.0, kHoursTol);
  EXPECT_NEAR(c.TimeZone, 4.0, kHoursTol);
  EXPECT_NEAR(c.JulianDayUT, OnChartScale(2448087.5 + 8.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(c.JulianDay0h, OnChartScale(2448087.5), kJulianDayTolDays);
  EXPECT_NEAR(c.UndoJulianDayUT, OnChartScale(2448087.5 + 8.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(c.GeoLatitude, 55.75, kDegreesTol);
  EXPECT_NEAR(c.GeocentricLatitude, 55.57096181498781, kDegreesTol);
  EXPECT_NEAR(c.GeoLongitude, 37.0 + 37.0 / 60.0, kDegreesTol);
  EXPECT_EQ(c.ChartName, Cp("Вопрос о работе"));
  EXPECT_EQ(c.PlaceName, Cp("Москва"));
  EXPECT_EQ(c.ChartComment, Cp("Получу ли я место?"));
  // the status bar follows: the name, and the local moment
  TBaseForm& form = *windows_->BaseForm;
  EXPECT_EQ(form.Panel(0)->text().toStdString(), "Вопрос о работе");
  EXPECT_EQ(form.Panel(5)->text().toStdString(), "15.07.1990-12:00:00");
  EXPECT_FALSE(form.Item("N18")->isEnabled());
  // shown again, the chart reads back as typed
  dialog_->FillFromChart(c);
  EXPECT_EQ(Shown(dialog_->MaskEdit4), "12ч00м00с");
  EXPECT_EQ(Shown(dialog_->MaskEdit6), "037:37:00");
  EXPECT_EQ(Shown(dialog_->MaskEdit3), "1990");
}

TEST_F(InputDates, NewYorkDaylightNoonIsSixteenUniversal) {
  TypeMoment("04", "07", "1976", "12ч00м00с", "04ч00м00с", true);
  TypePlace("40:43:00", false, "074:00:00", true);
  ASSERT_TRUE(PressOk());
  const ChartRecord& c = Chart();
  EXPECT_NEAR(c.UniversalTime, 16.0, kHoursTol);
  EXPECT_NEAR(c.TimeZone, -4.0, kHoursTol);
  EXPECT_NEAR(c.JulianDayUT, OnChartScale(2442963.5 + 16.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(c.JulianDay0h, OnChartScale(2442963.5), kJulianDayTolDays);
  EXPECT_NEAR(c.GeoLongitude, -74.0, kDegreesTol);
  EXPECT_NEAR(c.GeocentricLatitude, 40.52638576522471, kDegreesTol);
  dialog_->FillFromChart(c);
  EXPECT_TRUE(dialog_->RadioButton10->isChecked());
  EXPECT_TRUE(dialog_->RadioButton4->isChecked());
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "04ч00м00с");
}

// A typo is refused field by field, in the program's language and naming
// the field, and the dialog keeps every text as typed for the user to mend;
// nothing reaches the chart until all are in range. The limits themselves
// (29 February of a leap year, 23:59:59, 14 hours West) are taken.
TEST_F(InputDates, OutOfRangeFieldsAreRefusedKeepingWhatWasTypedAndTheirLimitsTaken) {
  // only the hours typed
  TypeMoment("10", "06", "2000", "9", "00ч00м00с", false);
  TypePlace("55:45:00", false, "037:37:00", false);
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(dialog_->Entered.Hour, 9);
  EXPECT_EQ(dialog_->Entered.Minute, 0);
  EXPECT_NEAR(Chart().UniversalTime, 9.0, kHoursTol);

  const ChartRecord before = Chart();
  TypeMoment("31", "02", "2024", "25ч61м99с", "99ч99м99с", false);
  const auto keptAsTyped = [&](const char* day, const char* time, const char* zone) {
    EXPECT_EQ(Shown(dialog_->MaskEdit1), day);
    EXPECT_EQ(Shown(dialog_->MaskEdit2), "02");
    EXPECT_EQ(Shown(dialog_->MaskEdit3), "2024");
    EXPECT_EQ(Shown(dialog_->MaskEdit4), time);
    EXPECT_EQ(Shown(dialog_->MaskEdit7), zone);
    EXPECT_EQ(Chart().JulianDayUT, before.JulianDayUT);
    EXPECT_EQ(Chart().TimeZone, before.TimeZone);
  };
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], FillEntry(Entry(kUiEntryDayOutOfRange), {Entry(325), "31", "29"}));
  EXPECT_EQ(EntryUtf8(kUiEntryDayOutOfRange).rfind("Поле «%s»: «%s»", 0), 0u);
  keptAsTyped("31", "25ч61м99с", "99ч99м99с");

  Type(dialog_->MaskEdit1, "29");
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], FillEntry(Entry(kUiEntryTimeOutOfRange), {Entry(328), Cp("25ч61м99с")}));
  keptAsTyped("29", "25ч61м99с", "99ч99м99с");

  Type(dialog_->MaskEdit4, "23ч59м59с");
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_EQ(messages_[2],
            FillEntry(Entry(kUiEntryZoneBeyondLimit), {Entry(339), Cp("99ч99м99с"), "14"}));
  keptAsTyped("29", "23ч59м59с", "99ч99м99с");

  // 29.02.2024 23:59:59 fourteen hours West is 13:59:59 UT on 1 March
  Type(dialog_->MaskEdit7, "14ч00м00с");
  dialog_->RadioButton10->setChecked(true);
  ASSERT_TRUE(PressOk()) << messages_.back();
  EXPECT_EQ(messages_.size(), 3u);
  EXPECT_NEAR(Chart().TimeZone, -14.0, kHoursTol);
  const double ut = 13.0 + 59.0 / 60.0 + 59.0 / 3600.0;
  EXPECT_NEAR(Chart().UniversalTime, ut, kHoursTol);
  EXPECT_NEAR(Chart().JulianDayUT, OnChartScale(2460370.5 + ut / 24.0), kJulianDayTolDays);
}

TEST_F(InputDates, AYearBeforeTheCommonEraRoundTrips) {
  // 1 March 500 BC, 12:00 at Greenwich: astronomical year -499
  TypeMoment("01", "03", "500", "12ч00м00с", "00ч00м00с", false);
  dialog_->RadioButton7->setChecked(true);
  TypePlace("00:00:00", false, "000:00:00", false);
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(dialog_->Entered.Year, -499);
  EXPECT_NEAR(Chart().JulianDayUT, OnChartScale(1538858.0), kJulianDayTolDays);
  dialog_->RadioButton8->setChecked(true);
  dialog_->FillFromChart(Chart());
  EXPECT_EQ(MaskedText(*dialog_->MaskEdit3), "500 ");
  EXPECT_TRUE(dialog_->RadioButton7->isChecked());
  EXPECT_EQ(Shown(dialog_->MaskEdit2), "03");
}

TEST_F(InputDates, AFieldThatNamesNoDateChangesNothing) {
  const ChartRecord before = Chart();
  const bool printEnabled = windows_->BaseForm->Item("N18")->isEnabled();
  TypeMoment("15", "13", "1990", "12ч00м00с", "04ч00м00с", false);
  Type(dialog_->Edit1, "Другой");
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 1u);
  // in the program's language, from the language file
  EXPECT_EQ(messages_[0], FillEntry(Entry(kUiEntryMonthOutOfRange), {"13"}));
  EXPECT_EQ(EntryUtf8(kUiEntryMonthOutOfRange).rfind("Месяц %s", 0), 0u);
  Type(dialog_->MaskEdit2, "07");
  Type(dialog_->MaskEdit3, "");
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], FillEntry(Entry(kUiEntryFieldEmpty), {Entry(327)}));
  EXPECT_EQ(Chart().JulianDayUT, before.JulianDayUT);
  EXPECT_EQ(Chart().UniversalTime, before.UniversalTime);
  EXPECT_EQ(Chart().ChartName, before.ChartName);
  EXPECT_EQ(windows_->BaseForm->Item("N18")->isEnabled(), printEnabled);
}

// 95 degrees North beside "Москва" is no place on Earth: the dialog says so
// in the program's language and takes nothing (folded, it would be the
// equator while the place still read Moscow).
TEST_F(InputDates, APlaceBeyondThePoleOrTheDateLineIsRefused) {
  const ChartRecord before = Chart();
  TypeMoment("15", "07", "1990", "12ч00м00с", "04ч00м00с", false);
  Type(dialog_->Edit2, "Москва");
  TypePlace("95:00:00", false, "037:37:00", false);
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            FillEntry(Entry(kUiEntryCoordinateOutOfRange), {Entry(332), "95:00:00", "90"}));
  EXPECT_EQ(EntryUtf8(kUiEntryCoordinateOutOfRange).rfind("Поле «%s»: «%s» — больше %s°", 0), 0u);
  TypePlace("55:45:00", false, "190:00:00", true);
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1],
            FillEntry(Entry(kUiEntryCoordinateOutOfRange), {Entry(333), "190:00:00", "180"}));
  EXPECT_EQ(Chart().JulianDayUT, before.JulianDayUT);
  EXPECT_EQ(Chart().GeoLatitude, before.GeoLatitude);
  EXPECT_EQ(Chart().GeoLongitude, before.GeoLongitude);
  EXPECT_EQ(Chart().PlaceName, before.PlaceName);
  // mended, the place is taken as typed
  TypePlace("55:45:00", false, "037:37:00", false);
  ASSERT_TRUE(PressOk());
  EXPECT_NEAR(Chart().GeoLatitude, 55.75, kDegreesTol);
  EXPECT_NEAR(Chart().GeoLongitude, 37.0 + 37.0 / 60.0, kDegreesTol);
}

TEST_F(InputDates, TheMenuCommandShowsTheChartAndTakesTheAnswer) {
  ChartRecord& c = Chart();
  const double before = c.JulianDayUT;
  std::string shownName;
  {
    // Cancel: the dialog showed the chart, the chart stays as it was
    ModalScript script({[&](QWidget* w) {
      ASSERT_EQ(w, dialog_);
      shownName = dialog_->Edit1->text().toStdString();
      Type(dialog_->MaskEdit3, "1990");
      dialog_->BitBtn2->click();
    }});
    windows_->BaseForm->Item("N85")->trigger();
    EXPECT_EQ(script.Done(), 1u);
  }
  EXPECT_EQ(shownName, Cp1251ToUtf8(c.ChartName));
  EXPECT_EQ(c.JulianDayUT, before);
  {
    ModalScript script({[&](QWidget*) {
      TypeMoment("15", "07", "1990", "12ч00м00с", "04ч00м00с", false);
      dialog_->BitBtn1->click();
    }});
    windows_->BaseForm->Item("N85")->trigger();
    EXPECT_EQ(script.Done(), 1u);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  EXPECT_NEAR(c.JulianDayUT, OnChartScale(2448087.5 + 8.0 / 24), kJulianDayTolDays);
}

TEST_F(InputDates, AnAbbreviationSetsTheZone) {
  const int east = dialog_->ComboBox1->findText("EAST");
  dialog_->ComboBox1Click(east);
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "10ч00м00с");
  EXPECT_TRUE(dialog_->RadioButton10->isChecked());  // EAST carries +10 West
  dialog_->ComboBox1Click(dialog_->ComboBox1->findText("NZ"));
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "11ч30м00с");
  EXPECT_TRUE(dialog_->RadioButton9->isChecked());
}

TEST_F(InputDates, ARussianTownTakesItsZoneForTheTypedMoment) {
  TypeMoment("15", "07", "1990", "12ч00м00с", "00ч00м00с", true);
  Type(dialog_->Edit2, "моск");
  ASSERT_EQ(dialog_->SearchPlace(), TownSearchStatus::Found);
  EXPECT_EQ(dialog_->LastSearch.File, TownFile::Russian);
  const int row = RowOf("Москва");
  ASSERT_GE(row, 0);
  ASSERT_TRUE(dialog_->ApplyTown(row)) << (messages_.empty() ? "" : messages_[0]);
  EXPECT_EQ(dialog_->Edit2->text().toStdString(), "Москва");
  EXPECT_EQ(Shown(dialog_->MaskEdit5), "55:45:00");
  EXPECT_EQ(Shown(dialog_->MaskEdit6), "037:37:00");
  EXPECT_TRUE(dialog_->RadioButton1->isChecked());
  EXPECT_TRUE(dialog_->RadioButton3->isChecked());
  // summer time: 3 h standard + 1 h
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "04ч00м00с");
  EXPECT_TRUE(dialog_->RadioButton9->isChecked());
  EXPECT_FALSE(dialog_->ComboBox1->isVisibleTo(dialog_));
  // in January the same town keeps standard time
  Type(dialog_->MaskEdit2, "01");
  ASSERT_TRUE(dialog_->ApplyTown(row));
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "03ч00м00с");
}

TEST_F(InputDates, ATimeTheClockSkippedOrShowedTwiceIsSaidUnderTheZone) {
  // Moscow put its clock on from 2:00 to 3:00 on 27 March 2011 and back
  // from 2:00 to 1:00 on 26 October 2014; New York on from 2:00 to 3:00 on
  // 14 March 2010. A skipped time takes the later zone, a doubled one the
  // first; the line under the zone says which, and goes with an edit.
  struct Case {
    const char *town, *day, *month, *year, *time, *zone;
    int entry;  // -1: no line
  } cases[] = {
      {"Москва", "27", "03", "2011", "02ч30м00с", "04ч00м00с", kUiEntryClockSkipped},
      {"Москва", "26", "10", "2014", "01ч30м00с", "04ч00м00с", kUiEntryClockRepeated},
      {"Москва", "26", "10", "2014", "02ч00м00с", "03ч00м00с", -1},
      {"Москва", "26", "10", "2014", "00ч59м59с", "04ч00м00с", -1},
      {"New York City", "14", "03", "2010", "02ч30м00с", "04ч00м00с", kUiEntryClockSkipped},
      {"New York City", "07", "11", "2010", "01ч30м00с", "04ч00м00с", kUiEntryClockRepeated},
  };
  for (const Case& c : cases) {
    const std::string where =
        std::string(c.town) + " " + c.day + "." + c.month + "." + c.year + " " + c.time;
    TypeMoment(c.day, c.month, c.year, c.time, "00ч00м00с", false);
    Type(dialog_->Edit2, c.town);
    ASSERT_EQ(dialog_->SearchPlace(), TownSearchStatus::Found) << where;
    const int row = RowOf(c.town);
    ASSERT_GE(row, 0) << where;
    ASSERT_TRUE(dialog_->ApplyTown(row)) << (messages_.empty() ? "" : messages_[0]);
    EXPECT_EQ(Shown(dialog_->MaskEdit7), c.zone) << where;
    EXPECT_EQ(dialog_->Label9->isVisibleTo(dialog_), c.entry >= 0) << where;
    if (c.entry >= 0) {
      EXPECT_EQ(dialog_->Label9->text().toStdString(), EntryUtf8(c.entry)) << where;
      dialog_->MaskEdit4->textEdited(dialog_->MaskEdit4->text());
      EXPECT_FALSE(dialog_->Label9->isVisibleTo(dialog_)) << where;
    }
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(InputDates, AForeignTownTakesItsZoneAndAbbreviationOfTheDay) {
  TypeMoment("04", "07", "1976", "12ч00м00с", "00ч00м00с", false);
  Type(dialog_->Edit2, "new y");
  ASSERT_EQ(dialog_->SearchPlace(), TownSearchStatus::Found);
  EXPECT_EQ(dialog_->LastSearch.File, TownFile::Foreign);
  const int row = RowOf("New York City");
  ASSERT_GE(row, 0);
  ASSERT_TRUE(dialog_->ApplyTown(row)) << (messages_.empty() ? "" : messages_[0]);
  EXPECT_EQ(dialog_->Edit2->text().toStdString(), "New York City");
  EXPECT_EQ(Shown(dialog_->MaskEdit5), "40:43:00");
  EXPECT_EQ(Shown(dialog_->MaskEdit6), "074:00:00");
  EXPECT_TRUE(dialog_->RadioButton4->isChecked());
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "04ч00м00с");
  EXPECT_TRUE(dialog_->RadioButton10->isChecked());
  EXPECT_TRUE(dialog_->ComboBox1->isVisibleTo(dialog_));
  EXPECT_EQ(dialog_->ComboBox1->currentText(), "EDT");
  // in January the same town keeps standard time
  Type(dialog_->MaskEdit2, "01");
  ASSERT_TRUE(dialog_->ApplyTown(row));
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "05ч00м00с");
  EXPECT_EQ(dialog_->ComboBox1->currentText(), "EST");
}

TEST_F(InputDates, TheZoneNeedsAReadableDateAndOtherwiseNothingIsFilled) {
  TypeMoment("15", "13", "1990", "12ч00м00с", "00ч00м00с", false);
  Type(dialog_->Edit2, "Москва");
  ASSERT_EQ(dialog_->SearchPlace(), TownSearchStatus::Found);
  const std::string latitude = Shown(dialog_->MaskEdit5);
  EXPECT_FALSE(dialog_->ApplyTown(0));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], FillEntry(Entry(kUiEntryMonthOutOfRange), {"13"}));
  EXPECT_EQ(Shown(dialog_->MaskEdit5), latitude);
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "00ч00м00с");
}

TEST_F(InputDates, TheGridChoosesTheTownClicked) {
  TypeMoment("15", "07", "1990", "12ч00м00с", "00ч00м00с", false);
  Type(dialog_->Edit2, "Моск");
  int rows = 0;
  ModalScript script({[&](QWidget* w) {
    auto* grid = qobject_cast<TTreeBDTable*>(w);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->windowTitle().toStdString(), EntryUtf8(321));
    EXPECT_EQ(grid->StringGrid1->columnWidth(0), 140);
    EXPECT_EQ(grid->StringGrid1->columnWidth(3), 50);
    rows = grid->StringGrid1->rowCount();
    const int row = RowOf("Москва");
    ASSERT_GE(row, 0);
    EXPECT_EQ(grid->StringGrid1->item(row, 1)->text().toStdString(), "Россия/СНГ");
    grid->StringGrid1->setCurrentCell(row, 0);
    grid->BitBtn1->click();
  }});
  dialog_->Button1Click();
  EXPECT_EQ(script.Done(), 1u);
  EXPECT_EQ(static_cast<std::size_t>(rows), dialog_->LastSearch.Range.Count);
  EXPECT_EQ(dialog_->Edit2->text().toStdString(), "Москва");
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "04ч00м00с");
}

// Zzyzx, California: 35 08 N, 116 06 W, Pacific standard time.
const char* const kZzyzxLine =
    "Zzyzx               USA                 PST   -08:00     35N08   116W06    00";

void FillZzyzx(TTownDB& townDb) {
  Type(townDb.Edit2, "USA");
  townDb.ComboBox1->setCurrentIndex(townDb.ComboBox1->findText("PST"));
  Type(townDb.MaskEdit1, "35:08:00");
  Type(townDb.MaskEdit2, "116:06:00");
  townDb.RadioButton1->setChecked(true);
}

TEST_F(InputDates, AnAbbreviationFillsTheAddTownZone) {
  TTownDB& townDb = *windows_->TownDB;
  townDb.Prepare("Town");
  townDb.ComboBox1->setCurrentIndex(townDb.ComboBox1->findText("NZ"));
  EXPECT_EQ(Shown(townDb.MaskEdit3), "11ч30м");
  EXPECT_TRUE(townDb.RadioButton3->isChecked());
  EXPECT_EQ(townDb.Label9->text(), "New Zealand");
  townDb.ComboBox1->setCurrentIndex(townDb.ComboBox1->findText("PST"));
  EXPECT_EQ(Shown(townDb.MaskEdit3), "08ч00м");
  EXPECT_TRUE(townDb.RadioButton4->isChecked());
  townDb.ComboBox1->setCurrentIndex(76);  // the empty entry
  EXPECT_EQ(Shown(townDb.MaskEdit3), "00ч00м");
  EXPECT_TRUE(townDb.Label9->text().isEmpty());
}

TEST_F(InputDates, ATownAddedGoesToTheUserFileAndIsFoundThere) {
  TTownDB& townDb = *windows_->TownDB;
  townDb.Prepare("Zzyzx");
  FillZzyzx(townDb);
  const NewTownLine built = townDb.BuildLine();
  ASSERT_EQ(built.Status, NewTownStatus::Ok) << built.Message;
  EXPECT_EQ(built.Line, kZzyzxLine);
  ASSERT_TRUE(townDb.SaveLine(built.Line));
  LineList lines;
  ASSERT_TRUE(ReadLines((folder_ / "Towns/TownsUser.twn").string(), lines));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], kZzyzxLine);

  // found by a prefix in the user file, with its own zone
  TypeMoment("01", "01", "2000", "12ч00м00с", "00ч00м00с", false);
  Type(dialog_->Edit2, "zzy");
  ASSERT_EQ(dialog_->SearchPlace(), TownSearchStatus::Found);
  EXPECT_EQ(dialog_->LastSearch.File, TownFile::User);
  ASSERT_TRUE(dialog_->ApplyTown(0));
  EXPECT_EQ(Shown(dialog_->MaskEdit5), "35:08:00");
  EXPECT_EQ(Shown(dialog_->MaskEdit6), "116:06:00");
  EXPECT_TRUE(dialog_->RadioButton4->isChecked());
  EXPECT_EQ(Shown(dialog_->MaskEdit7), "08ч00м00с");
  EXPECT_TRUE(dialog_->RadioButton10->isChecked());
  EXPECT_EQ(dialog_->ComboBox1->currentText(), "PST");
}

TEST_F(InputDates, ATownNoFileHoldsIsAddedAfterTwoQuestions) {
  Type(dialog_->Edit2, "Zzyzx");
  std::string question, confirmation, confirmationTitle;
  ModalScript script({
      [&](QWidget* w) {  // "add it?"
        ASSERT_EQ(w, windows_->Warning);
        question = windows_->Warning->Panel1->text().toStdString();
        windows_->Warning->BitBtn1->click();
      },
      [&](QWidget* w) {  // the add-town dialog with the typed name
        ASSERT_EQ(w, windows_->TownDB);
        EXPECT_EQ(windows_->TownDB->Edit1->text(), "Zzyzx");
        FillZzyzx(*windows_->TownDB);
        windows_->TownDB->BitBtn1->click();
      },
      [&](QWidget* w) {  // the line: Cancel returns to the dialog
        ASSERT_EQ(w, windows_->Warning);
        windows_->Warning->BitBtn2->click();
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, windows_->TownDB);
        windows_->TownDB->BitBtn1->click();
      },
      [&](QWidget* w) {  // the line again: OK saves it
        ASSERT_EQ(w, windows_->Warning);
        confirmation = windows_->Warning->Panel1->text().toStdString();
        confirmationTitle = windows_->Warning->windowTitle().toStdString();
        windows_->Warning->BitBtn1->click();
      },
  });
  dialog_->Button1Click();
  EXPECT_EQ(script.Done(), 5u);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(question, EntryUtf8(343));
  EXPECT_EQ(confirmationTitle, EntryUtf8(344));
  EXPECT_EQ(confirmation, std::string(kZzyzxLine).substr(0, 71));
  EXPECT_EQ(windows_->Warning->windowTitle().toStdString(), EntryUtf8(401));
  EXPECT_EQ(ReadBytes(folder_ / "Towns/TownsUser.twn").find(kZzyzxLine), 0u);
  // the place fields are not changed by adding
  EXPECT_EQ(dialog_->Edit2->text(), "Zzyzx");
  EXPECT_TRUE(messages_.empty()) << messages_[0];
}

}  // namespace

namespace {

TEST_F(InputDates, ANameTooLongForItsColumnIsReportedNotCut) {
  // The name field keeps what was typed, so the line builder sees the whole
  // name and refuses it instead of writing a shortened town.
  TTownDB& townDb = *windows_->TownDB;
  townDb.Prepare("Petropavlovsk-Kamchatsky");
  FillZzyzx(townDb);
  EXPECT_EQ(townDb.Edit1->text().toStdString(), "Petropavlovsk-Kamchatsky");
  EXPECT_EQ(townDb.BuildLine().Status, NewTownStatus::NameTooLong);
}

}  // namespace

namespace {

// The window a message or a question opened from the dialogs belongs to: its
// parent and transient window is the dialog the user works in, and it stays
// on top as that dialog does, so it is never hidden beneath it.
void ExpectAbove(QWidget* shown, QWidget* dialog, const char* what) {
  SCOPED_TRACE(what);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->parentWidget(), dialog);
  ASSERT_NE(shown->windowHandle(), nullptr);
  EXPECT_EQ(shown->windowHandle()->transientParent(), dialog->windowHandle());
  EXPECT_TRUE(shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

QString BoxText(QWidget* w) {
  auto* box = qobject_cast<QMessageBox*>(w);
  return box ? box->text() : QString();
}

void PressEnter(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

TEST_F(InputDates, EveryQuestionAndMessageStandsAboveTheDialogTheUserWorksIn) {
  SetMessageSink({});  // real boxes, to see where they stand
  TTownDB* townDb = windows_->TownDB;
  TWarning* warning = windows_->Warning;
  const double before = Chart().JulianDayUT;
  QString foreignLetters, tooLong, countryLetters;
  // The questions and messages, answered by a script of their own (a timer
  // does not fire again inside its own handler).
  const std::vector<ModalScript::Step> messages = {
      [&](QWidget* w) { ExpectAbove(w, dialog_, "month refused"); },
      [&](QWidget* w) {
        ExpectAbove(w, dialog_, "letters refused");
        foreignLetters = BoxText(w);
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, warning);
        ExpectAbove(w, dialog_, "add the town?");
        warning->BitBtn1->click();
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, townDb);
        ExpectAbove(w, dialog_, "add-town dialog");
        Type(townDb->Edit1, "Petropavlovsk-Kamchatsky");
        townDb->BitBtn1->click();
      },
      [&](QWidget* w) {  // shown after the add-town dialog has closed
        ExpectAbove(w, dialog_, "name too long");
        tooLong = BoxText(w);
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, warning);
        warning->BitBtn1->click();
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, townDb);
        FillZzyzx(*townDb);
        Type(townDb->Edit1, "Zzyzx");
        Type(townDb->Edit2, "Österreich");
        townDb->BitBtn1->click();
      },
      [&](QWidget* w) {
        ExpectAbove(w, dialog_, "country letters refused");
        countryLetters = BoxText(w);
      },
      [&](QWidget* w) {  // back to the dialog to retype
        ASSERT_EQ(w, townDb);
        Type(townDb->Edit2, "USA");
        townDb->BitBtn1->click();
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, warning);
        ExpectAbove(w, dialog_, "the new line");
        warning->BitBtn2->click();
      },
      [&](QWidget* w) {
        ASSERT_EQ(w, townDb);
        townDb->BitBtn2->click();
      },
  };
  std::size_t answered = 0;
  int unexpected = 0;
  ModalScript script({[&](QWidget* w) {
    ASSERT_EQ(w, dialog_);
    EXPECT_TRUE(dialog_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ModalScript inner(messages);
    TypeMoment("15", "13", "1990", "12ч00м00с", "04ч00м00с", false);
    dialog_->BitBtn1->click();  // a month that is none: refused
    TypeMoment("15", "07", "1990", "12ч00м00с", "04ч00м00с", false);
    Type(dialog_->Edit1, "Zürich-Ω");
    dialog_->BitBtn1->click();  // letters the files cannot hold: refused
    Type(dialog_->Edit1, "Вопрос");
    Type(dialog_->Edit2, "Zzyzx");
    PressEnter(dialog_->Edit2);  // Enter in the place searches: not found, add it?
    PressEnter(dialog_->Edit2);  // again, this time through the add-town dialog
    answered = inner.Done();
    unexpected = inner.Unexpected();
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Chart().JulianDayUT, before);
    PressEnter(dialog_->Edit1);  // elsewhere Enter is OK
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), mrOk);
  }});
  windows_->BaseForm->Item("N85")->trigger();
  EXPECT_EQ(script.Done(), 1u);
  EXPECT_EQ(answered, messages.size());
  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_TRUE(foreignLetters.contains("ü (U+00FC), Ω (U+03A9)")) << foreignLetters.toStdString();
  EXPECT_TRUE(foreignLetters.startsWith(QString::fromUtf8("Поле «Имя»")))
      << foreignLetters.toStdString();
  EXPECT_EQ(tooLong.toStdString(), EntryUtf8(345));
  EXPECT_TRUE(countryLetters.contains("Ö (U+00D6)")) << countryLetters.toStdString();
  // nothing was written: no town, and the chart took the name only on OK
  EXPECT_FALSE(fs::exists(folder_ / "Towns/TownsUser.twn") &&
               ReadBytes(folder_ / "Towns/TownsUser.twn").find("Zzyzx") != std::string::npos);
  EXPECT_EQ(Chart().ChartName, Cp("Вопрос"));
  EXPECT_NEAR(Chart().JulianDayUT, OnChartScale(2448087.5 + 8.0 / 24), kJulianDayTolDays);
}

TEST_F(InputDates, TextWithLettersTheFilesCannotHoldIsRefusedBeforeAnythingIsWritten) {
  const ChartRecord before = Chart();
  TypeMoment("15", "07", "1990", "12ч00м00с", "04ч00м00с", false);
  Type(dialog_->Edit2, "Zürich");
  EXPECT_FALSE(PressOk());
  dialog_->Button1Click();  // nor searched, nor offered for adding
  Type(dialog_->Edit2, "Zurich");
  dialog_->Memo1->setPlainText(QString::fromUtf8("Ω?"));
  EXPECT_FALSE(PressOk());
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_NE(messages_[0].find("U+00FC"), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find(Entry(338)), std::string::npos) << messages_[0];
  EXPECT_EQ(messages_[1], messages_[0]);
  EXPECT_NE(messages_[2].find("U+03A9"), std::string::npos) << messages_[2];
  EXPECT_NE(messages_[2].find(Entry(340)), std::string::npos) << messages_[2];
  EXPECT_EQ(Chart().JulianDayUT, before.JulianDayUT);
  EXPECT_EQ(Chart().PlaceName, before.PlaceName);
  EXPECT_EQ(Chart().ChartComment, before.ChartComment);
}

}  // namespace
