// Saves of a database pair stopped dead and saves of two programs on one
// pair: a child process saves and is killed at each step of its save (each
// system call that changes a file, a folder or the lock), and the next load
// must give exactly the old database or exactly the new one, leave nothing
// behind, and say when it finished a save; two programs that loaded one pair
// never lose each other's charts without being asked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>

#include "engine/astromath.h"
#include "mainwindow/chartdb.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

namespace {

namespace fs = std::filesystem;

// ---- a child process stopped at one step ------------------------------------------

int stopAt = 0;                   // the step the child dies at (1 = the first)
int stepsSeen = 0;                // the steps the child has reached
int pauseOut = -1, pauseIn = -1;  // pipes of a child paused instead of killed

void KillAtStep(const char*) {
  if (++stepsSeen == stopAt) ::raise(SIGKILL);
}

// Tells the parent and waits for its word.
void PauseAtStep() {
  char byte = 1;
  if (::write(pauseOut, &byte, 1) != 1 || ::read(pauseIn, &byte, 1) != 1) ::_exit(4);
}

// Runs work in a child process that is killed at its stop-th step. True when
// the child ran to its end before reaching that step (and work succeeded).
bool RunKilledAt(int stop, const std::function<bool()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    stopAt = stop;
    stepsSeen = 0;
    SetFileStepHook(KillAtStep);
    ::_exit(work() ? 0 : 3);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) {
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    return false;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  return true;
}

// ---- databases -----------------------------------------------------------------------

DbChart Chart(const std::string& name, int day) {
  DbChart c;
  c.ChartName = Cp(name);
  c.UniversalTime = 10.5f;
  c.TimeZone = 3;
  c.JulianDay0h = JulianDay(day, 3, 2001, 0.0f);
  c.JulianDayUT = JulianDay(day, 3, 2001, c.UniversalTime);
  c.GeoLatitude = 55.75f;
  c.GeoLongitude = 37.5f;
  c.HouseCode = PackHouseCode(0, 6, 2);
  c.PlaceName = Cp("Москва");
  return c;
}

std::size_t AddChart(ChartDatabase& db, std::size_t parent, const std::string& name, int day) {
  const DbChart c = Chart(name, day);
  return InsertDbNode(db, parent, {DbNodeText(c.ChartName), 0, kDbChart}, BuildDbRecordLine(c));
}

std::size_t AddSection(ChartDatabase& db, std::size_t parent, const std::string& name) {
  return InsertDbNode(db, parent, {DbNodeText(Cp(name)), 0, kDbSection}, DbSectionLine(Cp(name)));
}

// A section per client, each holding the client's chart and a few more, and
// a sub-section whose last chart can be stored one level up without changing
// the order of the lines.
ChartDatabase Clients() {
  ChartDatabase db;
  CreateDatabase(db, Cp("Клиенты"), Cp("Раздел 1"), Cp("Раздел 1/1"));
  int day = 1;
  for (const char* client : {"Иван", "Мария", "Пётр", "Анна"}) {
    const std::size_t section = AddSection(db, 0, client);
    AddChart(db, section, client, day++);
    AddChart(db, section, std::string(client) + " 2", day++);
  }
  const std::size_t last = AddSection(db, 0, "Вопросы");
  AddChart(db, last, "Вопрос 1", 20);
  const std::size_t sub = AddSection(db, last, "Старые");
  AddChart(db, sub, "Вопрос 2", 21);
  AddChart(db, sub, "Вопрос 3", 22);
  return db;
}

bool SameDatabase(const ChartDatabase& a, const ChartDatabase& b) {
  if (a.Lines != b.Lines || a.Nodes.size() != b.Nodes.size()) return false;
  for (std::size_t i = 0; i < a.Nodes.size(); ++i)
    if (a.Nodes[i].Text != b.Nodes[i].Text || a.Nodes[i].Level != b.Nodes[i].Level ||
        a.Nodes[i].State != b.Nodes[i].State)
      return false;
  return true;
}

std::size_t NodeNamed(const ChartDatabase& db, const std::string& name) {
  for (std::size_t i = 0; i < db.Nodes.size(); ++i)
    if (db.Nodes[i].Text == Cp(name)) return i;
  return std::string::npos;
}

// The four edits a save must survive.
struct Edit {
  const char* Name;
  std::function<void(ChartDatabase&)> Apply;
};
const Edit kEdits[] = {
    {"add", [](ChartDatabase& db) { AddChart(db, NodeNamed(db, "Мария"), "Мария 3", 9); }},
    {"rename",
     [](ChartDatabase& db) {
       const std::size_t at = NodeNamed(db, "Пётр 2");
       DbChart c;
       std::string what;
       ASSERT_TRUE(ParseDbRecord(db.Lines[at], c, what));
       c.ChartName = Cp("Павел");
       db.Nodes[at].Text = c.ChartName;
       db.Lines[at] = BuildDbRecordLine(c);
     }},
    {"store one level up",
     [](ChartDatabase& db) {
       // the last chart of the last sub-section, stored in its parent: the
       // same lines in the same order, one level less
       const std::size_t at = NodeNamed(db, "Вопрос 3");
       const std::string line = db.Lines[at];
       RemoveDbSubtree(db, at);
       InsertDbNode(db, NodeNamed(db, "Вопросы"), {Cp("Вопрос 3"), 0, kDbChart}, line);
     }},
    {"section deleted", [](ChartDatabase& db) { RemoveDbSubtree(db, NodeNamed(db, "Иван")); }},
};

class PairSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // in memory where the system has a folder there: the saves flush every
    // file, and the kill test makes hundreds of them
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    folder_ = base / ("pairsave_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      std::ifstream in(entry.path(), std::ios::binary);
      files[entry.path().filename().string()] =
          std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
  }
  void PutFiles(const std::map<std::string, std::string>& files) const {
    for (const auto& entry : fs::directory_iterator(folder_)) fs::remove(entry.path());
    for (const auto& [name, bytes] : files)
      std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  fs::path folder_;
};

// A save of each edit killed at each of its steps in turn: the next load
// gives the old database or the new one, never a refusal or a mix; it says
// when it finished the save, and leaves only the pair behind. Loads killed at
// each of their own steps while they finish a save change nothing of that.
TEST_F(PairSaveTest, AKillAtEveryStepOfASaveLeavesTheOldDatabaseOrTheNew) {
  // a name long enough that the temporary names are cut
  std::string name;
  for (int i = 0; i < 110; ++i) name += "ж";
  const std::string stem = Path(name), records = stem + ".zrn";
  const ChartDatabase old = Clients();
  for (const Edit& edit : kEdits) {
    SCOPED_TRACE(edit.Name);
    ChartDatabase now = old;
    edit.Apply(now);
    ASSERT_FALSE(SameDatabase(now, old));
    int olds = 0, news = 0, finished = 0;
    for (int stop = 1;; ++stop) {
      SCOPED_TRACE("killed at step " + std::to_string(stop));
      ASSERT_LT(stop, 200);
      PutFiles({});
      ChartDatabase written = old;
      std::string message;
      ASSERT_TRUE(SaveDatabasePair(stem, written, message)) << message;
      const bool ran = RunKilledAt(stop, [&] {
        ChartDatabase copy = now;
        std::string m;
        return SaveDatabasePair(stem, copy, m);
      });
      // what the kill left, for the loads killed in their turn
      const std::map<std::string, std::string> left = Files();
      // the two temporary files say which file of the pair each holds
      for (const std::string& file : InterruptedSaveFiles(records)) {
        const std::string base = fs::path(file).filename().string();
        EXPECT_LE(base.size(), 255u);
        EXPECT_TRUE(base.find(".zrt.tmp") != std::string::npos ||
                    base.find(".zrn.tmp") != std::string::npos)
            << base;
      }
      ChartDatabase loaded;
      std::string completed;
      ASSERT_TRUE(LoadDatabasePair(records, loaded, message, &completed)) << message;
      const bool isOld = SameDatabase(loaded, old), isNew = SameDatabase(loaded, now);
      ASSERT_TRUE(isOld || isNew);
      olds += isOld;
      news += isNew;
      if (!completed.empty()) {
        ++finished;
        EXPECT_TRUE(isNew);
        // killed in its turn at each step, a load that finishes the save
        // leaves what a load again finishes the same way
        for (int loadStop = 1;; ++loadStop) {
          ASSERT_LT(loadStop, 50);
          PutFiles(left);
          if (RunKilledAt(loadStop, [&] {
                ChartDatabase db;
                std::string m;
                return LoadDatabasePair(records, db, m);
              }))
            break;
          ChartDatabase again;
          ASSERT_TRUE(LoadDatabasePair(records, again, message)) << message;
          EXPECT_TRUE(SameDatabase(again, now)) << "load killed at step " << loadStop;
        }
      }
      // settled: only the pair is left, and it loads again as it did
      EXPECT_EQ(Files().size(), 2u);
      ChartDatabase again;
      ASSERT_TRUE(LoadDatabasePair(records, again, message, &completed)) << message;
      EXPECT_TRUE(completed.empty());
      EXPECT_TRUE(SameDatabase(again, loaded));
      if (ran) {
        EXPECT_TRUE(isNew);
        break;
      }
    }
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
    EXPECT_GT(finished, 0);  // a kill between the two renames was finished by the load
  }
}

// Two programs that loaded one pair, each changing it and saving: the second
// save finds the pair changed and writes nothing until it is told to; saves
// that overlap wait for each other, so the pair is never mixed.
TEST_F(PairSaveTest, TwoProgramsOnOnePairNeverLoseAChartUnasked) {
  const std::string stem = Path("base"), records = stem + ".zrn";
  ChartDatabase base = Clients();
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(stem, base, message)) << message;

