// The help page: where it is looked for and how it is handed to the desktop.
#include "platform/qt/desktop.h"

#include <QFile>

#include "services_support.h"

namespace {

// Records the pages asked for instead of starting a browser.
class OpenerRecorder {
 public:
  explicit OpenerRecorder(bool answer = true) {
    previous_ = SetUrlOpener([this, answer](const QUrl& url) {
      urls.push_back(url);
      return answer;
    });
  }
  ~OpenerRecorder() { SetUrlOpener(previous_); }
  std::vector<QUrl> urls;

 private:
  UrlOpener previous_;
};

class DesktopTest : public WidgetTest {};

TEST_F(DesktopTest, HelpOpensTheShippedPageAsALocalFile) {
  OpenerRecorder opener;
  const std::string programFolder = std::string(HORARY_SOURCE_DIR) + "/data";
  ASSERT_TRUE(OpenHelp(programFolder));
  ASSERT_EQ(opener.urls.size(), 1u);
  EXPECT_TRUE(opener.urls[0].isLocalFile());
  EXPECT_EQ(opener.urls[0].toLocalFile().toStdString(),
            std::filesystem::canonical(programFolder).string() + "/Help/index.html");
}

TEST_F(DesktopTest, TheShippedPageIsRussianUtf8Html) {
  QFile file(QString::fromStdString(HelpPagePath(std::string(HORARY_SOURCE_DIR) + "/data")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const QString text = QString::fromUtf8(bytes);
  // Valid UTF-8 survives the round trip unchanged.
  EXPECT_EQ(text.toUtf8(), bytes);
  EXPECT_TRUE(text.contains("<meta charset=\"utf-8\">"));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Окно карты")));
  EXPECT_TRUE(text.contains("Options"));
}

TEST_F(DesktopTest, MissingHelpPageOrRefusingDesktopGivesFalse) {
  ScratchFolder folder;
  {
    OpenerRecorder opener;
    EXPECT_FALSE(OpenHelp(folder.Path()));
    EXPECT_TRUE(opener.urls.empty());
  }
  std::filesystem::create_directory(folder / "Help");
  folder.Write("Help/index.html", "<html></html>");
  OpenerRecorder refusing(false);
  EXPECT_FALSE(OpenHelp(folder.Path() + "/"));
  ASSERT_EQ(refusing.urls.size(), 1u);
  EXPECT_EQ(refusing.urls[0].toLocalFile().toStdString(), folder / "Help/index.html");
}

TEST_F(DesktopTest, HelpPagePathJoinsWithOneSlash) {
  EXPECT_EQ(HelpPagePath("/opt/horary"), "/opt/horary/Help/index.html");
  EXPECT_EQ(HelpPagePath("/opt/horary//"), "/opt/horary/Help/index.html");
  EXPECT_EQ(HelpPagePath("/"), "/Help/index.html");
  EXPECT_EQ(HelpPagePath(""), "Help/index.html");
}

}  // namespace
