// The dialogs that edit the chart's settings, headless, in a copy of the
// factory data tree whose language file reads "E<n>" on line n, so every
// caption and refusal names the entry it came from: the chart-objects and
// aspect-kinds dialogs with the main window's commands around them, the orbs
// editor and the Arabic-parts editor.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <memory>

#include "chart/ui/picturechart.h"
#include "input/editorbis.h"
#include "input/ui/aspectation.h"
#include "input/ui/editorbis.h"
#include "input/ui/editparses.h"
#include "input/ui/maskedfields.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/baseform.h"
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

std::string E(int n) {
  std::string entry("E");
  entry += std::to_string(n);
  return entry;
}
QString QE(int n) { return QString::fromStdString(E(n)); }

class SettingsEditors : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    LineList lang;
    for (int n = 0; n < kUiEntryCount; ++n) lang.push_back(E(n));
    ASSERT_TRUE(WriteLinesAtomic((folder_ / "Options/LangH.lan").string(), lang));
    CreateWindows();
    windows_->PictureRadixChart->FormShow();
  }
  ChartRecord& Chart() { return windows_->PictureRadixChart->Chart; }
  TBaseForm& Form() { return *windows_->BaseForm; }
};

// ---- chart objects and aspect kinds -------------------------------------------

TEST_F(SettingsEditors, CommandsOpenTheirDialogsCaptionedFromTheLanguageFile) {
  for (const char* item : {"N80", "N83", "N140", "N141"})
    EXPECT_TRUE(Form().Item(item)->isEnabled()) << item;
  EXPECT_EQ(windows_->Aspectation->windowTitle(), QE(kUiEntryAspectationCaption));
  EXPECT_EQ(windows_->Aspects->windowTitle(), QE(129));
  EXPECT_EQ(windows_->EditOrbis->windowTitle(), QE(133));
  EXPECT_EQ(windows_->EditParses->windowTitle(), QE(132));
  EXPECT_EQ(windows_->Aspects->CheckBox1All->text(), QE(267));
  EXPECT_EQ(windows_->EditParses->Button1->toolTip(), QE(311) + "\n" + QE(312) + "\n" + QE(313));
  EXPECT_EQ(windows_->EditParses->Button2->toolTip(), QE(311) + "\n" + QE(314) + "\n" + QE(315));
  // the operand lists: cusps, bodies, then "ruler of" each cusp
  QComboBox* a = windows_->EditParses->ComboBox1;
  ASSERT_EQ(a->count(), 42);
  EXPECT_EQ(a->itemText(0).toStdString(), Chart().ObjectNames[19]);
  EXPECT_EQ(a->itemText(12).toStdString(), Chart().ObjectNames[1]);
  EXPECT_EQ(a->itemText(30).toStdString(), E(316) + " " + Chart().ObjectNames[19]);
  // every designed box by its name
  for (const char* name :
       {"CheckBox1Sun", "CheckBox2Kre", "CheckBox1Mc", "CheckBox2H", "CheckBox1PZ", "CheckBox2AVx"})
    EXPECT_NE(windows_->Aspectation->findChild<QCheckBox*>(name), nullptr) << name;
}