  // one after the other
  ChartDatabase a, b;
  ASSERT_TRUE(LoadDatabasePair(records, a, message)) << message;
  ASSERT_TRUE(LoadDatabasePair(records, b, message)) << message;
  AddChart(a, NodeNamed(a, "Иван"), "Анна", 3);
  AddChart(b, NodeNamed(b, "Мария"), "Борис", 4);
  PairState found;
  ASSERT_EQ(SaveDatabasePairIf(stem, a.Disk, a, found, message), SaveOutcome::Saved) << message;
  EXPECT_EQ(ReadPairState(stem), a.Disk);
  ASSERT_EQ(SaveDatabasePairIf(stem, b.Disk, b, found, message), SaveOutcome::Changed);
  EXPECT_EQ(found, a.Disk);
  EXPECT_TRUE(b.Modified);
  ChartDatabase onDisk;
  ASSERT_TRUE(LoadDatabasePair(records, onDisk, message)) << message;
  EXPECT_TRUE(SameDatabase(onDisk, a));
  // told to, with the state it was told about, it replaces the pair
  ASSERT_EQ(SaveDatabasePairIf(stem, found, b, found, message), SaveOutcome::Saved) << message;
  ASSERT_TRUE(LoadDatabasePair(records, onDisk, message)) << message;
  EXPECT_TRUE(SameDatabase(onDisk, b));
  // a pair that appeared where none was expected is asked about too
  ChartDatabase fresh = Clients();
  ASSERT_EQ(SaveDatabasePairIf(stem, PairState{}, fresh, found, message), SaveOutcome::Changed);