TEST_F(SettingsEditors, ObjectFlagsGoInAndOutWithTheCuspsSharingOneDrawnBox) {
  TAspectation& dialog = *windows_->Aspectation;
  std::uint8_t aspected[36], drawn[36], outA[36], outD[36];
  // each object alone, in each array: the others stay off
  for (int o = 0; o < 36; ++o)
    for (int which = 0; which < 2; ++which) {
      std::memset(aspected, 0, sizeof aspected);
      std::memset(drawn, 0, sizeof drawn);
      (which ? drawn : aspected)[o] = 1;
      dialog.PutAspectObjectFlags(aspected, drawn);
      dialog.GetAspectObjectFlags(outA, outD);
      const bool cuspDrawn = which == 1 && o >= 18 && o <= 29;
      for (int p = 0; p < 36; ++p) {
        EXPECT_EQ(outA[p], which == 0 && p == o) << o << " " << p;
        // the twelve cusps are drawn together, taken from the first cusp's flag
        const bool expectDrawn = which == 1 && (p == o || (o == 18 && p >= 18 && p <= 29));
        if (!cuspDrawn) {
          EXPECT_EQ(outD[p], expectDrawn) << o << " " << p;
        }
      }
    }
  // boxes set by code ask nothing, hidden or shown
  ModalScript none({});
  dialog.show();
  for (std::uint8_t on : {0, 1}) {
    std::memset(aspected, on, sizeof aspected);
    dialog.PutAspectObjectFlags(aspected, aspected);
  }
  dialog.hide();
  EXPECT_EQ(none.Unexpected(), 0);
  EXPECT_EQ(dialog.AskHigher, 1);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsEditors, PresetsSetTheirPlanetsAndTheDialogGivesEveryFlagBackOnOk) {
  // a pattern of the test's own in both arrays; the cusps drawn together
  auto pattern = [this] {
    for (int o = 0; o < 36; ++o) {
      Chart().ObjectAspected[o] = (o * 7 + 3) % 5 < 2;
      Chart().ObjectShown[o] = (o >= 18 && o <= 29) ? 1 : (o * 3 + 1) % 4 < 2;
    }
  };
  struct Preset {
    void (TBaseForm::*command)();
    int shownUpTo, aspectedUpTo;  // objects 0..13: on up to these, off after
    bool answerOk;                // N101's question
  };
  const Preset presets[] = {{&TBaseForm::N78Click, 6, 6, false},
                            {&TBaseForm::N79Click, 11, 6, false},
                            {&TBaseForm::N101Click, 11, 11, true},
                            {&TBaseForm::N101Click, 11, -1, false}};
  for (const Preset& preset : presets) {
    pattern();
    const ChartRecord before = Chart();
    ModalScript question({[&](QWidget* w) {
      auto* warning = qobject_cast<TWarning*>(w);
      ASSERT_NE(warning, nullptr);
      (preset.answerOk ? warning->BitBtn1 : warning->BitBtn2)->click();
    }});
    (Form().*preset.command)();
    for (int o = 0; o < 36; ++o) {
      const bool shown = o > 13 ? before.ObjectShown[o] : o <= preset.shownUpTo;
      const bool aspected =
          o > 13 || preset.aspectedUpTo < 0 ? before.ObjectAspected[o] : o <= preset.aspectedUpTo;
      EXPECT_EQ(Chart().ObjectShown[o], shown) << o;
      EXPECT_EQ(Chart().ObjectAspected[o], aspected) << o;
    }
  }
  // the object dialog closed with OK gives back exactly what it was given
  pattern();
  const ChartRecord before = Chart();
  ModalScript ok({[&](QWidget*) { windows_->Aspectation->BitBtn1->click(); }});
  Form().N80Click();
  EXPECT_EQ(std::memcmp(before.ObjectShown, Chart().ObjectShown, 36), 0);
  EXPECT_EQ(std::memcmp(before.ObjectAspected, Chart().ObjectAspected, 36), 0);
  // the kind presets
  Form().N82Click();
  for (int k = 0; k < 9; ++k) EXPECT_EQ(Chart().AspectKindEnabled[k], 1) << k;
  Form().N81Click();
  for (int k = 0; k < 9; ++k) EXPECT_EQ(Chart().AspectKindEnabled[k], k < 5) << k;
}

// Clicks a box of the running dialog that asks the higher-planets question,
// answers it, reads the boxes and closes the dialog with OK.
void ClickHigherPlanet(TAspectation& dialog, int object, bool answerOk, std::string& asked) {
  // the question is answered once it is the dialog in front, not before
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    TWarning* question = TWarning::Instance();
    if (!question || QApplication::activeModalWidget() != question) return;
    answer.stop();
    asked = question->Panel1->text().toStdString();
    (answerOk ? question->BitBtn1 : question->BitBtn2)->click();
  });
  answer.start(5);
  dialog.Aspected[object]->click();
  EXPECT_FALSE(answer.isActive());
  dialog.BitBtn1->click();
}