  // overlapping: the first program is stopped between its two renames, the
  // second one's save waits for it and then finds the pair changed
  ASSERT_TRUE(LoadDatabasePair(records, a, message)) << message;
  ASSERT_TRUE(LoadDatabasePair(records, b, message)) << message;
  AddChart(a, NodeNamed(a, "Пётр"), "Вера", 5);
  AddChart(b, NodeNamed(b, "Анна"), "Глеб", 6);
  int toParent[2], toChild[2];
  ASSERT_EQ(::pipe(toParent), 0);
  ASSERT_EQ(::pipe(toChild), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    pauseOut = toParent[1];
    pauseIn = toChild[0];
    // paused before the second rename, the tree's
    SetFileStepHook([](const char* step) {
      static int renames = 0;
      if (std::string_view(step) == "rename" && ++renames == 2) PauseAtStep();
    });
    PairState seen;
    std::string m;
    ::_exit(SaveDatabasePairIf(stem, a.Disk, a, seen, m) == SaveOutcome::Saved ? 0 : 3);
  }
  char byte = 0;
  ASSERT_EQ(::read(toParent[0], &byte, 1), 1);  // the child holds the new records, the old tree
  std::atomic<bool> done{false};
  SaveOutcome second = SaveOutcome::Failed;
  std::string secondMessage;
  std::thread other([&] {
    PairState seen;
    second = SaveDatabasePairIf(stem, b.Disk, b, seen, secondMessage);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(done);  // waiting for the lock, not writing
  ASSERT_EQ(::write(toChild[1], &byte, 1), 1);
  int status = 0;
  ::waitpid(pid, &status, 0);
  other.join();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(second, SaveOutcome::Changed) << secondMessage;
  std::string completed;
  ASSERT_TRUE(LoadDatabasePair(records, onDisk, message, &completed)) << message;
  EXPECT_TRUE(completed.empty());
  EXPECT_TRUE(SameDatabase(onDisk, a));
  EXPECT_EQ(Files().size(), 2u);
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);
}

// A load waits while another program saves the pair, and a temporary file
// that is no save's (a name that only looks like one) is never taken.
TEST_F(PairSaveTest, ALeftoverThatFitsNoRecordFileIsRemovedAndOthersAreLeftAlone) {
  const std::string stem = Path("base"), records = stem + ".zrn";
  ChartDatabase db = Clients();
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(stem, db, message)) << message;
  // a tree written for other records (its save died before them) and one
  // from an older program that is older than the tree file: both stale
  ChartDatabase other = db;
  kEdits[2].Apply(other);
  PendingFile stale, older;
  ASSERT_TRUE(WriteTextPending(stem + ".zrt", TextOfLines(BuildTreeText(other.Nodes)),
                               "0123456789abcdef", stale));
  ASSERT_TRUE(WriteLinesPending(stem + ".zrt", BuildTreeText(other.Nodes), older));
  fs::last_write_time(older.Temporary, fs::last_write_time(stem + ".zrt") - std::chrono::hours(1));
  std::ofstream(folder_ / ".base.zrt.tmp1-x") << "not a save's";
  ChartDatabase loaded;
  std::string completed;
  ASSERT_TRUE(LoadDatabasePair(records, loaded, message, &completed)) << message;
  EXPECT_TRUE(completed.empty());
  EXPECT_TRUE(SameDatabase(loaded, db));
  EXPECT_TRUE(InterruptedSaveFiles(records).empty());
  EXPECT_TRUE(fs::exists(folder_ / ".base.zrt.tmp1-x"));
  EXPECT_EQ(TemporaryFileTag(stale.Temporary), "0123456789abcdef");
}

}  // namespace