TEST_F(SettingsEditors, TheHigherPlanetsQuestionDecidesThePlanetsAndTheSignRulers) {
  for (bool answerOk : {false, true}) {
    // Uranus off at the start asks nothing; clicking Chiron asks
    std::memset(Chart().ObjectAspected, 0, sizeof Chart().ObjectAspected);
    std::memset(Chart().ObjectShown, 0, sizeof Chart().ObjectShown);
    Chart().ObjectAspected[12] = Chart().ObjectShown[13] = 1;  // Lilith and Selena
    Chart().ObjectShown[30] = 1;                               // the vertex stays as it was
    std::string asked;
    ModalScript script({[&](QWidget* w) {
      ASSERT_EQ(w, windows_->Aspectation);
      ClickHigherPlanet(*windows_->Aspectation, 10, answerOk, asked);
    }});
    Form().N80Click();
    EXPECT_EQ(script.Done(), 1u);
    EXPECT_EQ(script.Unexpected(), 0);
    EXPECT_EQ(asked, E(514));
    const int lastOn = answerOk ? 11 : 6;
    for (int o = 0; o <= 13; ++o) {
      const bool on = o <= lastOn;
      EXPECT_EQ(Chart().ObjectAspected[o], on) << answerOk << " object " << o;
      EXPECT_EQ(Chart().ObjectShown[o], on) << answerOk << " object " << o;
    }
    EXPECT_EQ(Chart().ObjectShown[30], 1);
    EXPECT_EQ(SignRulerOption(), answerOk ? 1 : 0);
    EXPECT_EQ(windows_->Aspectation->AskHigher, 1);
  }
}

TEST_F(SettingsEditors, AspectKindsChangeOnlyOnOkAndTheAllBoxesAreClearedAfter) {
  TAspects& dialog = *windows_->Aspects;
  std::uint8_t kinds[30];
  std::memcpy(kinds, Chart().AspectKindEnabled, sizeof kinds);
  {  // the close box: nothing changes
    ModalScript closed({[&](QWidget* w) {
      EXPECT_EQ(w, &dialog);
      dialog.Kind[0]->click();
      w->close();
    }});
    Form().N83Click();
    EXPECT_EQ(closed.Done(), 1u);
    EXPECT_EQ(dialog.Accepted, 0);
  }
  EXPECT_EQ(std::memcmp(kinds, Chart().AspectKindEnabled, sizeof kinds), 0);

  // "all" of the minor kinds on, one major kind off, OK
  ModalScript ok({[&](QWidget*) {
    EXPECT_EQ(dialog.Accepted, 0);
    dialog.CheckBox2All->click();
    dialog.Kind[1]->click();
    dialog.BitBtn1->click();
  }});
  Chart().AspectKindEnabled[1] = 1;
  Form().N83Click();
  EXPECT_EQ(dialog.Accepted, 1);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(Chart().AspectKindEnabled[k], k != 1) << k;
  EXPECT_FALSE(dialog.CheckBox1All->isChecked());
  EXPECT_FALSE(dialog.CheckBox2All->isChecked());
}

// ---- orbs -------------------------------------------------------------------------

TEST_F(SettingsEditors, OrbsSurviveOkUnchangedAndAMirroredEditReachesBothCells) {
  TEditOrbis& dialog = *windows_->EditOrbis;
  // the shipped matrix, then every whole-minute orb below 30° spread over the pairs
  for (int pass = 0; pass < 3; ++pass) {
    if (pass > 0)
      for (int i = 0; i < 36; ++i)
        for (int j = 0; j < 36; ++j) {
          const int minute = ((pass - 1) * 1296 + i * 36 + j) % 1800;
          Chart().PairOrb[i][j] = static_cast<float>(minute / 60 + minute % 60 / 60.0);
        }
    const ChartRecord before = Chart();
    ModalScript script({[&](QWidget*) { dialog.BitBtn1->click(); }});
    Form().N141Click();
    EXPECT_EQ(script.Done(), 1u);
    EXPECT_EQ(std::memcmp(before.PairOrb, Chart().PairOrb, sizeof before.PairOrb), 0) << pass;
    EXPECT_EQ(
        std::memcmp(before.AspectOrbFactor, Chart().AspectOrbFactor, sizeof before.AspectOrbFactor),
        0);
  }
  EXPECT_TRUE(messages_.empty());

  // Sun-Moon set to 10°00' through the input field changes Moon-Sun too
  Chart().AspectOrbFactor[3] = 0.7f;
  ModalScript edit({[&](QWidget*) {
    const char sep = Form().DecimalComma ? ',' : '.';
    EXPECT_EQ(dialog.KoefAsp->item(3, 1)->text().toStdString(), std::string("0") + sep + "70");
    dialog.OrbPlanets->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, 1), true);
    SetFieldText(*dialog.Input,
                 "10\xB0"
                 "00'");
    dialog.ButtonInput->click();
    EXPECT_EQ(Utf8ToCp1251(dialog.OrbPlanets->item(1, 0)->text().toStdString()),
              "10\xB0"
              "00'");
    dialog.BitBtn1->click();
  }});
  Form().N141Click();
  EXPECT_EQ(Chart().PairOrb[0][1], 10.0f);
  EXPECT_EQ(Chart().PairOrb[1][0], 10.0f);
  EXPECT_EQ(Chart().AspectOrbFactor[3], 0.7f);
}

TEST_F(SettingsEditors, AnUnreadableOrbOrFactorIsRefusedByNameAndChangesNothing) {
  TEditOrbis& dialog = *windows_->EditOrbis;
  const ChartRecord before = Chart();
  ModalScript script({[&](QWidget*) {
    // a valid edit first, a bad cell after it
    dialog.OrbPlanets->item(2, 0)->setText(QStringLiteral("01\u00B000'"));
    dialog.OrbPlanets->item(35, 34)->setText(QStringLiteral("x"));
    dialog.BitBtn1->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_.back(), E(kUiEntryOrbUnreadable));
    dialog.OrbPlanets->item(35, 34)->setText(dialog.OrbPlanets->item(34, 35)->text());
    dialog.KoefAsp->item(8, 1)->setText(QString());
    dialog.BitBtn1->click();
    EXPECT_EQ(messages_.back(), E(kUiEntryFactorUnreadable));
    // the input fields are refused before any cell changes
    dialog.Input->clear();
    dialog.OrbPlanets->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, 1), true);
    dialog.ButtonInput->click();
    EXPECT_EQ(messages_.back(), E(kUiEntryOrbUnreadable));
    dialog.MaskEdit1->clear();
    dialog.KoefAsp->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, 1), true);
    dialog.Button1->click();
    EXPECT_EQ(messages_.back(), E(kUiEntryFactorUnreadable));
    EXPECT_EQ(messages_.size(), 4u);
    dialog.BitBtn2->click();
  }});
  Form().N141Click();
  EXPECT_EQ(script.Done(), 1u);
  EXPECT_EQ(std::memcmp(before.PairOrb, Chart().PairOrb, sizeof before.PairOrb), 0);
  EXPECT_EQ(
      std::memcmp(before.AspectOrbFactor, Chart().AspectOrbFactor, sizeof before.AspectOrbFactor),
      0);
}

// ---- Arabic parts ---------------------------------------------------------------

class PartsEditor : public SettingsEditors {
 protected:
  // Three parts "a", "b", "c", then the editor shown (not modally).
  void ShowThree() {
    Chart().PartCount = 3;
    for (int i = 0; i < 3; ++i) {
      Chart().ArabicParts[i] = PartRecord{};
      Chart().ArabicParts[i].Name = std::string(1, static_cast<char>('a' + i));
      Chart().ArabicParts[i].A = i;
    }
    Dialog().show();
  }
  TEditParses& Dialog() { return *windows_->EditParses; }
  std::string Names() {
    std::string names;
    for (int i = 0; i < Chart().PartCount; ++i) names += Chart().ArabicParts[i].Name;
    return names;
  }
  std::string Listed() {
    std::string names;
    for (int i = 0; i < Dialog().ComboBox6->count(); ++i)
      names += Dialog().ComboBox6->itemText(i).toStdString();
    return names;
  }
  void Select(int k) {
    Dialog().ComboBox6->setCurrentIndex(k);
    Dialog().ComboBox6Change(k);
  }
};

TEST_F(PartsEditor, AddingGoesAfterTheSelectedPartAndRemovingShowsTheNextOrTheNewLast) {
  ShowThree();
  EXPECT_EQ(Dialog().Edit1->text(), "a");
  Select(2);
  EXPECT_EQ(Dialog().ComboBox1->currentIndex(), 2);
  Dialog().Edit1->setText("d");
  Dialog().Button1->click();  // after the last: appended
  EXPECT_EQ(Names(), "abcd");
  Select(0);
  Dialog().Edit1->setText("x");
  Dialog().ComboBox1->setCurrentIndex(41);
  Dialog().Button1->click();  // after the first: second, the rest move up unchanged
  EXPECT_EQ(Names(), "axbcd");
  EXPECT_EQ(Chart().ArabicParts[1].A, 41);
  EXPECT_EQ(Chart().ArabicParts[2].A, 1);
  EXPECT_EQ(Dialog().ComboBox6->currentIndex(), 1);
  Dialog().Edit1->setText("y");
  Dialog().Button3->click();  // change the selected one in place
  EXPECT_EQ(Names(), "aybcd");
  EXPECT_EQ(Listed(), Names());

  Select(4);
  Dialog().Button2->click();  // the last removed: the new last is shown
  EXPECT_EQ(Names(), "aybc");
  EXPECT_EQ(Dialog().ComboBox6->currentIndex(), 3);
  EXPECT_EQ(Dialog().Edit1->text(), "c");
  Select(1);
  Dialog().Button2->click();  // a middle one: its successor is shown
  EXPECT_EQ(Dialog().Edit1->text(), "b");
  while (Dialog().Button2->isEnabled()) Dialog().Button2->click();
  EXPECT_EQ(Chart().PartCount, 0);
  EXPECT_FALSE(Dialog().Button3->isEnabled());
  EXPECT_EQ(Listed(), "");
  // nothing selected: delete and change do nothing, add makes the first part
  Dialog().Button2Click();
  Dialog().Button3Click();
  EXPECT_EQ(Chart().PartCount, 0);
  Dialog().Edit1->setText("z");
  Dialog().Button1->click();
  EXPECT_EQ(Names(), "z");
  EXPECT_TRUE(Dialog().Button2->isEnabled());
  EXPECT_TRUE(messages_.empty());
  Dialog().hide();
}

TEST_F(PartsEditor, TheHundredFirstPartAndAnUnwritableOrEmptyNameAreRefused) {
  ShowThree();
  Dialog().Edit1->setText(QStringLiteral("\u4e2d"));
  Dialog().Button1->click();
  EXPECT_EQ(Chart().PartCount, 3);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_.back(), E(kUiEntryCharactersOutside));
  Dialog().Button3->click();
  EXPECT_EQ(Names(), "abc");
  EXPECT_EQ(messages_.back(), E(kUiEntryCharactersOutside));

  // a name of nothing or of blanks is no handle to choose the part by
  for (const char* blank : {"", "   "}) {
    Dialog().Edit1->setText(blank);
    Dialog().Button1->click();
    EXPECT_EQ(messages_.back(), E(kUiEntryEmptyName));
    Dialog().Button3->click();
    EXPECT_EQ(messages_.back(), E(kUiEntryEmptyName));
    EXPECT_EQ(Names(), "abc");
    EXPECT_EQ(Listed(), Names());
  }
  messages_.resize(2);

  Dialog().Edit1->setText("n");
  while (Chart().PartCount < kMaxArabicParts) ASSERT_TRUE(Dialog().InsertParse(0));
  EXPECT_EQ(messages_.size(), 2u);
  Dialog().Button1->click();
  EXPECT_EQ(Chart().PartCount, kMaxArabicParts);
  EXPECT_EQ(messages_.back(), E(kUiEntryPartsFull));
  EXPECT_EQ(Dialog().ComboBox6->count(), kMaxArabicParts);
  Dialog().hide();
}

TEST_F(PartsEditor, TheCommandKeepsWhatWasEditedAndClosesOnEnter) {
  ShowThree();
  Dialog().hide();
  ModalScript script({[&](QWidget*) {
    Dialog().ComboBox1->setCurrentIndex(0);   // Asc
    Dialog().ComboBox2->setCurrentIndex(13);  // Moon
    Dialog().ComboBox4->setCurrentIndex(0);   // +
    Dialog().ComboBox3->setCurrentIndex(12);  // Sun
    Dialog().ComboBox5->setCurrentIndex(1);   // -
    Dialog().Button3->click();
    Dialog().BitBtn1->click();
  }});
  Form().N140Click();
  EXPECT_EQ(script.Done(), 1u);
  const PartRecord& p = Chart().ArabicParts[0];
  EXPECT_EQ(p.Name, "a");
  EXPECT_EQ((std::vector<int>{p.A, p.B, p.SignModeB, p.C, p.SignModeC}),
            (std::vector<int>{0, 13, 0, 12, 1}));
}

}  // namespace
